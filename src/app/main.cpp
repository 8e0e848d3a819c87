// The Velloria program: the main window over the library in the home directory.

#include "mainwindow/MainForm.h"
#include "mainwindow/MainWindowModel.h"
#include "mainwindow/SingleInstance.h"
#include "platform/Clock.h"
#include "platform/HomeDirectory.h"
#include "platform/QtText.h"
#include "settings/HomeSetup.h"
#include "store/Error.h"
#include "store/FileIO.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>

namespace {

namespace fs = std::filesystem;
using namespace velloria;

const QString kCaption = QStringLiteral("Velloria");

// Outside a desktop session Qt knows no icon theme; Adwaita is the one most systems have.
void useIconTheme()
{
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
}

int runMainWindow(const fs::path& home, SingleInstance& instance)
{
    SystemClock clock;
    MainWindowModel model(home, clock);
    MainForm form(model);
    instance.showOnRequest(&form);
    // Shown first, so that a loading error appears over what could be read.
    form.show();
    form.run([&] {
        prepareHome(home);
        removeStaleTemporaryFiles(home / "RefLib");
        removeStaleTemporaryFiles(home / "RefLib" / "Links");
        model.loadLibrary(RestoreFolderStates::Yes);
    });
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

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(kCaption);
    QApplication::setOrganizationName(kCaption);
    useIconTheme();
    try {
        return runProgram();
    } catch (const Error& error) {
        QMessageBox::critical(nullptr, kCaption, toQString(error.what()));
        return 1;
    }
}
