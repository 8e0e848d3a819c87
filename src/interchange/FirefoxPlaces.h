#pragma once

#include "interchange/Interchange.h"

#include <filesystem>

namespace velloria {

// Firefox's bookmarks: the SQLite database "places.sqlite" of a profile. moz_bookmarks holds the
// tree (type 1 a bookmark, 2 a folder, 3 a separator; "parent" and "position" give the order;
// dateAdded in microseconds since 1970), moz_places the addresses and last visits, moz_keywords
// the keywords; tags are folders below the tags root whose bookmarks point at the tagged places.

// Reads the database into the sink: the roots menu, toolbar, other and mobile that hold anything
// as folders ("Bookmarks Menu", ...), below them the folders and bookmarks in Firefox's order,
// with their add dates and last visits; tags and keywords go into the description ("Tags: a,
// b; Keyword: k"). Skipped: separators (not counted), place: queries (counted as not a web
// address), bookmarks without an address.
//
// A running Firefox holds its database locked and keeps recent changes in its write-ahead log
// ("places.sqlite-wal") until it writes them back. So the database and its log are copied
// together into a temporary folder (again if either changed while being copied) and the copy is
// read, which takes in what the log holds. Everything is read before the sink hears of it: a
// database that cannot be read throws an Error naming the fault, and the sink receives nothing.
ImportCounts ImportFirefoxPlaces(const std::filesystem::path& database, ImportSink& sink);

} // namespace velloria
