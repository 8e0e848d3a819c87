#pragma once

#include "interchange/Interchange.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velloria {

// The hotlist: a text file of entries, each a header line ("#FOLDER", "#URL", ...) followed by
// "KEY=value" field lines; a line "-" closes the folder last opened.

// Reads the hotlist's bytes into the sink, leniently: unknown fields are ignored, folders left
// open at the end of the file are left to the sink. Skipped and counted: entries of an unknown
// kind (separators are known and have nothing to import), links without an address or with one
// that is not a web address, and an entry cut off by the end of the file.
ImportCounts readOperaHotlist(std::string_view bytes, ImportSink& sink);

// Reads the hotlist file into the sink; a missing file gives nothing.
ImportCounts ImportOperaHotlist(const std::filesystem::path& path, ImportSink& sink);

// The hotlist bytes of the folders in tree order with their links, every line ended by CR LF.
// progress(i + 1, n) is called after each folder.
std::string writeOperaHotlist(const std::vector<ExportFolder>& folders, const ReadExportLinksFunction& readLinks,
                              const ProgressFunction& progress = {});

} // namespace velloria
