#include "interchange/NetscapeFile.h"

#include "base/TextLines.h"
#include "interchange/HtmlText.h"
#include "platform/FileIO.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

namespace velloria {

namespace {

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

// ---- Tags ----

enum class TagKind { Dt, Dd, Dl, H3, A, Hr, Meta, Known, Unknown, Declaration };

struct Tag {
    TagKind kind = TagKind::Unknown;
    bool closing = false;
    std::size_t begin = 0; // at the '<'
    std::size_t end = 0;   // just after the '>'
    bool cutOff = false;   // the end of the file came before the '>'
    std::optional<std::string_view> href;
};

TagKind tagKindNamed(std::string_view name)
{
    static constexpr std::array<std::pair<std::string_view, TagKind>, 13> kTags = {{
        {"DT", TagKind::Dt}, {"DD", TagKind::Dd}, {"DL", TagKind::Dl}, {"H3", TagKind::H3}, {"A", TagKind::A},
        {"HR", TagKind::Hr}, {"META", TagKind::Meta}, {"P", TagKind::Known}, {"TITLE", TagKind::Known},
        {"H1", TagKind::Known}, {"HTML", TagKind::Known}, {"HEAD", TagKind::Known}, {"BODY", TagKind::Known}}};
    for (const auto& [tagName, kind] : kTags)
        if (equalsAsciiWord(name, tagName))
            return kind;
    return TagKind::Unknown;
}

// Where the next tag starts at or after from, or npos. A '<' that cannot start a tag ("a < b")
// is text.
std::size_t findTagStart(std::string_view in, std::size_t from)
{
    while (from < in.size()) {
        const void* found = std::memchr(in.data() + from, '<', in.size() - from);
        if (!found)
            return std::string_view::npos;
        const std::size_t at = static_cast<const char*>(found) - in.data();
        const char next = at + 1 < in.size() ? in[at + 1] : '\0';
        const char afterSlash = at + 2 < in.size() ? in[at + 2] : '\0';
        if (isLetter(next) || next == '!' || next == '?' || (next == '/' && isLetter(afterSlash)))
            return at;
        from = at + 1;
    }
    return std::string_view::npos;
}

// Reads one attribute value starting at i (just after '=' and blanks). A quoted value may hold
// blanks and '>' (and be megabytes long, as ICON data is); a quote that is never closed ends at
// the next '>'. Nothing is copied.
std::string_view scanValue(std::string_view in, std::size_t& i)
{
    const char quote = in[i];
    if (quote == '"' || quote == '\'') {
        std::size_t close = in.find(quote, i + 1);
        if (close == std::string_view::npos)
            close = std::min(in.find('>', i + 1), in.size());
        const std::string_view value = in.substr(i + 1, close - i - 1);
        i = close < in.size() && in[close] == quote ? close + 1 : close;
        return value;
    }
    const std::size_t begin = i;
    while (i < in.size() && !isSpace(in[i]) && in[i] != '>')
        ++i;
    return in.substr(begin, i - begin);
}

// Scans the attributes from i to the tag's '>' and returns the position after it; stores the
// first HREF value when href is given.
std::size_t scanAttributes(std::string_view in, std::size_t i, std::optional<std::string_view>* href)
{
    while (i < in.size()) {
        const char c = in[i];
        if (c == '>')
            return i + 1;
        if (isSpace(c) || c == '/') {
            ++i;
            continue;
        }
        const std::size_t nameBegin = i;
        while (i < in.size() && !isSpace(in[i]) && in[i] != '=' && in[i] != '>')
            ++i;
        const std::string_view name = in.substr(nameBegin, i - nameBegin);
        while (i < in.size() && isSpace(in[i]))
            ++i;
        if (i >= in.size() || in[i] != '=')
            continue; // a value-less attribute such as FOLDED or SUBSCRIBE
        ++i;
        while (i < in.size() && isSpace(in[i]))
            ++i;
        if (i >= in.size())
            break;
        const std::string_view value = scanValue(in, i);
        if (href && !*href && equalsAsciiWord(name, "HREF"))
            *href = value;
    }
    return in.size();
}

Tag scanTag(std::string_view in, std::size_t at)
{
    Tag tag;
    tag.begin = at;
    std::size_t i = at + 1;
    if (in[i] == '!' || in[i] == '?') {
        tag.kind = TagKind::Declaration;
        tag.end = std::min(in.find('>', i), in.size() - 1) + 1;
        return tag;
    }
    tag.closing = in[i] == '/';
    i += tag.closing ? 1 : 0;
    const std::size_t nameBegin = i;
    while (i < in.size() && (isLetter(in[i]) || isDigit(in[i])))
        ++i;
    tag.kind = tagKindNamed(in.substr(nameBegin, i - nameBegin));
    tag.end = scanAttributes(in, i, tag.kind == TagKind::A && !tag.closing ? &tag.href : nullptr);
    tag.cutOff = tag.end == in.size() && in.back() != '>';
    return tag;
}

// ---- The reader ----

constexpr std::size_t kProgressStep = 256 * 1024;

// One pass over the bytes as a stream of tags and text. An <H3> name waits for the <DL> that
// opens its folder; every <DL> is remembered as a folder's list or a plain one, so that its </DL>
// ends the right thing. A link waits until the next construct, because a <DD> after it may still
// bring its description.
class NetscapeReader {
public:
    NetscapeReader(std::string_view in, ImportSink& sink) : m_in(in), m_sink(sink) {}

