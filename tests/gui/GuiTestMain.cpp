#include "GuiTests.h"

#include <QApplication>
#include <QTest>

std::vector<std::function<std::unique_ptr<QObject>()>>& velloria::test::guiTests()
{
    static std::vector<std::function<std::unique_ptr<QObject>()>> tests;
    return tests;
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int failures = 0;
    for (const auto& make : velloria::test::guiTests())
        failures += QTest::qExec(make().get(), argc, argv);
    return failures == 0 ? 0 : 1;
}
