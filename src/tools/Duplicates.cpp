#include "tools/Duplicates.h"

#include "base/Parallel.h"

#include "base/Clock.h"
#include "base/Error.h"
#include "base/TextLines.h"
#include "base/WebAddress.h"
#include "platform/FileIO.h"
#include "store/Library.h"

#include <algorithm>
#include <thread>
#include <cstdint>
#include <optional>
#include <functional>

namespace velloria {

namespace {

// Short texts only: a scheme or "www.".
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

namespace {

// The form of the address into form, which is emptied first; its memory is used again.
void formInto(std::string& form, std::string_view address, SameLinkRule rule)
{
    form.clear();
    address = trimmed(address);
    std::string_view scheme = "http";
    std::string_view rest = address;
    if (hasScheme(address)) {
        const std::size_t colon = address.find(':');
        const std::string named = lowerAscii(address.substr(0, colon));
        rest = address.substr(colon + 1);
        if ((named != "http" && named != "https" && named != "ftp") || !rest.starts_with("//")) {
            form.assign(address);
            return;
        }
        scheme = named == "http" ? "http" : named == "https" ? "https" : "ftp";
        rest.remove_prefix(2);
    } else if (address.empty() || address.front() == '/' || hasBlankOrControl(address)) {
        form.assign(address); // a text, not an address a browser would be given
        return;
    }
    std::size_t authorityEnd = 0;
    while (authorityEnd < rest.size() && rest[authorityEnd] != '/' && rest[authorityEnd] != '?' && rest[authorityEnd] != '#')
        ++authorityEnd;
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
    if (port == defaultPort(scheme))
        port = {};
    if (path.empty())
        path = "/";
    if (rule == SameLinkRule::Loose) {
        if (scheme == "https")
            scheme = "http";
        if (hostAndPort.size() >= 4 && lowerAscii(hostAndPort.substr(0, 4)) == "www.")
            hostAndPort.remove_prefix(4);
        if (path.ends_with('/'))
            path.remove_suffix(1);
    }
    form.append(scheme).append("://").append(userInfo);
    const std::size_t hostStart = form.size();
    form.append(hostAndPort);
    for (std::size_t i = hostStart; i < form.size(); ++i)
        if (form[i] >= 'A' && form[i] <= 'Z')
            form[i] = static_cast<char>(form[i] - 'A' + 'a');
    if (!port.empty())
        form.append(":").append(port);
    form.append(path).append(query);
}

} // namespace

std::string sameLinkForm(std::string_view address, SameLinkRule rule)
{
    std::string form;
    formInto(form, address, rule);
    return form;
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
    if (const auto visited = latest([](const LinkRecordView& link) { return link.LastVisit; }, true))
        return *visited;
    return latest([](const LinkRecordView& link) { return link.AddDate; }, false).value_or(0);
}

} // namespace

std::vector<DuplicateGroup> findDuplicates(const std::vector<LibraryLink>& links, SameLinkRule rule)
{
    // The forms of all links one after the other in one text, read in the order of the links;
    // then the links in the order of the hash of their form, so that a run of equal hashes holds
    // every group, which the forms themselves then split (two forms may share a hash).
    // Each part of the links has a text of its own, which formOf finds by the part's first link.
    std::vector<std::string> forms(4);
    std::vector<std::size_t> partStart(4, links.size());
    std::vector<std::pair<std::uint32_t, std::uint32_t>> formSpan(links.size()); // start, length
    std::vector<std::vector<std::pair<std::uint64_t, std::uint32_t>>> partHashes(4);
    const auto reserve = [&](std::size_t begin, std::size_t end, std::size_t part) {
        partStart[part] = begin;
        std::size_t size = 0;
        for (std::size_t i = begin; i < end; ++i)
            size += links[i].link.Address.size() + 8; // a scheme put in front, a "/" after the host
        forms[part].reserve(size);
        partHashes[part].reserve(part == 0 ? links.size() : end - begin); // the first part's takes in the others
    };
    inParts(links.size(), 1000, reserve, [&](std::size_t begin, std::size_t end, std::size_t part) {
        std::string& text = forms[part];
        auto& hashes = partHashes[part];
        std::string form;
        for (std::size_t i = begin; i < end; ++i) {
            formInto(form, links[i].link.Address, rule);
            formSpan[i] = {static_cast<std::uint32_t>(text.size()), static_cast<std::uint32_t>(form.size())};
            text += form;
            if (!form.empty())
                hashes.emplace_back(std::hash<std::string>()(form), static_cast<std::uint32_t>(i));
        }
    });
    const auto formOf = [&](std::uint32_t i) {
        std::size_t part = 0;
        while (part + 1 < partStart.size() && partStart[part + 1] <= i)
            ++part;
        return std::string_view(forms[part]).substr(formSpan[i].first, formSpan[i].second);
    };
    std::vector<std::pair<std::uint64_t, std::uint32_t>> hashed = std::move(partHashes[0]);
    for (std::size_t part = 1; part < partHashes.size(); ++part) {
        hashed.insert(hashed.end(), partHashes[part].begin(), partHashes[part].end());
        partHashes[part] = {};
    }
    std::sort(hashed.begin(), hashed.end());
    std::vector<DuplicateGroup> groups;
    std::vector<std::uint32_t> run;
    for (auto begin = hashed.begin(); begin != hashed.end();) {
        const auto end = std::find_if(begin, hashed.end(), [&](const auto& h) { return h.first != begin->first; });
        if (end - begin > 1) {
            run.clear();
            for (auto it = begin; it != end; ++it)
                run.push_back(it->second);
            std::stable_sort(run.begin(), run.end(), [&](auto a, auto b) { return formOf(a) < formOf(b); });
            for (auto same = run.begin(); same != run.end();) {
                const auto last = std::find_if(same, run.end(), [&](auto i) { return formOf(i) != formOf(*same); });
                if (last - same > 1)
                    groups.push_back({.links = std::vector<std::size_t>(same, last)});
                same = last;
            }
        }
        begin = end;
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
