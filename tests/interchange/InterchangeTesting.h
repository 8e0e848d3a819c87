#pragma once

#include "interchange/Interchange.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace velloria::test {

// Turns a reader's calls into lines: "folder News", "end", "link Title | address | description".
class RecordingSink : public ImportSink {
public:
    std::vector<std::string> lines;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> progressCalls;

    void beginFolder(std::string_view name) override { lines.push_back("folder " + std::string(name)); }
    void endFolder() override { lines.emplace_back("end"); }
    void addLink(std::string_view title, std::string_view address, std::string_view description) override
    {
        lines.push_back("link " + std::string(title) + " | " + std::string(address) + " | " + std::string(description));
    }
    void progress(std::uint64_t done, std::uint64_t total) override { progressCalls.emplace_back(done, total); }
};

// Links by folder name, as the library would give them to a writer.
inline ReadExportLinksFunction linksOf(std::map<std::string, std::vector<ExportLink>> links)
{
    return [links = std::move(links)](const std::string& folder) {
        const auto it = links.find(folder);
        return it == links.end() ? std::vector<ExportLink>() : it->second;
    };
}

} // namespace velloria::test
