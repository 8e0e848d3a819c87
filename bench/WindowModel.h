#pragma once

#include "LibraryGenerator.h"

#include "mainwindow/MainWindowModel.h"
#include "platform/UrlOpener.h"
#include "tools/Sort.h"

namespace velloria::bench {

// The window model as the program makes it, sorting by title like a user who chose that.
struct WindowModel {
    explicit WindowModel(const std::filesystem::path& home) : model(home, clock, opener, home)
    {
        model.preferences().SetDefaultPreferences();
        model.preferences().record().SortMode = static_cast<int>(SortMode::Title);
    }
    const FixedClock clock{kBenchmarkToday};
    RecordingUrlOpener opener;
    MainWindowModel model;
};

} // namespace velloria::bench
