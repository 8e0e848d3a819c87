#pragma once

#include "interchange/Interchange.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velloria {

// The bookmark HTML file ("NETSCAPE-Bookmark-file-1") that browsers import and export.

// Reads a bookmark HTML file's bytes into the sink: every <H3> with its <DL> list as a folder,
// every <A HREF> as a link with the text of a following <DD> as its description. Texts reach the
// sink as UTF-8 with entities decoded and without line breaks. Takes what real browsers write:
// any letter case, tags sharing lines, missing or unbalanced lists, legacy character sets.
// Skipped and counted: unknown tags, links without an address, and an <A> or <H3> tag that the
// end of the file cuts off.
ImportCounts readNetscapeFile(std::string_view bytes, ImportSink& sink);

// Reads the file at path into the sink. A missing file imports nothing and leaves the sink
// untouched; a file that cannot be read throws the Error of readFile.
ImportCounts ImportNetscapeFile(const std::filesystem::path& path, ImportSink& sink);

// The whole bookmark HTML file for the folders (tree order) and their links, every line ended by
// CR LF. Calls progress(i + 1, folders.size()) after folder i when set.
std::string writeNetscapeFile(const std::vector<ExportFolder>& folders, const ReadExportLinksFunction& readLinks,
                              const ProgressFunction& progress = {});

} // namespace velloria
