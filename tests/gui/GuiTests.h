#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace velloria::test {

// The test classes of this program, each registered with VELLORIA_GUI_TEST and run in turn.
std::vector<std::function<std::unique_ptr<QObject>()>>& guiTests();

struct GuiTestRegistration {
    explicit GuiTestRegistration(std::function<std::unique_ptr<QObject>()> make) { guiTests().push_back(std::move(make)); }
};

} // namespace velloria::test

#define VELLORIA_GUI_TEST(Class) \
    static const velloria::test::GuiTestRegistration registered##Class([] { return std::make_unique<Class>(); });
