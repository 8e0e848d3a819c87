#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace velloria {

// How addresses are checked: at most jobs requests at a time and perHost of them to one host; a
// connection not made within connectTimeout, or an answer not complete within timeout, has timed
// out.
struct HttpCheckOptions {
    std::size_t jobs = 16;
    std::size_t perHost = 4;
    std::chrono::milliseconds connectTimeout{10'000};
    std::chrono::milliseconds timeout{20'000};
    int maxRedirects = 10;
    // Host names given their network address without asking the name service, "host:port:address"
    // each; the tests and the benchmark point names at 127.0.0.1 so.
    std::vector<std::string> fixedHosts;
};

// What became of asking for one address.
struct HttpOutcome {
    enum class Failure {
        None,             // the server answered with status
        HostNotFound,     // the host name does not resolve
        NoConnection,     // refused, or no route to the host
        TimedOut,         // also after the second try
        SecureConnection, // TLS failed: an untrusted certificate, a handshake that failed
        TooManyRedirects,
        RedirectNotWeb,   // a redirect to an address other than http or https, not followed
        BadAddress,       // not an address that can be asked for
        Cancelled,        // not done when the check was cancelled
        Other,            // any other failure of the network, in detail
    };
    Failure failure = Failure::Cancelled;
    long status = 0;           // the last HTTP status received; 0 when none was
    bool retried = false;      // asked a second time after a timeout or a 5xx answer
    std::string movedTo;       // where the permanent redirects (301, 308) at the start lead
    std::string finalAddress;  // the last address asked, when redirects led away from the first
    std::string detail;        // the network library's words for a failure
};

// Shared by the thread that checks and a thread that watches it: how many addresses are done,
// the one taken in hand last, and the wish to stop.
class HttpCheckProgress {
public:
    std::size_t done() const { return m_done.load(); }
    std::string inHand() const;
    void cancel();
    bool cancelled() const { return m_cancelled.load(); }

    // For the checker: what it is at, and how Cancel wakes it while it waits for the network.
    void setInHand(std::string_view address);
    void addDone() { ++m_done; }
    void setWake(std::function<void()> wake);

private:
    std::atomic<std::size_t> m_done{0};
    std::atomic<bool> m_cancelled{false};
    mutable std::mutex m_mutex;
    std::string m_inHand;
    std::function<void()> m_wake;
};

// Asks for every address (http:// or https://, as UTF-8 with anything else percent-encoded) as a
// link checker does: HEAD first, and GET, stopped once the headers are in, when the server refuses
// HEAD (405, 501) or breaks off its answer to it; redirects followed one at a time, up to
// maxRedirects and only to http and https; one more try after a timeout or a 5xx answer;
// certificates verified; no cookies kept; a User-Agent naming Velloria. Returns one outcome per
// address, in their order; when cancelled, it stops at once and the addresses not done are
// Failure::Cancelled. Throws Error when the network library cannot be started.
std::vector<HttpOutcome> checkHttpAddresses(const std::vector<std::string>& addresses, const HttpCheckOptions& options,
                                            HttpCheckProgress& progress);

} // namespace velloria
