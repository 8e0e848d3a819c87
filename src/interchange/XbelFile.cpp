#include "interchange/XbelFile.h"

#include "base/Error.h"
#include "base/Text.h"
#include "base/TextLines.h"
#include "platform/FileIO.h"

#include <pugixml.hpp>

#include <charconv>
#include <ctime>

namespace velloria {

namespace {

constexpr std::string_view kDoctype =
    "xbel PUBLIC \"+//IDN python.org//DTD XML Bookmark Exchange Language 1.0//EN//XML\" "
    "\"http://pyxml.sourceforge.net/topics/dtds/xbel.dtd\"";

// The text of an element: its text and CDATA children joined, on one line.
std::string elementText(pugi::xml_node element)
{
    std::string text;
    for (pugi::xml_node child : element.children())
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            text += child.value();
    // Bytes that are not UTF-8 in a document that says it is are taken as Windows-1252, as
    // everywhere in the library.
    return singleLine(toUtf8(text));
}

std::optional<std::string> childText(pugi::xml_node parent, const char* name)
{
    const pugi::xml_node child = parent.child(name);
    return child ? std::optional<std::string>(elementText(child)) : std::nullopt;
}

std::optional<Date> dateAttribute(pugi::xml_node element, const char* name)
{
    const pugi::xml_attribute attribute = element.attribute(name);
    return attribute ? parseIsoDate(attribute.value()) : std::nullopt;
}

bool isNamed(pugi::xml_node node, std::string_view name)
{
    return name == node.name();
}

// Walks the tree without recursion, so that nesting as deep as a file can hold costs no stack.
class XbelReader {
public:
    explicit XbelReader(ImportSink& sink) : m_sink(sink) {}

    ImportCounts read(pugi::xml_node root)
    {
        const std::uint64_t total = root.select_nodes(".//bookmark").size();
        std::vector<pugi::xml_node> open;
        pugi::xml_node node = root.first_child();
        while (node || !open.empty()) {
            if (!node) {
                node = open.back().next_sibling();
                open.pop_back();
                m_sink.endFolder();
                continue;
            }
            if (node.type() == pugi::node_element && isNamed(node, "folder")) {
                const std::optional<std::string> description = childText(node, "desc");
                m_sink.beginFolder(childText(node, "title").value_or(""), description);
                ++m_counts.folders;
                open.push_back(node);
                node = node.first_child();
                continue;
            }
            if (node.type() == pugi::node_element)
                readEntry(node, total);
            node = node.next_sibling();
        }
        return m_counts;
    }

private:
    void readEntry(pugi::xml_node node, std::uint64_t total)
    {
        if (isNamed(node, "bookmark")) {
            const std::string address = singleLine(toUtf8(trimmed(node.attribute("href").value())));
            if (address.empty()) {
                m_counts.skip(SkipReason::NoAddress);
            } else {
                m_sink.addLink(childText(node, "title").value_or(""), address, childText(node, "desc").value_or(""),
                               {.added = dateAttribute(node, "added"), .visited = dateAttribute(node, "visited")});
                ++m_counts.links;
            }
            if (++m_done % 1024 == 0)
                m_sink.progress(m_done, total);
        } else if (!isNamed(node, "separator") && !isNamed(node, "title") && !isNamed(node, "desc")
                   && !isNamed(node, "info")) {
            m_counts.skip(SkipReason::UnknownEntry);
        }
    }

    ImportSink& m_sink;
    ImportCounts m_counts;
    std::uint64_t m_done = 0;
};

// "YYYY-MM-DD" of a date of the link file; empty for the blank of a link never visited.
std::string isoDate(std::string_view libraryDate)
{
    const std::optional<Date> date = parseDate(libraryDate);
    if (!date)
        return {};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date->year, date->month, date->day);
    return text;
}

// The library's bytes as text XML can carry: UTF-8 without the control characters it forbids.
std::string xmlText(std::string_view bytes)
{
    std::string text = toUtf8(bytes);
    std::erase_if(text, [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; });
    return text;
}

void appendTextElement(pugi::xml_node parent, const char* name, std::string_view bytes)
{
    parent.append_child(name).append_child(pugi::node_pcdata).set_value(xmlText(bytes).c_str());
}

void appendBookmark(pugi::xml_node folder, const ExportLink& link)
{
    pugi::xml_node bookmark = folder.append_child("bookmark");
    bookmark.append_attribute("href") = xmlText(ExportAddress(link.address)).c_str();
    for (const auto& [name, date] : {std::pair{"added", isoDate(link.addDate)}, std::pair{"visited", isoDate(link.lastVisit)}})
        if (!date.empty())
            bookmark.append_attribute(name) = date.c_str();
    appendTextElement(bookmark, "title", link.title);
    if (!link.description.empty())
        appendTextElement(bookmark, "desc", link.description);
}

// Where pugixml writes: straight onto the end of a string.
class AppendingWriter final : public pugi::xml_writer {
public:
    explicit AppendingWriter(std::string& out) : m_out(out) {}
    void write(const void* data, std::size_t size) override { m_out.append(static_cast<const char*>(data), size); }

private:
    std::string& m_out;
};

// Digits from text[at] on, exactly count of them; -1 when they are not there.
int digitsAt(std::string_view text, std::size_t at, std::size_t count)
{
    int value = -1;
    if (at + count > text.size()
        || std::from_chars(text.data() + at, text.data() + at + count, value).ptr != text.data() + at + count)
        return -1;
    return value;
}

} // namespace

