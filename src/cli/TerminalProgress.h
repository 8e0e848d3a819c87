#pragma once

#include "cli/CommandLineTool.h"
#include "interchange/Interchange.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

namespace velloria {

// A bar on a terminal for work that takes longer than a moment; nothing for a quick one or
// when the error stream is not a terminal.
class TerminalProgress {
public:
    explicit TerminalProgress(const CommandLineContext& context) : m_context(context) {}
    ~TerminalProgress()
    {
        if (m_drawn)
            m_context.err << '\r' << std::string(kWidth + 32, ' ') << '\r' << std::flush;
    }

    ProgressFunction function()
    {
        if (!m_context.errIsTerminal)
            return {};
        return [this](std::uint64_t done, std::uint64_t total) { draw(done, total); };
    }

private:
    static constexpr std::size_t kWidth = 40;

    void draw(std::uint64_t done, std::uint64_t total)
    {
        const auto now = std::chrono::steady_clock::now();
        if (now - m_start < std::chrono::milliseconds(300) || now - m_last < std::chrono::milliseconds(50))
            return;
        m_last = now;
        m_drawn = true;
        if (total == 0) {
            m_context.err << "\r" << done << " ..." << std::flush;
            return;
        }
        const std::size_t filled = static_cast<std::size_t>(kWidth * std::min(done, total) / total);
        m_context.err << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, ' ') << "] "
                      << (100 * std::min(done, total) / total) << "% " << done << '/' << total << std::flush;
    }

    const CommandLineContext& m_context;
    const std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point m_last{};
    bool m_drawn = false;
};

} // namespace velloria
