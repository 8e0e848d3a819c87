#include "platform/HttpCheck.h"

#include "base/Error.h"

#include <curl/curl.h>

#include <cctype>
#include <cstring>
#include <deque>
#include <memory>
#include <optional>
#include <unordered_map>

namespace velloria {

std::string HttpCheckProgress::inHand() const
{
    const std::lock_guard lock(m_mutex);
    return m_inHand;
}

void HttpCheckProgress::cancel()
{
    const std::lock_guard lock(m_mutex);
    m_cancelled = true;
    if (m_wake)
        m_wake();
}

void HttpCheckProgress::setWake(std::function<void()> wake)
{
    const std::lock_guard lock(m_mutex);
    m_wake = std::move(wake);
}

void HttpCheckProgress::setInHand(std::string_view address)
{
    const std::lock_guard lock(m_mutex);
    m_inHand.assign(address);
}

namespace {

using Failure = HttpOutcome::Failure;

constexpr int kPollMs = 100; // the longest the loop waits for the network; Cancel wakes it at once

void startNetworkLibrary()
{
    static const CURLcode started = curl_global_init(CURL_GLOBAL_DEFAULT);
    if (started != CURLE_OK)
        throw Error(std::string("The network library could not be started: ") + curl_easy_strerror(started));
}

// One address on its way: the address asked now and what the way there has been.
struct Task {
    std::size_t index = 0;
    std::string address;
    bool get = false; // GET instead of HEAD
    bool retried = false;
    int redirects = 0;
    bool permanentSoFar = true; // every redirect so far was permanent
    std::string movedTo;
};

struct Transfer {
    CURL* easy = nullptr;
    bool busy = false;
    Task task;
    std::string host;
    bool bodyStopped = false;
    char error[CURL_ERROR_SIZE] = {};
};

// The body of an answer is not wanted: its first bytes end the transfer, the headers being in.
std::size_t stopAtBody(char*, std::size_t, std::size_t, void* transfer)
{
    static_cast<Transfer*>(transfer)->bodyStopped = true;
    return 0;
}

std::string hostOf(const std::string& address)
{
    std::string host;
    CURLU* url = curl_url();
    char* part = nullptr;
    if (url && curl_url_set(url, CURLUPART_URL, address.c_str(), 0) == CURLUE_OK
        && curl_url_get(url, CURLUPART_HOST, &part, 0) == CURLUE_OK) {
        host = part;
        for (char& c : host)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
    }
    curl_free(part);
    curl_url_cleanup(url);
    return host;
}

bool isWebScheme(std::string_view address)
{
    const auto startsWith = [&](std::string_view scheme) {
        if (address.size() < scheme.size())
            return false;
        for (std::size_t i = 0; i < scheme.size(); ++i)
            if (static_cast<char>(std::tolower(static_cast<unsigned char>(address[i]))) != scheme[i])
                return false;
        return true;
    };
    return startsWith("http://") || startsWith("https://");
}

// Tasks wait per host, and hosts with room take turns, so that no host gets more than its share
// and a long run of one host's links does not hold the others up.
class Queue {
public:
    explicit Queue(std::size_t perHost) : m_perHost(perHost) {}

    void add(Task task, std::string host, bool first)
    {
        Host& entry = m_hosts[host];
        if (first)
            entry.waiting.push_front(std::move(task));
        else
            entry.waiting.push_back(std::move(task));
        offer(host, entry);
    }

    std::optional<std::pair<Task, std::string>> take()
    {
        while (!m_turns.empty()) {
            std::string host = std::move(m_turns.front());
            m_turns.pop_front();
            Host& entry = m_hosts[host];
            entry.offered = false;
            if (entry.waiting.empty() || entry.active >= m_perHost)
                continue;
            Task task = std::move(entry.waiting.front());
            entry.waiting.pop_front();
            ++entry.active;
            offer(host, entry);
            return std::pair{std::move(task), std::move(host)};
        }
        return std::nullopt;
    }

    void finished(const std::string& host)
    {
        Host& entry = m_hosts[host];
        --entry.active;
        offer(host, entry);
    }

private:
    struct Host {
        std::deque<Task> waiting;
        std::size_t active = 0;
        bool offered = false; // in the turns
    };

    void offer(const std::string& host, Host& entry)
    {
        if (!entry.offered && !entry.waiting.empty() && entry.active < m_perHost) {
            entry.offered = true;
            m_turns.push_back(host);
        }
    }