    ImportCounts run()
    {
        if (m_in.starts_with("\xEF\xBB\xBF"))
            m_pos = 3;
        m_sink.progress(0, m_in.size());
        while (true) {
            reportProgress();
            const std::size_t at = findTagStart(m_in, m_pos);
            if (at == std::string_view::npos)
                break;
            if (m_in.substr(at, 4) == "<!--") {
                const std::size_t close = m_in.find("-->", at + 4);
                m_pos = close == std::string_view::npos ? m_in.size() : close + 3;
                continue;
            }
            const Tag tag = scanTag(m_in, at);
            m_pos = tag.end;
            onTag(tag);
        }
        finish();
        return m_stats;
    }

private:
    struct PendingLink {
        std::string title, address, description;
        bool described = false;
    };

    void onTag(const Tag& tag)
    {
        if (tag.closing && tag.kind != TagKind::Dl)
            return;
        if (tag.cutOff && (tag.kind == TagKind::A || tag.kind == TagKind::H3)) {
            endItem();
            m_stats.skip(SkipReason::CutOff);
            return;
        }
        switch (tag.kind) {
        case TagKind::Dt:
        case TagKind::Hr: endItem(); break;
        case TagKind::H3:
            endItem();
            m_pendingFolder = htmlTextValue(readText(), m_charset);
            break;
        case TagKind::A: onLink(tag); break;
        case TagKind::Dd:
            if (m_link && !m_link->described) {
                m_link->description = htmlTextValue(readText(), m_charset);
                m_link->described = true;
            }
            break;
        case TagKind::Dl: tag.closing ? closeList() : openList(); break;
        case TagKind::Meta:
            if (!m_inBody)
                m_charset = charsetOfMetaTag(m_in.substr(tag.begin, tag.end - tag.begin)).value_or(m_charset);
            break;
        case TagKind::Unknown: m_stats.skip(SkipReason::UnknownEntry); break;
        case TagKind::Known:
        case TagKind::Declaration: break;
        }
    }

    void onLink(const Tag& tag)
    {
        endItem();
        if (!tag.href || trimmed(*tag.href).empty()) {
            m_stats.skip(SkipReason::NoAddress);
            return;
        }
        std::string address = htmlTextValue(*tag.href, m_charset);
        m_link = PendingLink{.title = htmlTextValue(readText(), m_charset), .address = std::move(address)};
    }

