// The Velloria program: the main window over the library in the home directory.

#include "base/Clock.h"
#include "base/Error.h"
#include "gui/ImageList.h"
#include "gui/MainForm.h"
#include "gui/QtText.h"
#include "gui/SingleInstance.h"
#include "mainwindow/MainWindowModel.h"
#include "platform/FileIO.h"
#include "platform/HomeDirectory.h"
#include "platform/UrlOpener.h"
#include "settings/HomeSetup.h"

#include <QApplication>
#include <QMessageBox>

#include <cstring>
#include <iostream>

namespace {

namespace fs = std::filesystem;
using namespace velloria;

const QString kCaption = QStringLiteral("Velloria");

int runMainWindow(const fs::path& home, SingleInstance& instance)
{
    SystemClock clock;
    DesktopUrlOpener opener;
    MainWindowModel model(home, clock, opener, userHomeDirectory());
    MainForm form(model);
    instance.showOnRequest(&form);
    form.run([&] { startHome(home, HomeHeld::Yes); });
    // The start takes the remembered bounds before the window shows; an error of the start
    // shows the window first and appears over what could be loaded.
    form.run([&] { model.lifecycle().FormCreate(); });
    form.showAtStart();
    // Closing the window wrote the preferences (FormDestroy) while it still had its measures.
    return QApplication::exec();
}

int runProgram()
{
    const fs::path home = resolveHomeDirectory(programDirectory());
    SingleInstance instance(home);
    switch (instance.start()) {
    case SingleInstance::Start::Run:
        return runMainWindow(home, instance);
    case SingleInstance::Start::HandedOver:
        return 0;
    case SingleInstance::Start::NoAnswer:
        break;
    }
    throw Error("The library in \"" + home.string() + "\" is in use by another program; try again in a moment");
}

const char* const kUsage =
    "Usage: velloria [--help | --version]\n"
    "\n"
    "Velloria, a bookmark manager: the folders and links of the library in the home directory\n"
    "(the program's directory when it holds RefLib or Tessel.cfg, else $XDG_DATA_HOME/velloria,\n"
    "by default ~/.local/share/velloria). Started while it runs on the same home, it brings that\n"
    "window to the front. Qt's own options (such as -platform, -style) are taken as well.\n"
    "\n"
    "  -h, --help     this text\n"
    "  --version      the version of Velloria\n"
    "\n"
    "The command-line tool velloria-cli works on the same library; see velloria-cli --help.\n";

// Answers --help and --version, which need no display; -1 when the program is to start.
int answerInformationOptions(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::cout << kUsage;
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << "velloria " VELLORIA_VERSION "\n";
            return 0;
        }
    }
    return -1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (const int status = answerInformationOptions(argc, argv); status >= 0)
        return status;
    QApplication app(argc, argv);
    // What Qt did not take as its own option is a mistake, told before any window shows.
    if (const QStringList rest = QApplication::arguments().mid(1); !rest.isEmpty()) {
        std::cerr << "velloria: unknown argument " << rest.first().toStdString() << "\n\n" << kUsage;
        return 2;
    }
    QApplication::setApplicationName(kCaption);
    QApplication::setOrganizationName(kCaption);
    QApplication::setWindowIcon(applicationIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral(VELLORIA_APP_ID));
    try {
        return runProgram();
    } catch (const Error& error) {
        QMessageBox::critical(nullptr, kCaption, toQString(error.what()));
        return 1;
    }
}
