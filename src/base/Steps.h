#pragma once

#include "base/Error.h"

#include <string>

namespace velloria {

// Runs every step, reporting the errors of all of them, joined by lines, after the last step
// has run: a failed step does not keep the ones after it from running.
class Steps {
public:
    template <typename Step> void run(Step&& step)
    {
        try {
            step();
        } catch (const Error& error) {
            m_errors += m_errors.empty() ? error.what() : std::string("\n") + error.what();
        }
    }
    void finish() const
    {
        if (!m_errors.empty())
            throw Error(m_errors);
    }

private:
    std::string m_errors;
};

} // namespace velloria
