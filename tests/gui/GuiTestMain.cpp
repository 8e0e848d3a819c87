#include "GuiTests.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int failures = 0;
    for (auto run : {runQtColorTests, runItemModelsTests, runMainFormTests, runCommandsTests, runEditingDialogsTests,
                     runToolDialogsTests, runHtmlDialogTests, runInterchangeDialogsTests, runPreferencesFormTests,
                     runLifecycleTests, runSingleInstanceTests, runTrayTests})
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
