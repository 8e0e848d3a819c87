#pragma once

#include "support/TempHome.h"

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace velloria::test {

// One link of a link file; the fields a test does not name keep these values.
struct Link {
    std::string title;
    std::string address;
    std::string lastVisit = "";
    std::string added = "2026.1.1";
    std::string description = "";
};

// The bytes of a link file: the five lines of each link, CR LF after each.
std::string linkFile(const std::vector<Link>& links);

// A small library: tree lines (a tab per level), name and description pairs, and the links of
// the folders that have a link file. With saved, the "~" generation equals the working one.
struct SmallLibrary {
    std::vector<std::string> tree;
    std::vector<std::string> descriptions;
    std::map<std::string, std::vector<Link>> links;
    bool saved = true;
};

// Writes the library's files into the home's RefLib (and RefLib/Links, even when empty).
void writeLibrary(const TempHome& home, const SmallLibrary& library);

// "Title Address" for each link of a link file's bytes, as the reader finds them.
std::vector<std::string> linkLines(std::string_view linkFileBytes);

// The bytes of a file; "<missing>" when there is none. Writing creates the directories.
std::string readBytes(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, std::string_view bytes);

// Every entry below a directory: relative path -> bytes; a directory as "path/" -> "", a
// symbolic link as "-> target".
std::map<std::string, std::string> filesBelow(const std::filesystem::path& directory);

// The message of the velloria::Error the action throws, or "<no error>".
template <typename Action> std::string errorOf(Action action);

} // namespace velloria::test

#include "base/Error.h"

template <typename Action> std::string velloria::test::errorOf(Action action)
{
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return "<no error>";
}
