#include "tools/LinkCheck.h"

#include "base/Text.h"
#include "base/TextLines.h"
#include "base/WebAddress.h"

#include <algorithm>
#include <unordered_map>

namespace velloria {

namespace {

constexpr std::size_t npos = static_cast<std::size_t>(-1);

bool blankOrControl(unsigned char c)
{
    return c <= ' ' || c == 0x7f;
}

// Bytes that an address sent to a server does not hold as they are.
bool needsEncoding(unsigned char c)
{
    return blankOrControl(c) || c >= 0x80 || c == '"' || c == '<' || c == '>' || c == '`' || c == '\\' || c == '^'
        || c == '{' || c == '|' || c == '}';
}

} // namespace

std::optional<std::string> addressToCheck(std::string_view address)
{
    address = trimmed(address);
    std::string_view scheme = "http";
    std::string_view rest = address;
    if (hasScheme(address)) {
        const std::size_t colon = address.find(':');
        scheme = address.substr(0, colon);
        rest = address.substr(colon + 1);
        if ((!equalsIgnoringAsciiCase(scheme, "http") && !equalsIgnoringAsciiCase(scheme, "https"))
            || !rest.starts_with("//"))
            return std::nullopt;
        rest.remove_prefix(2);
    }
    const std::size_t hostEnd = std::min(rest.find_first_of("/?#"), rest.size());
    const std::string_view host = rest.substr(0, hostEnd);
    if (host.empty() || std::any_of(host.begin(), host.end(), [](char c) { return blankOrControl(c); }))
        return std::nullopt;
    const std::string tail = toUtf8(rest.substr(hostEnd, rest.find('#', hostEnd) - hostEnd));
    std::string checked = equalsIgnoringAsciiCase(scheme, "https") ? "https://" : "http://";
    checked += toUtf8(host);
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : tail) {
        const auto byte = static_cast<unsigned char>(c);
        if (needsEncoding(byte)) {
            checked += '%';
            checked += kHex[byte >> 4];
            checked += kHex[byte & 0xf];
        } else {
            checked += c;
        }
    }
    return checked;
}

LinkCheck judge(const HttpOutcome& outcome)
{
    using Failure = HttpOutcome::Failure;
    LinkCheck check{.status = outcome.status, .failure = outcome.failure, .retried = outcome.retried,
                    .finalAddress = outcome.finalAddress, .detail = outcome.detail};
    switch (outcome.failure) {
    case Failure::None:
        if (outcome.status >= 200 && outcome.status < 300) {
            check.result = outcome.movedTo.empty() ? CheckResult::OK : CheckResult::Moved;
            if (!outcome.movedTo.empty())
                check.finalAddress = outcome.movedTo;
        } else {
            check.result = outcome.status == 404 || outcome.status == 410 ? CheckResult::Broken : CheckResult::Error;
        }
        break;
    case Failure::HostNotFound: check.result = CheckResult::Broken; break;
    case Failure::Cancelled: check.result = CheckResult::NotChecked; break;
    default: check.result = CheckResult::Error; break;
    }
    return check;
}

LinkChecker::LinkChecker(const std::vector<LibraryLink>& links)
{
    std::unordered_map<std::string, std::size_t> asked;
    m_addressOf.reserve(links.size());
    for (const LibraryLink& link : links) {
        std::optional<std::string> address = addressToCheck(link.link.Address);
        if (!address) {
            m_addressOf.push_back(npos);
            continue;
        }
        const auto [it, added] = asked.try_emplace(*address, m_addresses.size());
        if (added)
            m_addresses.push_back(std::move(*address));
        m_addressOf.push_back(it->second);
    }
}

std::vector<LinkCheck> LinkChecker::run(const HttpCheckOptions& options, HttpCheckProgress& progress) const
{
    const std::vector<HttpOutcome> outcomes = checkHttpAddresses(m_addresses, options, progress);
    std::vector<LinkCheck> checks;
    checks.reserve(m_addressOf.size());
    for (const std::size_t address : m_addressOf)
        checks.push_back(address == npos ? LinkCheck{} : judge(outcomes[address]));
    return checks;
}

} // namespace velloria
