#pragma once

// The test classes of this program, each run by GuiTestMain with QTest::qExec.
int runItemModelsTests(int argc, char** argv);
int runMainFormTests(int argc, char** argv);
int runSingleInstanceTests(int argc, char** argv);
