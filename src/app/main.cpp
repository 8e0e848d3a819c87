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
#include "base/Error.h"

#include <QApplication>
#include <QMessageBox>

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

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(kCaption);
    QApplication::setOrganizationName(kCaption);
    QApplication::setWindowIcon(applicationIcon());
    try {
        return runProgram();
    } catch (const Error& error) {
        QMessageBox::critical(nullptr, kCaption, toQString(error.what()));
        return 1;
    }
}
