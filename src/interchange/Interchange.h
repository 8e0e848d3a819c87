#pragma once

#include "base/Clock.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velloria {

class Library;
class TFolderTree;

// What the bookmark readers and writers share with the import and export drivers.

// The dates a source keeps for a link; nullopt where it keeps none. The import then dates the
// link today and leaves it unvisited, as it does every link of a source without dates.
struct LinkDates {
    std::optional<Date> added;
    std::optional<Date> visited;
    bool operator==(const LinkDates&) const = default;
};

// Where a reader puts what it finds, in the order it finds it. The driver owns the library side:
// it cleans names and values, makes folder names unique, and writes the files.
class ImportSink {
public:
    virtual ~ImportSink() = default;
    // A folder of the source: it becomes a child of the current folder and the current folder.
    // Its description is the one the source gives it, or without one its name as found.
    virtual void beginFolder(std::string_view name, std::optional<std::string_view> description) = 0;
    void beginFolder(std::string_view name) { beginFolder(name, std::nullopt); }
    // The current folder ends and its parent becomes current again. At the import's own top
    // folder this does nothing: a reader can never leave the folder it imports into.
    virtual void endFolder() = 0;
    // A link of the current folder.
    virtual void addLink(std::string_view title, std::string_view address, std::string_view description,
                         const LinkDates& dates) = 0;
    void addLink(std::string_view title, std::string_view address, std::string_view description)
    {
        addLink(title, address, description, {});
    }
    // How far the reader has come (total 0: unknown). May throw OperationCancelled.
    virtual void progress(std::uint64_t done, std::uint64_t total) { (void)done, (void)total; }
};

// Why a reader left an entry of its source out, in the order the import summary lists them.
enum class SkipReason {
    UnknownEntry,  // a tag or an entry of a kind the reader does not know
    NoAddress,     // a link without an address
    NotWebAddress, // a link whose address is not a web address
    CutOff,        // an entry that the end of the file cut off
    Unreadable,    // a shortcut file that could not be read
};

// What a reader passed to its sink, and how many entries it left out for each reason.
struct ImportCounts {
    std::size_t folders = 0;
    std::size_t links = 0;
    std::map<SkipReason, std::size_t> skipped;
    void skip(SkipReason reason) { ++skipped[reason]; }
    bool operator==(const ImportCounts&) const = default;
};

// Thrown by a progress report when the user cancels; what was done before stays done.
class OperationCancelled : public std::exception {
public:
    const char* what() const noexcept override { return "cancelled"; }
};

// How far an export or import has come (total 0: unknown). May throw OperationCancelled.
using ProgressFunction = std::function<void(std::uint64_t done, std::uint64_t total)>;

// A folder as the exporters visit it: in tree order (each folder before its subfolders), with
// its level (0 for a top-level folder).
struct ExportFolder {
    std::string name;
    int level = 0;
    bool operator==(const ExportFolder&) const = default;
};

// A saved link of a folder, as the exporters write it; the dates as the link file holds them.
struct ExportLink {
    std::string title;
    std::string address;
    std::string description;
    std::string lastVisit;
    std::string addDate;
    bool operator==(const ExportLink&) const = default;
};

// The saved links of a folder by its name, in file order (none when it has no link file).
using ReadExportLinksFunction = std::function<std::vector<ExportLink>(const std::string& folderName)>;

// The folders of the tree in the order every exporter visits them: pre-order.
std::vector<ExportFolder> TreeOrder(const TFolderTree& tree);

// Reads the saved links of a folder from the library's working link file (Links/<name>.wnl).
ReadExportLinksFunction ReadExportLinks(const Library& library);

// The links of a link file's bytes, in file order.
std::vector<ExportLink> parseExportLinks(std::string_view linkFileBytes);

// The address as every exporter writes it: "http://" in front of an address without a scheme
// ("www.example.com", "example.com/page"); an address with a scheme ("https://...", "ftp://...",
// "mailto:...", "file:///...") as it stands.
std::string ExportAddress(std::string_view address);

// The number of list closings after folder i of tree order, the way the bookmark file and the
// hotlist nest their folders: 0 when the next folder is a child of it, 1 for a sibling, one
// more per level climbed; after the last folder, its level + 1.
int closingCount(const std::vector<ExportFolder>& folders, std::size_t i);

} // namespace velloria
