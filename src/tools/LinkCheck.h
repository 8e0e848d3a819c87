#pragma once

#include "platform/HttpCheck.h"
#include "tools/LibraryLinks.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velloria {

// What checking a link found: OK (a 2xx answer, also after temporary redirects: 302, 303, 307),
// Moved (a 2xx answer reached through permanent redirects, 301 or 308, at the start of the way),
// Broken (404, 410, or a host name that does not resolve), Error (any other answer, a 5xx also
// on the second try, a timeout, no connection, a failed secure connection, a redirect that is not
// followed). Links that are not web addresses, and those not done when the check was cancelled,
// are not checked. The order is the one the results list shows first.
enum class CheckResult { Broken, Moved, Error, OK, NotChecked };

struct LinkCheck {
    CheckResult result = CheckResult::NotChecked;
    long status = 0; // the last HTTP status answered; 0 when none was
    HttpOutcome::Failure failure = HttpOutcome::Failure::None;
    bool retried = false;
    // Moved: the address the permanent redirects lead to; otherwise where redirects led, if any.
    std::string finalAddress;
    std::string detail; // the network library's words for a failure
};

// The address that checking asks for: the link's address trimmed, "http://" in front when it has
// no scheme, as UTF-8 with blanks, controls and bytes beyond ASCII percent-encoded outside the
// host, without its fragment. None for an address that is not http or https (ftp:, mailto:,
// javascript:, file:, a text, an address without a host), which is never sent anywhere.
std::optional<std::string> addressToCheck(std::string_view address);

// What an answer means for a link.
LinkCheck judge(const HttpOutcome& outcome);

// Checks links: each address asked once, however many links share it.
class LinkChecker {
public:
    explicit LinkChecker(const std::vector<LibraryLink>& links);
    // How many addresses are asked for.
    std::size_t addressCount() const { return m_addresses.size(); }
    // One result per link, in their order.
    std::vector<LinkCheck> run(const HttpCheckOptions& options, HttpCheckProgress& progress) const;

private:
    std::vector<std::string> m_addresses;
    std::vector<std::size_t> m_addressOf; // per link; npos for a link not checked
};

} // namespace velloria
