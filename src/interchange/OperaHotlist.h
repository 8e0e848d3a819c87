#pragma once

#include "interchange/Interchange.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velloria {

// The hotlist: a text file of entries, each a header line ("#FOLDER", "#URL", ...) followed by
// "KEY=value" field lines; a line "-" closes the folder last opened.

// What a hotlist reading found: folders and links passed to the sink, and links left out
// (an address that is not a web address, or an entry cut off by the end of the file).
struct HotlistReadStats {
    std::size_t folders = 0;
    std::size_t links = 0;
    std::size_t skippedLinks = 0;
    bool operator==(const HotlistReadStats&) const = default;
};

// Reads the hotlist's bytes into the sink, leniently: unknown entries and fields are skipped,
// folders left open at the end of the file are left to the sink.
HotlistReadStats readOperaHotlist(std::string_view bytes, ImportSink& sink);

// Reads the hotlist file into the sink; a missing file gives nothing.
void ImportOperaHotlist(const std::filesystem::path& path, ImportSink& sink);

// The hotlist bytes of the folders in tree order with their links, every line ended by CR LF.
// progress(i + 1, n) is called after each folder.
std::string writeOperaHotlist(const std::vector<ExportFolder>& folders, const ReadExportLinksFunction& readLinks,
                              const ProgressFunction& progress = {});

} // namespace velloria
