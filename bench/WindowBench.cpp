// velloria-window-bench: the main window itself on a generated library. How long the program
// takes from creating its window to showing it, and how long the window takes to show the big
// folder, sorted, after a click, and how long it takes to move a link in it. Runs offscreen unless
// a display is given.

#include "LibraryGenerator.h"
#include "Measure.h"

#include "gui/MainForm.h"
#include "mainwindow/MainWindowModel.h"
#include "platform/FileIO.h"
#include "platform/UrlOpener.h"

#include <QApplication>
#include <QTableView>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace velloria;
using namespace velloria::bench;

constexpr int kRuns = static_cast<int>(kMinimumRuns);

void expect(bool condition, const std::string& failure)
{
    if (!condition)
        throw std::runtime_error(failure);
}

// The rows the window's link list shows.
int listRows(MainForm& form)
{
    return form.findChild<QTableView*>(QStringLiteral("lvReferences"))->model()->rowCount();
}

struct Window {
    explicit Window(const fs::path& home) : model(home, clock, opener, home), form(model) {}
    FixedClock clock{kBenchmarkToday};
    RecordingUrlOpener opener;
    MainWindowModel model;
    MainForm form;
};

// From nothing to a painted window: preferences, texts, library, the remembered folder.
double startAndShow(const fs::path& home, const LibraryPlan& plan)
{
    std::unique_ptr<Window> window;
    const double time = millisecondsOf([&] {
        window = std::make_unique<Window>(home);
        window->model.lifecycle().FormCreate();
        window->form.show();
        if (!QTest::qWaitForWindowExposed(&window->form))
            throw std::runtime_error("the window did not show");
        QCoreApplication::processEvents();
    });
    expect(listRows(window->form) == static_cast<int>(plan.linkCounts[plan.selectedFolder]),
           "the started window shows another link count");
    window->form.close();
    return time;
}

double showBigFolder(Window& window, std::size_t big, std::size_t links)
{
    window.model.tree().selectFolder(1); // away first, so that each run loads the big folder anew
    QCoreApplication::processEvents();
    const double time = millisecondsOf([&] {
        window.model.tree().selectFolder(big);
        window.form.repaint();
        QCoreApplication::processEvents();
    });
    expect(listRows(window.form) == static_cast<int>(links), "the window shows another link count");
    return time;
}

// Moves the middle link of the big folder, unsorted, one place down and back: the list's view
// should hear which row moved and keep its rows; resets counts the times it was reset instead.
double moveLinkInBigFolder(Window& window, std::size_t big, int& resets)
{
    if (window.model.tree().selectedFolder() != big)
        window.model.tree().selectFolder(big);
    if (!window.model.commandStates().isChecked(Command::ViewUnsorted))
        window.model.execute(Command::ViewUnsorted);
    const std::size_t middle = window.model.library().linkList().size() / 2;
    window.model.list().lvReferencesEnter();
    window.model.list().selectRows({middle}, middle);
    QCoreApplication::processEvents();
    const auto* list = window.form.findChild<QTableView*>(QStringLiteral("lvReferences"))->model();
    const std::string moved = window.model.library().linkList()[middle].Address;
    const QMetaObject::Connection counting =
        QObject::connect(list, &QAbstractItemModel::modelReset, [&resets] { ++resets; });
    const double time = millisecondsOf([&] {
        window.model.list().lvReferencesEnter(); // the model's focus, whatever the offscreen window did
        window.model.execute(Command::EditMoveDown);
        window.form.repaint();
        QCoreApplication::processEvents();
    });
    QObject::disconnect(counting);
    expect(window.model.library().linkList()[middle + 1].Address == moved, "the link was not moved down");
    window.model.list().lvReferencesEnter();
    window.model.execute(Command::EditMoveUp); // the next run moves the same link again
    QCoreApplication::processEvents();
    return time;
}

bool g_rows = false; // --rows: one tab-separated row per benchmark, for velloria-bench --report

// resets: for an edit, the times its view was reset; any is a missed target.
void report(const std::string& name, std::vector<double> times, double target, std::optional<int> resets = {})
{
    const double first = times.front();
    const double typical = median(times);
    const bool reset = resets && *resets > 0;
    if (g_rows) {
        std::printf("%s%s\t%.3f\t%.3f\t%zu\t%.1f\t%.0f\n", name.c_str(), reset ? " (the view was reset)" : "", typical,
                    first, times.size(), peakResidentMegabytes(), target);
        return;
    }
    const std::string resetText = resets ? "   view resets: " + std::to_string(*resets) : "";
    std::printf("%-38s %8.1f ms (median of %zu; first %.1f)   target < %.0f ms   %s%s\n", name.c_str(), typical,
                times.size(), first, target, first < target && typical < target && !reset ? "ok" : "MISSED",
                resetText.c_str());
}

int run(const fs::path& home, const LibraryPlan& plan)
{
    fs::create_directories(home);
    writeLibrary(home, plan);
    // A user who sorts by title and has the program remember the folders' states.
    writeFileAtomically(home / "Tessel.cfg", "/// Preferences\r\n000 1.0\r\n012 True\r\n040 0\r\n");
    ::sync(); // the library's writing back is not timed as the window's
    if (!g_rows)
        std::cout << "library: " << plan.folders.size() << " folders, " << formatCount(plan.linkCount())
              << " links; the remembered folder holds " << plan.linkCounts[plan.selectedFolder] << "\n";

    std::vector<double> starts;
    for (int run = 0; run < kRuns; ++run)
        starts.push_back(startAndShow(home, plan));
    report("start the program to a shown window", starts, 400);

    Window window(home);
    window.model.lifecycle().FormCreate();
    window.form.show();
    if (!QTest::qWaitForWindowExposed(&window.form))
        return 1;
    const std::size_t big = window.model.library().folderTree().findExact(kBigFolderName);
    std::vector<double> shows;
    for (int run = 0; run < kRuns; ++run)
        shows.push_back(showBigFolder(window, big, plan.linkCounts[plan.bigFolder]));
    report("show the " + formatCount(plan.linkCounts[plan.bigFolder]) + "-link folder in the window, sorted", shows, 100);
    std::vector<double> moves;
    int resets = 0;
    for (int run = 0; run < kRuns; ++run)
        moves.push_back(moveLinkInBigFolder(window, big, resets));
    report("move a link in the " + formatCount(plan.linkCounts[plan.bigFolder]) + "-link folder", moves, 16, resets);
    window.model.lifecycle().saveLibrary(); // the moves are kept, so that closing asks nothing
    window.form.close();
    fs::remove_all(home);
    return 0;
}

} // namespace

// The offscreen platform warns of every window it cannot resize as asked, and a bare session
// of its missing runtime directory; neither says anything about the figures.
void quietOffscreen(QtMsgType, const QMessageLogContext&, const QString& message)
{
    if (!message.contains(QLatin1String("propagateSizeHints")) && !message.contains(QLatin1String("XDG_RUNTIME_DIR")))
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

int main(int argc, char** argv)
{
    qInstallMessageHandler(quietOffscreen);
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    fs::path home = fs::temp_directory_path() / ("velloria-window-bench-" + std::to_string(::getpid()));
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--rows") {
            g_rows = true;
        } else if (argument == "--dir" && i + 1 < argc) {
            home = argv[++i];
        } else {
            std::cerr << "Usage: velloria-window-bench [--rows] [--dir PATH]\n";
            return 2;
        }
    }
    try {
        return run(home, planLibrary({}));
    } catch (const std::exception& error) {
        std::cerr << "velloria-window-bench: " << error.what() << '\n';
        return 1;
    }
}