    std::size_t m_perHost;
    std::unordered_map<std::string, Host> m_hosts;
    std::deque<std::string> m_turns;
};

Failure failureOf(CURLcode code)
{
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST: return Failure::HostNotFound;
    case CURLE_COULDNT_CONNECT: return Failure::NoConnection;
    case CURLE_OPERATION_TIMEDOUT: return Failure::TimedOut;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
    case CURLE_USE_SSL_FAILED: return Failure::SecureConnection;
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL: return Failure::BadAddress;
    default: return Failure::Other;
    }
}

// A server that breaks off its answer to HEAD may answer GET.
bool brokeOff(CURLcode code)
{
    switch (code) {
    case CURLE_GOT_NOTHING:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
    case CURLE_BAD_CONTENT_ENCODING: return true;
    default: return false;
    }
}

bool isRedirect(long status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

class Checker {
public:
    Checker(const std::vector<std::string>& addresses, const HttpCheckOptions& options, HttpCheckProgress& progress)
        : m_addresses(addresses), m_options(options), m_progress(progress), m_queue(std::max<std::size_t>(1, options.perHost)),
          m_outcomes(addresses.size()), m_transfers(std::max<std::size_t>(1, options.jobs))
    {
        m_multi = curl_multi_init();
        if (!m_multi)
            throw Error("The network library could not be started");
        curl_multi_setopt(m_multi, CURLMOPT_MAXCONNECTS, static_cast<long>(m_transfers.size() * 2));
        for (const std::string& fixed : options.fixedHosts)
            m_fixedHosts = curl_slist_append(m_fixedHosts, fixed.c_str());
        for (Transfer& transfer : m_transfers) {
            transfer.easy = curl_easy_init();
            if (!transfer.easy)
                throw Error("The network library could not be started");
            m_idle.push_back(&transfer);
        }
        m_userAgent = std::string("Velloria/") + VELLORIA_VERSION + " (link check)";
        m_progress.setWake([multi = m_multi] { curl_multi_wakeup(multi); });
    }

    ~Checker()
    {
        m_progress.setWake({});
        for (Transfer& transfer : m_transfers) {
            if (transfer.easy && m_multi)
                curl_multi_remove_handle(m_multi, transfer.easy); // does nothing to one not added
            curl_easy_cleanup(transfer.easy);
        }
        curl_multi_cleanup(m_multi);
        curl_slist_free_all(m_fixedHosts);
    }

    Checker(const Checker&) = delete;
    Checker& operator=(const Checker&) = delete;

    std::vector<HttpOutcome> run()
    {
        for (std::size_t i = 0; i < m_addresses.size(); ++i)
            m_queue.add({.index = i, .address = m_addresses[i]}, hostOf(m_addresses[i]), false);
        while (!m_progress.cancelled()) {
            startWaiting();
            if (m_idle.size() == m_transfers.size())
                break; // nothing on its way and nothing waiting
            int running = 0;
            curl_multi_perform(m_multi, &running);
            if (!takeFinished() && !m_progress.cancelled())
                curl_multi_poll(m_multi, nullptr, 0, kPollMs, nullptr);
        }
        return std::move(m_outcomes);
    }

private:
    void startWaiting()
    {
        while (!m_idle.empty()) {
            auto next = m_queue.take();
            if (!next)
                return;
            Transfer& transfer = *m_idle.back();
            m_idle.pop_back();
            transfer.task = std::move(next->first);
            transfer.host = std::move(next->second);
            start(transfer);
        }
    }

    void start(Transfer& transfer)
    {
        CURL* easy = transfer.easy;
        curl_easy_reset(easy);
        transfer.bodyStopped = false;
        transfer.error[0] = '\0';
        curl_easy_setopt(easy, CURLOPT_URL, transfer.task.address.c_str());
        curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
        if (transfer.task.get)
            curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
        else
            curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
        curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, stopAtBody);
        curl_easy_setopt(easy, CURLOPT_WRITEDATA, &transfer);
        curl_easy_setopt(easy, CURLOPT_PRIVATE, &transfer);
        curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, transfer.error);
        curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(m_options.connectTimeout.count()));
        curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(m_options.timeout.count()));
        curl_easy_setopt(easy, CURLOPT_USERAGENT, m_userAgent.c_str());
        curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
        // Cancel must not wait for a name lookup to end.
        curl_easy_setopt(easy, CURLOPT_QUICK_EXIT, 1L);
        if (m_fixedHosts)
            curl_easy_setopt(easy, CURLOPT_RESOLVE, m_fixedHosts);
        transfer.busy = true;
        m_progress.setInHand(transfer.task.address);
        if (curl_multi_add_handle(m_multi, easy) != CURLM_OK) {
            transfer.task.retried = true; // not to be tried again
            settle(transfer, Failure::Other, 0, "The request could not be started");
        }
    }

    // What the network library says of a failure; of no connection, what the system said.
    static std::string failureDetail(const Transfer& transfer, CURLcode code)
    {
        long systemError = 0;
        if (code == CURLE_COULDNT_CONNECT && curl_easy_getinfo(transfer.easy, CURLINFO_OS_ERRNO, &systemError) == CURLE_OK
            && systemError != 0)
            return std::strerror(static_cast<int>(systemError));
        return transfer.error[0] != '\0' ? transfer.error : curl_easy_strerror(code);
    }

    // Takes in the transfers that have ended; false when none had.
    bool takeFinished()
    {
        bool any = false;
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(m_multi, &left)) {
            if (message->msg != CURLMSG_DONE)
                continue;
            any = true;
            Transfer* transfer = nullptr;
            curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &transfer);
            const CURLcode code = message->data.result;
            curl_multi_remove_handle(m_multi, message->easy_handle);
            ended(*transfer, code);
        }
        return any;
    }

    void ended(Transfer& transfer, CURLcode code)
    {
        Task& task = transfer.task;
        long status = 0;
        curl_easy_getinfo(transfer.easy, CURLINFO_RESPONSE_CODE, &status);
        const bool answered = code == CURLE_OK || (code == CURLE_WRITE_ERROR && transfer.bodyStopped);
        if (!answered) {
            if (!task.get && brokeOff(code))
                return again(transfer, [](Task& t) { t.get = true; });
            if (code == CURLE_OPERATION_TIMEDOUT && !task.retried)
                return again(transfer, [](Task& t) { t.retried = true; });
            return settle(transfer, failureOf(code), status, failureDetail(transfer, code));
        }
        if (!task.get && (status == 405 || status == 501))
            return again(transfer, [](Task& t) { t.get = true; });
        char* location = nullptr;
        curl_easy_getinfo(transfer.easy, CURLINFO_REDIRECT_URL, &location);
        if (isRedirect(status) && location) {
            const std::string next = location;
            if (!isWebScheme(next)) {
                task.address = next;
                return settle(transfer, Failure::RedirectNotWeb, status, "");
            }
            if (task.redirects >= m_options.maxRedirects)
                return settle(transfer, Failure::TooManyRedirects, status, "");
            const bool permanent = status == 301 || status == 308;
            task.permanentSoFar = task.permanentSoFar && permanent;
            if (task.permanentSoFar)
                task.movedTo = next;
            task.address = next;
            task.get = false;
            ++task.redirects;
            return again(transfer, [](Task&) {});
        }
        if (status >= 500 && !task.retried)
            return again(transfer, [](Task& t) { t.retried = true; });
        settle(transfer, Failure::None, status, "");
    }

    // The task goes back to wait, changed as change says: first in its host's line, unless it is
    // a second try, which waits for its turn.
    template <typename Change>
    void again(Transfer& transfer, Change change)
    {
        const bool triedBefore = transfer.task.retried;
        change(transfer.task);
        const bool secondTry = !triedBefore && transfer.task.retried;
        std::string host = hostOf(transfer.task.address);
        m_queue.finished(transfer.host);
        m_queue.add(std::move(transfer.task), std::move(host), !secondTry);
        setIdle(transfer);
    }

    // The address in hand stays one on its way while there is one.
    void setIdle(Transfer& transfer)
    {
        transfer.busy = false;
        m_idle.push_back(&transfer);
        for (const Transfer& other : m_transfers)
            if (other.busy) {
                m_progress.setInHand(other.task.address);
                return;
            }
    }

    void settle(Transfer& transfer, Failure failure, long status, std::string detail)
    {
        Task& task = transfer.task;
        HttpOutcome& outcome = m_outcomes[task.index];
        outcome.failure = failure;
        outcome.status = status;
        outcome.retried = task.retried;
        outcome.movedTo = std::move(task.movedTo);
        if (task.address != m_addresses[task.index])
            outcome.finalAddress = std::move(task.address);
        if (failure != Failure::None)
            outcome.detail = std::move(detail);
        m_queue.finished(transfer.host);
        setIdle(transfer);
        m_progress.addDone();
    }

    const std::vector<std::string>& m_addresses;
    const HttpCheckOptions& m_options;
    HttpCheckProgress& m_progress;
    Queue m_queue;
    std::vector<HttpOutcome> m_outcomes;
    std::vector<Transfer> m_transfers; // never resized: the handles point at their transfers
    std::vector<Transfer*> m_idle;
    CURLM* m_multi = nullptr;
    curl_slist* m_fixedHosts = nullptr;
    std::string m_userAgent;
};

} // namespace

std::vector<HttpOutcome> checkHttpAddresses(const std::vector<std::string>& addresses, const HttpCheckOptions& options,
                                            HttpCheckProgress& progress)
{
    if (addresses.empty())
        return {};
    startNetworkLibrary();
    Checker checker(addresses, options, progress);
    return checker.run();
}

} // namespace velloria
