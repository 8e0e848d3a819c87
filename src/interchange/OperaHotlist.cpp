#include "interchange/OperaHotlist.h"

#include "base/Text.h"
#include "base/TextLines.h"
#include "base/WebAddress.h"
#include "platform/FileIO.h"

#include <optional>

namespace velloria {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Progress is reported every so many lines, often enough for a progress bar, rarely enough to
// cost nothing.
constexpr std::size_t kProgressLines = 4096;

enum class EntryKind { None, Folder, Url, Separator, Other };

// The entry being read: its header and the two fields the import uses. The views point into
// the file's bytes; a field belongs to the entry whose header it follows and to no other.
struct Entry {
    EntryKind kind = EntryKind::None;
    std::optional<std::string_view> name;
    std::optional<std::string_view> url;
};

EntryKind headerKind(std::string_view line)
{
    if (line == "#FOLDER")
        return EntryKind::Folder;
    if (line == "#URL")
        return EntryKind::Url;
    if (line == "#SEPERATOR") // the hotlist's own spelling
        return EntryKind::Separator;
    return EntryKind::Other;
}

// A field value as the sink gets it: trimmed, decoded, and on one line. The hotlist encodes a
// line break inside a value as two 0x02 bytes; like every other control character they become
// blanks here.
std::string cleanValue(std::optional<std::string_view> value)
{
    return value ? std::string(trimmed(singleLine(toUtf8(*value)))) : std::string();
}

class HotlistReader {
public:
    HotlistReader(std::string_view bytes, ImportSink& sink) : m_bytes(bytes), m_sink(sink) {}

    ImportCounts read()
    {
        std::size_t lines = 0;
        forEachLine(m_bytes, [&](std::string_view line) {
            readLine(trimmed(line));
            if (++lines % kProgressLines == 0)
                m_sink.progress(static_cast<std::uint64_t>(line.data() - m_bytes.data()), m_bytes.size());
        });
        finishEntry(true);
        return m_stats;
    }

private:
    void readLine(std::string_view line)
    {
        if (line.starts_with('#')) {
            finishEntry(false);
            m_entry.kind = headerKind(line);
        } else if (line == "-") {
            finishEntry(false);
            m_sink.endFolder();
        } else if (m_entry.kind != EntryKind::None) {
            readField(line);
        }
    }

    void readField(std::string_view line)
    {
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            return;
        const std::string_view key = line.substr(0, equals);
        const std::string_view value = line.substr(equals + 1);
        if (key == "NAME")
            m_entry.name = value;
        else if (key == "URL")
            m_entry.url = value;
    }

    // Passes the entry to the sink. An entry that the end of the file cut off before the field
    // it needs (a folder's NAME, a link's URL) is dropped: the file was probably truncated there.
    void finishEntry(bool atEnd)
    {
        const Entry entry = m_entry;
        m_entry = {};
        const bool cutOff = atEnd && (entry.kind == EntryKind::Folder ? !entry.name : !entry.url);
        if (entry.kind == EntryKind::Other) {
            m_stats.skip(SkipReason::UnknownEntry);
        } else if ((entry.kind == EntryKind::Folder || entry.kind == EntryKind::Url) && cutOff) {
            m_stats.skip(SkipReason::CutOff);
        } else if (entry.kind == EntryKind::Folder) {
            m_sink.beginFolder(cleanValue(entry.name));
            ++m_stats.folders;
        } else if (entry.kind == EntryKind::Url) {
            addLink(entry);
        }
    }

    // The description of an imported hotlist link is its address, as the library has always
    // kept it; the hotlist's own DESCRIPTION field is not read. Kept are web addresses in any
    // letter case and, as the import always did, anything else that begins with "http".
    void addLink(const Entry& entry)
    {
        const std::string address = cleanValue(entry.url);
        if (address.empty() || (!isWebAddress(address) && !address.starts_with("http"))) {
            m_stats.skip(address.empty() ? SkipReason::NoAddress : SkipReason::NotWebAddress);
            return;
        }
        const std::string title = cleanValue(entry.name);
        m_sink.addLink(title.empty() ? address : title, address, address);
        ++m_stats.links;
    }

    std::string_view m_bytes;
    ImportSink& m_sink;
    Entry m_entry;
    ImportCounts m_stats;
};

void writeFolderEntry(LineWriter& out, const std::string& name)
{
    out.line("#FOLDER");
    out.line("NAME=", name);
    out.line("CREATED=0");
    out.line(" ");
}

void writeLinkEntry(LineWriter& out, const ExportLink& link)
{
    out.line("#URL");
    out.line("NAME=", link.title);
    out.line("URL=", ExportAddress(link.address));
    out.line("CREATED=0");
    out.line(" ");
}

} // namespace

ImportCounts readOperaHotlist(std::string_view bytes, ImportSink& sink)
{
    if (bytes.starts_with(kUtf8Bom))
        bytes.remove_prefix(kUtf8Bom.size());
    return HotlistReader(bytes, sink).read();
}

ImportCounts ImportOperaHotlist(const std::filesystem::path& path, ImportSink& sink)
{
    const auto file = mapFileIfExists(path);
    return file ? readOperaHotlist(file->bytes(), sink) : ImportCounts{};
}

std::string writeOperaHotlist(const std::vector<ExportFolder>& folders, const ReadExportLinksFunction& readLinks,
                              const ProgressFunction& progress)
{
    LineWriter out;
    out.line("Opera Hotlist version 2.0");
    out.line("Options: encoding = utf8, version=3");
    for (std::size_t i = 0; i < folders.size(); ++i) {
        writeFolderEntry(out, folders[i].name);
        for (const ExportLink& link : readLinks(folders[i].name))
            writeLinkEntry(out, link);
        // The last folder leaves one closing for the final "-", which closes the top level.
        const bool last = i + 1 == folders.size();
        for (int closing = closingCount(folders, i) - (last ? 1 : 0); closing > 0; --closing) {
            out.line("");
            out.line("-");
        }
        if (progress)
            progress(i + 1, folders.size());
    }
    // With no folder there is nothing to close: every "-" matches a #FOLDER.
    if (!folders.empty())
        out.line("-");
    return out.take();
}

} // namespace velloria