std::optional<Date> parseIsoDate(std::string_view text)
{
    text = trimmed(text);
    const int year = digitsAt(text, 0, 4);
    const int month = digitsAt(text, 5, 2);
    const int day = digitsAt(text, 8, 2);
    if (year < 0 || month < 1 || month > 12 || day < 1 || day > 31 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    const Date date{year, month, day};
    if (text.size() == 10)
        return date;
    if (text[10] != 'T' && text[10] != ' ')
        return std::nullopt;
    const int hour = digitsAt(text, 11, 2);
    const int minute = digitsAt(text, 14, 2);
    if (hour < 0 || hour > 24 || minute < 0 || minute > 59)
        return std::nullopt;
    // Seconds and their fractions are of no account to a date; the zone is what follows them.
    std::size_t zone = 16;
    while (zone < text.size() && ((text[zone] >= '0' && text[zone] <= '9') || text[zone] == ':' || text[zone] == '.'))
        ++zone;
    if (zone == text.size())
        return date; // a local time
    int offsetMinutes = 0;
    if (text[zone] != 'Z' || zone + 1 != text.size()) {
        const int offsetHours = digitsAt(text, zone + 1, 2);
        const int offsetRest = text.size() == zone + 6 ? digitsAt(text, zone + 4, 2) : 0;
        if ((text[zone] != '+' && text[zone] != '-') || offsetHours < 0 || offsetRest < 0
            || (text.size() != zone + 3 && text.size() != zone + 6))
            return std::nullopt;
        offsetMinutes = (text[zone] == '-' ? -1 : 1) * (offsetHours * 60 + offsetRest);
    }
    std::tm utc{};
    utc.tm_year = year - 1900;
    utc.tm_mon = month - 1;
    utc.tm_mday = day;
    utc.tm_hour = hour;
    utc.tm_min = minute;
    return localDateAt(static_cast<long long>(timegm(&utc)) - offsetMinutes * 60LL);
}

ImportCounts readXbelFile(std::string_view bytes, ImportSink& sink)
{
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_buffer(bytes.data(), bytes.size());
    if (!parsed)
        throw Error("The XBEL file is damaged: " + std::string(parsed.description()) + " (at byte "
                    + std::to_string(parsed.offset + 1) + ")");
    const pugi::xml_node root = document.document_element();
    if (!isNamed(root, "xbel"))
        throw Error("This is not an XBEL file: its root element is <" + std::string(root.name()) + ">, not <xbel>");
    return XbelReader(sink).read(root);
}

ImportCounts ImportXbelFile(const std::filesystem::path& path, ImportSink& sink)
{
    const std::optional<MappedFile> file = mapFileIfExists(path);
    if (!file)
        throw cannotOpenFileError(path, "The file does not exist.");
    return readXbelFile(file->bytes(), sink);
}

std::vector<std::string> writeXbelFile(const std::vector<ExportFolder>& folders, const ReadExportLinksFunction& readLinks,
                          const FolderDescriptionFunction& folderDescription, const ProgressFunction& progress)
{
    // One top-level folder at a time is made into elements and written out, so that the memory
    // it takes is that of the largest one, not of the library.
    std::vector<std::string> parts{"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE " + std::string(kDoctype)
                                   + ">\n<xbel version=\"1.0\">\n"};
    pugi::xml_document document;
    std::vector<pugi::xml_node> open; // open[level]: the folder element of that level
    const auto flush = [&] {
        if (!open.empty()) {
            AppendingWriter writer(parts.emplace_back());
            open.front().print(writer, "  ", pugi::format_indent, pugi::encoding_utf8, 1);
        }
        document.reset();
        open.clear();
    };
    for (std::size_t i = 0; i < folders.size(); ++i) {
        const ExportFolder& folder = folders[i];
        const auto level = std::min(static_cast<std::size_t>(std::max(folder.level, 0)), open.size());
        if (level == 0)
            flush();
        open.resize(level);
        pugi::xml_node element = (open.empty() ? document : open.back()).append_child("folder");
        appendTextElement(element, "title", folder.name);
        appendTextElement(element, "desc", folderDescription(folder.name));
        for (const ExportLink& link : readLinks(folder.name))
            appendBookmark(element, link);
        open.push_back(element);
        if (progress)
            progress(i + 1, folders.size());
    }
    flush();
    parts.emplace_back("</xbel>\n");
    return parts;
}

} // namespace velloria
