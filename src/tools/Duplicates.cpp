#include "tools/Duplicates.h"

#include "base/Clock.h"
#include "base/Error.h"
#include "base/TextLines.h"
#include "base/WebAddress.h"
#include "platform/FileIO.h"
#include "store/Library.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <unordered_map>

namespace velloria {

namespace {

std::string lowerAscii(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

bool hasBlankOrControl(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == 0x7f; });
}

std::string_view defaultPort(std::string_view scheme)
{
    return scheme == "http" ? "80" : scheme == "https" ? "443" : "21";
}

} // namespace

std::string sameLinkForm(std::string_view address, SameLinkRule rule)
{
    address = trimmed(address);
    std::string scheme = "http";
    std::string_view rest = address;
    if (hasScheme(address)) {
        const std::size_t colon = address.find(':');
        scheme = lowerAscii(address.substr(0, colon));
        rest = address.substr(colon + 1);
        if ((scheme != "http" && scheme != "https" && scheme != "ftp") || !rest.starts_with("//"))
            return std::string(address);
        rest.remove_prefix(2);
    } else if (address.empty() || address.front() == '/' || hasBlankOrControl(address)) {
        return std::string(address); // a text, not an address a browser would be given
    }
    const std::size_t authorityEnd = std::min(rest.find_first_of("/?#"), rest.size());
    const std::string_view authority = rest.substr(0, authorityEnd);
    std::string_view tail = rest.substr(authorityEnd);
    tail = tail.substr(0, tail.find('#'));
    const std::size_t queryStart = std::min(tail.find('?'), tail.size());
    std::string_view path = tail.substr(0, queryStart);
    const std::string_view query = tail.substr(queryStart);

    const std::size_t at = authority.rfind('@');
    const std::string_view userInfo = at == std::string_view::npos ? std::string_view() : authority.substr(0, at + 1);
    std::string_view hostAndPort = authority.substr(userInfo.size());
    // The port follows the last colon, unless that colon is inside a bracketed IPv6 host.
    std::string_view port;
    const std::size_t portColon = hostAndPort.rfind(':');
    if (portColon != std::string_view::npos && hostAndPort.find(']', portColon) == std::string_view::npos) {
        port = hostAndPort.substr(portColon + 1);
        hostAndPort = hostAndPort.substr(0, portColon);
    }
    std::string host = lowerAscii(hostAndPort);
    if (port == defaultPort(scheme))
        port = {};
    if (path.empty())
        path = "/";
    if (rule == SameLinkRule::Loose) {
        if (scheme == "https")
            scheme = "http";
        if (host.starts_with("www."))
            host.erase(0, 4);
        if (path.ends_with('/'))
            path.remove_suffix(1);
    }
    std::string form;
    form.reserve(scheme.size() + address.size() + 4);
    form.append(scheme).append("://").append(userInfo).append(host);
    if (!port.empty())
        form.append(":").append(port);
    form.append(path).append(query);
    return form;
}

LibraryLinks readLibraryLinks(const Library& library)
{
    LibraryLinks result;
    const TFolderTree& tree = library.folderTree();
    for (std::size_t folder = 0; folder < tree.count(); ++folder) {
        const std::string& name = tree[folder].Name;
        std::optional<std::string> bytes;
        try {
            bytes = readFileIfExists(library.paths().linkFilePath(name, kWorkingLinkExt));
        } catch (const Error& error) {
            result.problems.push_back(name + ": " + error.what());
            continue;
        }
        if (!bytes)
            continue;
        LinkFileParse parse = parseLinkFile(*bytes);
        if (parse.error)
            result.problems.push_back(name + ": " + *parse.error);
        for (std::size_t row = 0; row < parse.links.size(); ++row)
            result.links.push_back({.folder = folder, .row = row, .link = std::move(parse.links[row]),
                                    .writable = !parse.error});
    }
    return result;
}

namespace {

// The link of a group that the proposal keeps, as its index into the group.
std::size_t keptMember(const std::vector<std::size_t>& members, const std::vector<LibraryLink>& links)
{
    const auto latest = [&](auto dateOf, bool later) -> std::optional<std::size_t> {
        std::optional<std::size_t> best;
        int bestOrder = 0;
        for (std::size_t i = 0; i < members.size(); ++i) {
            const std::optional<Date> date = parseDate(dateOf(links[members[i]].link));
            if (!date)
                continue;
            const int order = dateOrder(*date);
            if (!best || (later ? order > bestOrder : order < bestOrder)) {
                best = i;
                bestOrder = order;
            }
        }
        return best;
    };
    if (const auto visited = latest([](const TLinkRecord& link) { return link.LastVisit; }, true))
        return *visited;
    return latest([](const TLinkRecord& link) { return link.AddDate; }, false).value_or(0);
}

} // namespace

std::vector<DuplicateGroup> findDuplicates(const std::vector<LibraryLink>& links, SameLinkRule rule)
{
    // The first link of each form, then the group it leads once a second one comes.
    constexpr std::uint32_t kNoGroup = UINT32_MAX;
    struct First {
        std::uint32_t link;
        std::uint32_t group;
    };
    std::unordered_map<std::string, First> firstOfForm;
    firstOfForm.reserve(links.size());
    std::vector<DuplicateGroup> groups;
    for (std::size_t i = 0; i < links.size(); ++i) {
        std::string form = sameLinkForm(links[i].link.Address, rule);
        if (form.empty())
            continue;
        const auto [it, added] =
            firstOfForm.try_emplace(std::move(form), First{static_cast<std::uint32_t>(i), kNoGroup});
        if (added)
            continue;
        if (it->second.group == kNoGroup) {
            it->second.group = static_cast<std::uint32_t>(groups.size());
            groups.push_back({.links = {it->second.link}});
        }
        groups[it->second.group].links.push_back(i);
    }
    std::sort(groups.begin(), groups.end(),
              [](const DuplicateGroup& a, const DuplicateGroup& b) { return a.links.front() < b.links.front(); });
    for (DuplicateGroup& group : groups)
        group.kept = keptMember(group.links, links);
    return groups;
}

bool proposedForDeletion(const DuplicateGroup& group, std::size_t member, const std::vector<LibraryLink>& links)
{
    return member != group.kept && links[group.links[member]].writable;
}

} // namespace velloria
