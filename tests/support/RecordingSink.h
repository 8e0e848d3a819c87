#pragma once

#include "interchange/Interchange.h"

#include <string>
#include <vector>

namespace velloria::test {

// Turns a reader's calls into lines: "folder News", "folder News | its description", "end",
// "link Title | address | description", followed by " | added 2021.3.4" and " | visited ..." when
// the source dates the link.
class RecordingSink : public ImportSink {
public:
    std::vector<std::string> lines;

    void beginFolder(std::string_view name, std::optional<std::string_view> description) override
    {
        lines.push_back("folder " + std::string(name) + (description ? " | " + std::string(*description) : ""));
    }
    void endFolder() override { lines.emplace_back("end"); }
    void addLink(std::string_view title, std::string_view address, std::string_view description,
                 const LinkDates& dates) override
    {
        lines.push_back("link " + std::string(title) + " | " + std::string(address) + " | " + std::string(description));
        for (const auto& [name, date] : {std::pair{" | added ", dates.added}, std::pair{" | visited ", dates.visited}})
            if (date)
                lines.back() += name + formatDate(*date);
    }
    void progress(std::uint64_t, std::uint64_t) override {}
};

} // namespace velloria::test
