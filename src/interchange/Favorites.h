#pragma once

#include "interchange/Interchange.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velloria {

// The favorites directory: folders are directories, a link is an Internet shortcut file
// "<title>.url", an INI file whose [InternetShortcut] section holds URL=<address>.

// The address of a shortcut file: the value of URL in the section InternetShortcut (section and
// key in any case), trimmed; "" when there is none. The file may be UTF-8 (with or without a
// byte order mark) or UTF-16LE with its byte order mark.
std::string readShortcutAddress(std::string_view urlFileBytes);

// The bytes of the shortcut file written for an address.
std::string writeShortcutFile(std::string_view address);

// Reads the directory tree into the sink: one folder named after the directory, its shortcuts
// with web addresses (sorted by file name), then its subdirectories, each the same way. Hidden
// directories (".name") are left out; a missing directory gives an empty folder. Skipped and
// counted: shortcuts without an address, with one that is not a web address, and shortcut files
// that cannot be read. A directory that cannot be listed throws its Error.
ImportCounts ImportIEFavorites(const std::filesystem::path& directory, ImportSink& sink);

// Writes the folders in tree order with their links below directory/Velloria, replacing what a
// previous export left there. Only that directory is touched.
void ExportIEFavorites(const std::filesystem::path& directory, const std::vector<ExportFolder>& folders,
                       const ReadExportLinksFunction& readLinks, const ProgressFunction& progress = {});

} // namespace velloria