    // The raw text from here to the next tag; reading goes on at that tag.
    std::string_view readText()
    {
        const std::size_t end = std::min(findTagStart(m_in, m_pos), m_in.size());
        const std::string_view text = m_in.substr(m_pos, end - m_pos);
        m_pos = end;
        return text;
    }

    // A new construct starts: the link before it is complete (its description, if any, is
    // known), and a folder name without a list of its own is an empty folder.
    void endItem()
    {
        flushLink();
        if (m_pendingFolder) {
            beginFolder();
            m_sink.endFolder();
        }
    }

    void flushLink()
    {
        m_inBody = true;
        if (!m_link)
            return;
        m_sink.addLink(m_link->title, m_link->address, m_link->description);
        ++m_stats.links;
        m_link.reset();
    }

    void beginFolder()
    {
        m_sink.beginFolder(*m_pendingFolder);
        ++m_stats.folders;
        m_pendingFolder.reset();
    }

    void openList()
    {
        flushLink();
        const bool folder = m_pendingFolder.has_value();
        if (folder)
            beginFolder();
        m_lists.push_back(folder);
    }

    // Unbalanced closings are ignored, so the reader never leaves the folder it imports into.
    void closeList()
    {
        endItem();
        if (m_lists.empty())
            return;
        if (m_lists.back())
            m_sink.endFolder();
        m_lists.pop_back();
    }

    void finish()
    {
        endItem();
        while (!m_lists.empty())
            closeList();
        m_sink.progress(m_in.size(), m_in.size());
    }

    void reportProgress()
    {
        if (m_pos < m_nextProgress)
            return;
        m_sink.progress(m_pos, m_in.size());
        m_nextProgress = m_pos + kProgressStep;
    }

    std::string_view m_in;
    ImportSink& m_sink;
    std::size_t m_pos = 0;
    std::size_t m_nextProgress = kProgressStep;
    HtmlCharset m_charset = HtmlCharset::Utf8;
    bool m_inBody = false;
    std::vector<bool> m_lists; // per open <DL>: true when it is a folder's list
    std::optional<std::string> m_pendingFolder;
    std::optional<PendingLink> m_link;
    ImportCounts m_stats;
};

// ---- The writer ----

void appendFolder(std::string& out, const ExportFolder& folder, const ReadExportLinksFunction& readLinks)
{
    out += "<DT><H3>";
    appendHtmlEscaped(out, folder.name);
    out += "</H3>\r\n<DL><p>\r\n";
    for (const ExportLink& link : readLinks(folder.name)) {
        out += "<DT><A HREF=\"";
        appendHtmlEscaped(out, ExportAddress(link.address));
        out += "\">";
        appendHtmlEscaped(out, link.title);
        out += "</A>\r\n";
    }
}

} // namespace

ImportCounts readNetscapeFile(std::string_view bytes, ImportSink& sink)
{
    return NetscapeReader(bytes, sink).run();
}

ImportCounts ImportNetscapeFile(const std::filesystem::path& path, ImportSink& sink)
{
    const auto file = mapFileIfExists(path);
    return file ? readNetscapeFile(file->bytes(), sink) : ImportCounts{};
}

std::string writeNetscapeFile(const std::vector<ExportFolder>& folders, const ReadExportLinksFunction& readLinks,
                              const ProgressFunction& progress)
{
    std::string out = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n"
                      "<TITLE>Velloria</TITLE>\r\n"
                      "<H1>Velloria</H1>\r\n"
                      "<DL><p>\r\n";
    for (std::size_t i = 0; i < folders.size(); ++i) {
        appendFolder(out, folders[i], readLinks);
        for (int n = closingCount(folders, i); n > 0; --n)
            out += "</DL><p>\r\n";
        if (progress)
            progress(i + 1, folders.size());
    }
    out += "</DL><p>\r\n";
    return out;
}

} // namespace velloria
