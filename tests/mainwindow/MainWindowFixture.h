#pragma once

#include "base/Clock.h"
#include "mainwindow/MainWindowModel.h"
#include "platform/UrlOpener.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace velloria::test {

// A view that records what the model tells it and answers its questions as the test says.
class RecordingView : public MainWindowObserver {
public:
    void folderTreeReset() override { notices.push_back("tree reset"); }
    void linkListReset() override { notices.push_back("list reset"); }
    void captionsChanged() override { notices.push_back("captions"); }
    void layoutPreferencesChanged() override { notices.push_back("layout"); }
    void autoSaveTimerChanged() override { notices.push_back("timer"); }
    void aboutBoxRequested() override { notices.push_back("about"); }
    void dialogRequested(DialogKind kind) override
    {
        notices.push_back(kind == DialogKind::NewItem    ? "dialog new item"
                          : kind == DialogKind::EditItem ? "dialog edit item"
                                                         : "dialog delete");
    }
    void focusRequested(Pane pane) override { notices.push_back(pane == Pane::Tree ? "focus tree" : "focus list"); }
    Answer ask(const std::string& question) override
    {
        questions.push_back(question);
        return answer;
    }
    std::optional<WindowGeometry> windowGeometry() const override { return geometry; }

    std::vector<std::string> notices;
    std::vector<std::string> questions;
    Answer answer = Answer::Cancel;
    std::optional<WindowGeometry> geometry;
};

// A link file of links with these titles, addresses and descriptions, no dates.
inline std::string linkFile(std::initializer_list<std::array<std::string_view, 3>> links)
{
    std::string bytes;
    for (const auto& [title, address, description] : links)
        bytes += crlf({"0 " + std::string(title), "1 " + std::string(address), "2 ", "3 ", "4 " + std::string(description)});
    return bytes;
}

// A main window model over a fresh home with a small library:
//   Top (2 subfolders) > A (2 subfolders) > A1, A2; Top > B (3 links); Other (no link file)
class MainWindowFixture : public ::testing::Test {
protected:
    MainWindowFixture()
    {
        home.write("folders.wnf", crlf({"Top", "\tA", "\t\tA1", "\t\tA2", "\tB", "Other"}));
        home.write("folders.~wnf", crlf({"Top", "\tA", "\t\tA1", "\t\tA2", "\tB", "Other"}));
        home.write("folddesc.wnf", crlf({"Top", "The top", "B", "Bee"}));
        home.write("folddesc.~wnf", crlf({"Top", "The top", "B", "Bee"}));
        home.write("Links/B.wnl", crlf({"0 zeta", "1 https://z.example/", "2 ", "3 2026.1.3", "4 last by title",
                                        "0 Alpha", "1 a.example/path", "2 2026.10.1", "3 2026.1.1", "4 first by title",
                                        "0 mid", "1 mailto:mid@example.org", "2 2026.9.30", "3 2026.1.2",
                                        "4 middle"}));
        home.write("Links/B.~wnl", home.read("Links/B.wnl"));
        model.setObserver(&view);
    }

    void writePreferences(std::initializer_list<std::string_view> lines) const
    {
        std::ofstream(home.path() / "Tessel.cfg", std::ios::binary) << crlf(lines);
    }
    // A file relative to the home (not to its library); "<missing>" when it does not exist.
    std::string homeFile(const std::filesystem::path& relative) const
    {
        std::ifstream in(home.path() / relative, std::ios::binary);
        return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
    }
    // The preferences file holds this entry line.
    bool preferenceLine(const std::string& line) const
    {
        return homeFile("Tessel.cfg").find("\r\n" + line + "\r\n") != std::string::npos;
    }
    // The window started, the tree entered, and this folder shown.
    void show(std::size_t folder)
    {
        model.lifecycle().FormCreate();
        model.tree().trvFoldersEnter();
        model.tree().selectFolder(folder);
    }

    // Names of the disabled commands, in table order.
    std::vector<std::string> disabledCommands() const
    {
        std::vector<std::string> names;
        for (const CommandInfo& info : commandTable())
            if (!model.commandStates().isEnabled(info.command))
                names.emplace_back(info.name);
        return names;
    }

    // The tree as lines, a dot per level before each name.
    std::vector<std::string> tree() const
    {
        std::vector<std::string> lines;
        for (const auto& folder : model.library().folderTree().records())
            lines.push_back(std::string(static_cast<std::size_t>(folder.Level), '.') + folder.Name);
        return lines;
    }

    std::vector<std::string> titles() const
    {
        std::vector<std::string> result;
        for (const TLinkRecord& link : model.library().linkList())
            result.push_back(link.Title);
        return result;
    }

    std::array<std::string, 4> panels() const
    {
        return {model.statusBar().text(0), model.statusBar().text(1), model.statusBar().text(2), model.statusBar().text(3)};
    }

    TempHome home;
    FixedClock clock{{2026, 12, 5}};
    RecordingUrlOpener opener;
    RecordingView view;
    MainWindowModel model{home.path(), clock, opener, "/home/user"};
};

} // namespace velloria::test
