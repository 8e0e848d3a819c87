#pragma once

#include "support/Fixtures.h"

namespace velloria::test {

// A view that records what the model tells it and answers its questions as the test says.
class RecordingView : public MainWindowObserver {
public:
    void folderTreeReset() override { notices.push_back("tree reset"); }
    void captionsChanged() override { notices.push_back("captions"); }
    void layoutPreferencesChanged() override { notices.push_back("layout"); }
    void coloursChanged() override { notices.push_back("colours"); }
    void autoSaveTimerChanged() override { notices.push_back("timer"); }
    void aboutBoxRequested() override { notices.push_back("about"); }
    void dialogRequested(DialogKind kind) override
    {
        const char* names[] = {"new item", "edit item", "delete", "find", "statistics", "duplicates", "check links", "import", "export",
                               "html", "preferences"};
        notices.push_back(std::string("dialog ") + names[static_cast<int>(kind)]);
    }
    void focusRequested(Pane pane) override { notices.push_back(pane == Pane::Tree ? "focus tree" : "focus list"); }
    Answer ask(const std::string& question) override
    {
        questions.push_back(question);
        return answer;
    }

    Lines notices;
    Lines questions;
    Answer answer = Answer::Cancel;
};

// The window model over the sample library, heard by a recording view.
class MainWindowFixture : public WindowTest {
protected:
    MainWindowFixture() { model.setObserver(&recorder); }

    bool preferenceLine(const std::string& line) const
    {
        return readBytes(home.path() / "Tessel.cfg").find("\r\n" + line + "\r\n") != std::string::npos;
    }
    // The window started, the tree entered, and this folder shown.
    void show(std::size_t folder)
    {
        model.lifecycle().FormCreate();
        model.tree().trvFoldersEnter();
        model.tree().selectFolder(folder);
    }
    // Names of the disabled (or ticked) commands, in table order, with a space between.
    static std::string commandNames(const CommandStates& states, bool ticked = false)
    {
        std::string names;
        for (const CommandInfo& info : commandTable())
            if (ticked ? states.isChecked(info.command) : !states.isEnabled(info.command))
                names += (names.empty() ? "" : " ") + std::string(info.name);
        return names;
    }
    std::string disabledCommands() const { return commandNames(model.commandStates()); }
    Lines panels() const
    {
        Lines texts;
        for (std::size_t i = 0; i < 4; ++i)
            texts.push_back(model.statusBar().text(i));
        return texts;
    }

    RecordingView recorder;
};

} // namespace velloria::test
