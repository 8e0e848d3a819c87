#pragma once

#include "interchange/Interchange.h"

#include <filesystem>
#include <string_view>

namespace velloria {

// The "Bookmarks" file of a Chromium-based browser's profile (Chrome, Chromium, Brave, Edge,
// Vivaldi): JSON with the roots "bookmark_bar", "other" and "synced", each a folder of "url" and
// "folder" nodes; dates are microseconds since 1601-01-01 UTC, as decimal text.

// Reads the file's bytes into the sink: each root with anything in it as a folder (named as the
// browser named it), below it the folders and links in their order, with their add dates and
// the date last used. The whole file is read first: a damaged one (not JSON, or without
// "roots") throws an Error naming the fault, and the sink receives nothing. Skipped and counted:
// nodes of an unknown type, links without an address.
ImportCounts readChromiumBookmarks(std::string_view bytes, ImportSink& sink);

// Reads the file into the sink; a missing file throws "Cannot open file ...".
ImportCounts ImportChromiumBookmarks(const std::filesystem::path& path, ImportSink& sink);

// The local date of a Chromium time text (microseconds since 1601-01-01 UTC); nullopt for "0",
// an empty text or anything not a number.
std::optional<Date> chromiumDate(std::string_view microsecondsSince1601);

} // namespace velloria
