#include "support/WebServer.h"

#include <httplib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace velloria::test {

struct WebServer::State {
    httplib::Server server;
    std::thread thread;
    int port = 0;
    std::chrono::milliseconds delay{};
    mutable std::mutex mutex;
    std::condition_variable released;
    bool slowReleased = false;
    Record record;
    std::map<std::string, std::size_t> active;
    std::size_t activeAll = 0;
    std::map<std::string, int> seen;

    // Counts the request as answered until the handler returns; gives how often its path was asked.
    struct Visit {
        State& state;
        std::string host;
        int count;
        ~Visit()
        {
            const std::lock_guard lock(state.mutex);
            --state.active[host];
            --state.activeAll;
        }
    };
    Visit visit(const httplib::Request& request)
    {
        std::string host = request.get_header_value("Host");
        int count = 0;
        {
            const std::lock_guard lock(mutex);
            record.requests.push_back(request.method + " " + request.path);
            record.userAgents.push_back(request.get_header_value("User-Agent"));
            record.cookieSent = record.cookieSent || request.has_header("Cookie");
            std::size_t& mostOfHost = record.mostAtOnceByHost[host];
            mostOfHost = std::max(mostOfHost, ++active[host]);
            record.mostAtOnce = std::max(record.mostAtOnce, ++activeAll);
            count = ++seen[request.method + request.path];
        }
        if (delay.count() > 0)
            std::this_thread::sleep_for(delay);
        return Visit{*this, std::move(host), count};
    }

    void page(const std::string& path, std::function<void(const httplib::Request&, httplib::Response&, int)> answer)
    {
        server.Get(path, [this, answer](const httplib::Request& request, httplib::Response& response) {
            const Visit counted = visit(request);
            answer(request, response, counted.count);
        });
    }
};

namespace {

void redirect(httplib::Response& response, int status, const std::string& to)
{
    response.status = status;
    response.set_header("Location", to);
}

} // namespace

WebServer::WebServer(std::chrono::milliseconds delay) : m_state(std::make_unique<State>())
{
    State& s = *m_state;
    s.delay = delay;
    // The checker is to reach this server directly, whatever proxy the machine names.
    ::setenv("no_proxy", "*", 1);
    ::setenv("NO_PROXY", "*", 1);
    // A thread per connection kept open.
    s.server.new_task_queue = [] { return new httplib::ThreadPool(96); };
    s.server.set_tcp_nodelay(true); // an answer goes out at once, not held for an acknowledgement
    const auto isHead = [](const httplib::Request& request) { return request.method == "HEAD"; };
    s.page("/ok", [](auto&, auto& response, int) { response.set_content("fine", "text/plain"); });
    for (const auto& [path, status, to] : std::vector<std::tuple<std::string, int, std::string>>{
             {"/moved", 301, "/ok"}, {"/chain", 308, "/moved"}, {"/relative", 301, "ok"}, {"/temp", 302, "/ok"},
             {"/see", 303, "/ok"}, {"/temp307", 307, "/ok"}, {"/moved-temp", 301, "/temp"},
             {"/to-file", 302, "file:///etc/passwd"}, {"/loop", 302, "/loop"}})
        s.page(path, [status = status, to = to](auto&, auto& response, int) { redirect(response, status, to); });
    s.page("/cookie", [](auto&, auto& response, int) {
        response.set_header("Set-Cookie", "session=1; Path=/");
        redirect(response, 302, "/ok");
    });
    s.page("/missing", [](auto&, auto& response, int) { response.status = 404; });
    s.page("/gone", [](auto&, auto& response, int) { response.status = 410; });
    s.page("/forbidden", [](auto&, auto& response, int) { response.status = 403; });
    s.page("/flaky", [](auto&, auto& response, int count) { response.status = count == 1 ? 500 : 200; });
    s.page("/down", [](auto&, auto& response, int) { response.status = 500; });
    s.page("/nohead", [isHead](auto& request, auto& response, int) { response.status = isHead(request) ? 405 : 200; });
    s.page("/nohead501", [isHead](auto& request, auto& response, int) { response.status = isHead(request) ? 501 : 200; });
    s.page("/nohead-big", [isHead, &s](auto& request, auto& response, int) {
        if (isHead(request)) {
            response.status = 405;
            return;
        }
        constexpr std::size_t kSize = 64u << 20;
        response.set_content_provider(kSize, "application/octet-stream",
                                      [&s, chunk = std::string(1 << 16, 'x')](std::size_t offset, std::size_t,
                                                                              httplib::DataSink& sink) {
                                          if (!sink.write(chunk.data(), chunk.size()))
                                              return false;
                                          if (offset + chunk.size() >= kSize) {
                                              const std::lock_guard lock(s.mutex);
                                              s.record.bigBodySent = true;
                                          }
                                          return true;
                                      });
    });
    s.page("/slow", [&s](auto&, auto& response, int) {
        std::unique_lock lock(s.mutex);
        s.released.wait_for(lock, std::chrono::seconds(5), [&s] { return s.slowReleased; });
        response.set_content("late", "text/plain");
    });
    s.page("/hold", [](auto&, auto& response, int) {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        response.set_content("held", "text/plain");
    });
    int listener = -1;
    s.server.set_socket_options([&listener](int socket) {
        const int yes = 1;
        ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        listener = socket;
    });
    s.port = s.server.bind_to_any_port("127.0.0.1");
    // The library listens with a queue of 5 connections, which sixteen made at once overflow: a
    // connection refused so is tried again a second later.
    if (s.port <= 0 || ::listen(listener, 128) != 0)
        throw std::runtime_error("the test web server could not listen on 127.0.0.1");
    s.thread = std::thread([&s] { s.server.listen_after_bind(); });
    while (!s.server.is_running()) // stop() does nothing to a server not yet running
        std::this_thread::yield();
}

WebServer::~WebServer()
{
    releaseSlowPages();
    m_state->server.stop();
    m_state->thread.join();
}

int WebServer::port() const
{
    return m_state->port;
}

std::string WebServer::address(std::string_view path) const
{
    return "http://127.0.0.1:" + std::to_string(m_state->port) + std::string(path);
}

WebServer::Record WebServer::record() const
{
    const std::lock_guard lock(m_state->mutex);
    return m_state->record;
}

void WebServer::releaseSlowPages()
{
    {
        const std::lock_guard lock(m_state->mutex);
        m_state->slowReleased = true;
    }
    m_state->released.notify_all();
}

int WebServer::closedPort()
{
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{.sin_family = AF_INET, .sin_port = 0, .sin_addr = {htonl(INADDR_LOOPBACK)}, .sin_zero = {}};
    socklen_t length = sizeof address;
    int port = 0;
    if (socket >= 0 && ::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
        && ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(socket); // bound, never listening, and now closed
    return port;
}

} // namespace velloria::test
