#pragma once

#include "base/Clock.h"
#include "mainwindow/MainWindowModel.h"
#include "platform/UrlOpener.h"
#include "store/Library.h"
#include "support/LibraryFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velloria::test {

using Lines = std::vector<std::string>;

// A fresh home, a fixed day (2026.12.5) and a library over the home (which writes nothing until used).
class HomeTest : public ::testing::Test {
protected:
    // Writes Tessel.cfg with the lines given.
    void writePreferences(std::initializer_list<std::string_view> lines) const
    {
        writeBytes(home.path() / "Tessel.cfg", crlf(lines));
    }
    // "Title Address" for each link of a folder's link file (suffix ".wnl" or ".~wnl").
    Lines linksOf(const std::string& folder, const std::string& suffix = ".wnl") const
    {
        return linkLines(home.read("Links/" + folder + suffix));
    }

    TempHome home;
    FixedClock clock{{2026, 12, 5}};
    Library library{home.path(), clock};
};

// The library the window tests start from, saved:
//   Top > A > A1, A2;  Top > B (links zeta, Alpha, mid);  Other (no link file)
SmallLibrary sampleLibrary();

// A view that keeps the messages and questions of the model; questions are cancelled.
class MessageView : public MainWindowObserver {
public:
    void message(const std::string& text) override { messages.push_back(text); }
    Answer ask(const std::string& question) override
    {
        questions.push_back(question);
        return Answer::Cancel;
    }
    Lines messages;
    Lines questions;
};

// A window model over a home holding the sample library; the test opens it.
class WindowTest : public HomeTest {
protected:
    WindowTest()
    {
        writeLibrary(home, sampleLibrary());
        model.setObserver(&view);
    }
    // Writes the preferences and opens the window on the library.
    void open(std::initializer_list<std::string_view> preferences)
    {
        writePreferences(preferences);
        model.lifecycle().FormCreate();
    }
    // The tree as lines, a dot per level before each name.
    Lines tree() const;
    // The titles of the list shown.
    Lines titles() const;

    RecordingUrlOpener opener;
    MessageView view;
    MainWindowModel model{home.path(), clock, opener, "/home/user"};
};

} // namespace velloria::test
