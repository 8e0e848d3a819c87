#pragma once

// The test classes of this program, each run by GuiTestMain with QTest::qExec.
int runCommandsTests(int argc, char** argv);
int runEditingDialogsTests(int argc, char** argv);
int runHtmlDialogTests(int argc, char** argv);
int runInterchangeDialogsTests(int argc, char** argv);
int runItemModelsTests(int argc, char** argv);
int runLifecycleTests(int argc, char** argv);
int runMainFormTests(int argc, char** argv);
int runPreferencesFormTests(int argc, char** argv);
int runQtColorTests(int argc, char** argv);
int runSingleInstanceTests(int argc, char** argv);
int runToolDialogsTests(int argc, char** argv);
int runTrayTests(int argc, char** argv);
