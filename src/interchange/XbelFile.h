#pragma once

#include "interchange/Interchange.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velloria {

// XBEL, the XML bookmark exchange format of the Linux desktops: <folder> and <bookmark href>
// elements nested in <xbel>, each with a <title> and a <desc>; the dates in the attributes
// "added" and "visited" (ISO 8601).

// Reads an XBEL document into the sink. The whole document is read first: a damaged one (not
// well-formed XML, or without an <xbel> root) throws an Error naming the fault and its place,
// and the sink receives nothing. Texts reach the sink as UTF-8 on one line each. Skipped and
// counted: elements the format does not know (and aliases, which only point at another
// bookmark), bookmarks without an address. Separators are known and have nothing to import.
ImportCounts readXbelFile(std::string_view bytes, ImportSink& sink);

// Reads the file into the sink; a missing file throws "Cannot open file ...".
ImportCounts ImportXbelFile(const std::filesystem::path& path, ImportSink& sink);

// The description of a folder by its name.
using FolderDescriptionFunction = std::function<std::string(const std::string& folderName)>;

// The XBEL document of the folders (tree order) with their descriptions and links, UTF-8,
// indented, every text escaped; characters that XML cannot carry (control characters) are left
// out. Dates are written as "YYYY-MM-DD". Calls progress(i + 1, folders.size()) after folder i.
// The document comes in parts (the head, each top-level folder, the end), to be written one after
// another.
std::vector<std::string> writeXbelFile(const std::vector<ExportFolder>& folders, const ReadExportLinksFunction& readLinks,
                          const FolderDescriptionFunction& folderDescription, const ProgressFunction& progress = {});

// The local date of an ISO 8601 date or date and time ("2024-03-07", "2024-03-07T23:30:00Z",
// "2024-03-07T10:00:00+02:00"); a time with a zone is converted to the local date. nullopt for
// anything else.
std::optional<Date> parseIsoDate(std::string_view text);

} // namespace velloria
