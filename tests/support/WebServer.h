#pragma once

#include <chrono>
#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velloria::test {

// A web server on 127.0.0.1, on a free port, for the link checker's tests and benchmark, with a
// page for every kind of answer and a record of what it was asked:
//   /ok 200; /moved 301 to /ok; /chain 308 to /moved; /relative 301 to "ok"; /temp 302, /see 303,
//   /temp307 307 to /ok; /moved-temp 301 to /temp; /missing 404; /gone 410; /forbidden 403;
//   /flaky 500 on the first request, then 200; /down 500 always; /nohead 405 to HEAD, 200 to
//   GET; /nohead501 501 to HEAD; /nohead-big the same with a body of 64 MB to GET; /to-file 302
//   to file:///etc/passwd; /loop 302 to itself; /cookie 302 to /ok, setting a cookie;
//   /slow 200 once released (or after 5 s); /hold 200 after 30 ms.
// Every answer waits the delay given first.
class WebServer {
public:
    explicit WebServer(std::chrono::milliseconds delay = {});
    ~WebServer(); // releases the slow pages and waits for every answer
    WebServer(const WebServer&) = delete;
    WebServer& operator=(const WebServer&) = delete;

    int port() const;
    // "http://127.0.0.1:PORT" and the path.
    std::string address(std::string_view path) const;
    // What the server was asked so far.
    struct Record {
        std::vector<std::string> requests; // "METHOD path", in the order they came
        std::vector<std::string> userAgents;
        std::size_t mostAtOnce = 0; // the most requests answered at once, of all and per Host header
        std::map<std::string, std::size_t> mostAtOnceByHost;
        bool cookieSent = false;  // a request came with a Cookie header
        bool bigBodySent = false; // the 64 MB body went out in full
    };
    Record record() const;
    void releaseSlowPages();

    // A port on 127.0.0.1 where nothing listens.
    static int closedPort();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace velloria::test
