// The link checker: which addresses are asked for and how, what each answer means, and the
// requests as a server on 127.0.0.1 sees them.

#include "support/WebServer.h"
#include "tools/LinkCheck.h"

#include <gmock/gmock.h>

#include <thread>

namespace velloria {
namespace {

using Failure = HttpOutcome::Failure;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::Le;
using ::testing::StartsWith;

TEST(LinkCheck, WhichAddressesAreAskedForAndHow)
{
    const struct {
        const char* stored;
        std::optional<std::string> asked;
    } cases[] = {
        {" https://Example.com/a?b=1#part ", "https://Example.com/a?b=1"},
        {"HTTP://example.com", "http://example.com"},
        {"www.example.com/x", "http://www.example.com/x"},
        {"localhost:8080/x", "http://localhost:8080/x"},
        {"http://example.com/caf\xC3\xA9 menu", "http://example.com/caf%C3%A9%20menu"}, // UTF-8
        {"http://example.com/caf\xE9", "http://example.com/caf%C3%A9"},                 // Windows-1252
        {"http://b\xC3\xBC" "cher.example/", "http://b\xC3\xBC" "cher.example/"}, // the host stays for IDN
        {"http://example.com/a\"<b>", "http://example.com/a%22%3Cb%3E"},
        {"ftp://example.com/f", std::nullopt},
        {"mailto:a@example.com", std::nullopt},
        {"javascript:void(0)", std::nullopt},
        {"file:///etc/passwd", std::nullopt},
        {"https:example.com", std::nullopt},
        {"my notes", std::nullopt},
        {"/just/a/path", std::nullopt},
        {"http:///nohost", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(addressToCheck(c.stored), c.asked) << c.stored;
}

TEST(LinkCheck, WhatEachOutcomeMeans)
{
    const struct {
        HttpOutcome outcome;
        CheckResult result;
        std::string finalAddress;
    } cases[] = {
        {{.failure = Failure::None, .status = 200}, CheckResult::OK, ""},
        {{.failure = Failure::None, .status = 204, .finalAddress = "http://b/"}, CheckResult::OK, "http://b/"},
        {{.failure = Failure::None, .status = 200, .movedTo = "http://b/", .finalAddress = "http://c/"},
         CheckResult::Moved, "http://b/"},
        {{.failure = Failure::None, .status = 404, .movedTo = "http://b/", .finalAddress = "http://b/"},
         CheckResult::Broken, "http://b/"},
        {{.failure = Failure::None, .status = 410}, CheckResult::Broken, ""},
        {{.failure = Failure::HostNotFound}, CheckResult::Broken, ""},
        {{.failure = Failure::None, .status = 403}, CheckResult::Error, ""},
        {{.failure = Failure::None, .status = 500, .retried = true}, CheckResult::Error, ""},
        {{.failure = Failure::None, .status = 301}, CheckResult::Error, ""}, // a redirect without an address
        {{.failure = Failure::TimedOut}, CheckResult::Error, ""},
        {{.failure = Failure::NoConnection}, CheckResult::Error, ""},
        {{.failure = Failure::Cancelled}, CheckResult::NotChecked, ""},
    };
    for (const auto& c : cases) {
        const LinkCheck check = judge(c.outcome);
        EXPECT_EQ(check.result, c.result) << c.outcome.status << ' ' << static_cast<int>(c.outcome.failure);
        EXPECT_EQ(check.finalAddress, c.finalAddress);
    }
}

class LinkCheckOnServer : public ::testing::Test {
protected:
    std::vector<HttpOutcome> check(const std::vector<std::string>& addresses, HttpCheckOptions options = {})
    {
        HttpCheckProgress progress;
        std::vector<HttpOutcome> outcomes = checkHttpAddresses(addresses, options, progress);
        EXPECT_EQ(progress.done(), addresses.size());
        return outcomes;
    }
    long asked(const std::string& request) const
    {
        const std::vector<std::string> requests = server.record().requests;
        return std::count(requests.begin(), requests.end(), request);
    }

    test::WebServer server;
};

TEST_F(LinkCheckOnServer, EveryKindOfAnswer)
{
    const int closed = test::WebServer::closedPort();
    const std::string tls = "https://127.0.0.1:" + std::to_string(server.port()) + "/ok";
    const struct {
        std::string address;
        Failure failure;
        long status;
        std::string movedTo, finalAddress;
        bool retried = false;
        std::vector<std::string> requests = {};
    } cases[] = {
        {server.address("/ok"), Failure::None, 200, "", "", false, {"HEAD /ok"}},
        {server.address("/moved"), Failure::None, 200, server.address("/ok"), server.address("/ok")},
        {server.address("/chain"), Failure::None, 200, server.address("/ok"), server.address("/ok"), false,
         {"HEAD /chain", "HEAD /moved", "HEAD /ok"}},
        {server.address("/relative"), Failure::None, 200, server.address("/ok"), server.address("/ok")},
        {server.address("/temp"), Failure::None, 200, "", server.address("/ok")},
        {server.address("/see"), Failure::None, 200, "", server.address("/ok")},
        {server.address("/temp307"), Failure::None, 200, "", server.address("/ok")},
        {server.address("/moved-temp"), Failure::None, 200, server.address("/temp"), server.address("/ok")},
        {server.address("/missing"), Failure::None, 404, "", ""},
        {server.address("/gone"), Failure::None, 410, "", ""},
        {server.address("/forbidden"), Failure::None, 403, "", ""},
        {server.address("/flaky"), Failure::None, 200, "", "", true, {"HEAD /flaky", "HEAD /flaky"}},
        {server.address("/down"), Failure::None, 500, "", "", true, {"HEAD /down", "HEAD /down"}},
        {server.address("/nohead"), Failure::None, 200, "", "", false, {"HEAD /nohead", "GET /nohead"}},
        {server.address("/nohead501"), Failure::None, 200, "", "", false, {"HEAD /nohead501", "GET /nohead501"}},
        {server.address("/to-file"), Failure::RedirectNotWeb, 302, "", "file:///etc/passwd", false, {"HEAD /to-file"}},
        {server.address("/loop"), Failure::TooManyRedirects, 302, "", ""}, // where it began
        {"http://127.0.0.1:" + std::to_string(closed) + "/", Failure::NoConnection, 0, "", ""},
        {tls, Failure::SecureConnection, 0, "", ""},
        {"http://127.0.0.1:" + std::to_string(server.port()) + "/a b", Failure::BadAddress, 0, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.address);
        const std::size_t asked = server.record().requests.size();
        const HttpOutcome outcome = check({c.address}).front();
        EXPECT_EQ(outcome.failure, c.failure);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_EQ(outcome.movedTo, c.movedTo);
        EXPECT_EQ(outcome.finalAddress, c.finalAddress);
        EXPECT_EQ(outcome.retried, c.retried);
        const std::vector<std::string> requests = server.record().requests;
        if (!c.requests.empty()) {
            EXPECT_EQ(std::vector(requests.begin() + static_cast<std::ptrdiff_t>(asked), requests.end()), c.requests);
        }
    }
    EXPECT_EQ(asked("HEAD /loop"), 11); // the first and 10 more
    EXPECT_THAT(server.record().userAgents, Each(StartsWith("Velloria/")));
    EXPECT_FALSE(server.record().cookieSent);
    EXPECT_EQ(check({server.address("/cookie"), server.address("/cookie")}).back().status, 200);
    EXPECT_FALSE(server.record().cookieSent); // none kept from the first
}

TEST_F(LinkCheckOnServer, AGetStopsAtTheHeadersAndATimeoutIsTriedOnceMore)
{
    EXPECT_EQ(check({server.address("/nohead-big")}).front().status, 200);
    const HttpOutcome late =
        check({server.address("/slow")}, {.connectTimeout = std::chrono::milliseconds(200), .timeout = std::chrono::milliseconds(200)})
            .front();
    EXPECT_EQ(late.failure, Failure::TimedOut);
    EXPECT_TRUE(late.retried);
    EXPECT_EQ(asked("HEAD /slow"), 2);
    EXPECT_FALSE(server.record().bigBodySent);
}

TEST_F(LinkCheckOnServer, AtMostSoManyAtATimeAndFourToAHost)
{
    // Two names for 127.0.0.1, twelve pages each: without the limit per host, six would run at once.
    HttpCheckOptions options{.jobs = 12};
    std::vector<std::string> addresses;
    for (const char* host : {"a", "b"}) {
        const std::string name = std::string(host) + ".test:" + std::to_string(server.port());
        options.fixedHosts.push_back(name + ":127.0.0.1");
        for (int page = 0; page < 12; ++page)
            addresses.push_back("http://" + name + "/hold?" + std::to_string(page));
    }
    const std::vector<HttpOutcome> outcomes = check(addresses, options);
    EXPECT_THAT(outcomes, Each(::testing::Field(&HttpOutcome::status, 200)));
    EXPECT_LE(server.record().mostAtOnce, 12u);
    EXPECT_GT(server.record().mostAtOnce, 4u); // several hosts at once
    for (const auto& [host, most] : server.record().mostAtOnceByHost)
        EXPECT_LE(most, 4u) << host;
}

TEST_F(LinkCheckOnServer, CancelStopsWhatIsOnItsWayAndLeavesTheRestNotChecked)
{
    const std::vector<std::string> addresses(40, server.address("/slow"));
    HttpCheckProgress progress;
    std::vector<HttpOutcome> outcomes;
    std::thread checking([&] { outcomes = checkHttpAddresses(addresses, {}, progress); });
    while (server.record().requests.size() < 4)
        std::this_thread::yield();
    progress.cancel();
    checking.join();
    EXPECT_THAT(outcomes, Each(::testing::Field(&HttpOutcome::failure, Failure::Cancelled)));
    EXPECT_EQ(progress.done(), 0u);
    EXPECT_THAT(progress.inHand(), StartsWith(server.address("/slow")));
}

TEST_F(LinkCheckOnServer, LinksSharingAnAddressAreAskedOnceAndOthersNotAtAll)
{
    const std::vector<std::string> addresses = {server.address("/ok"), "mailto:x@example.com", server.address("/missing"),
                                                server.address("/ok"), "ftp://127.0.0.1/"};
    std::vector<LibraryLink> links;
    for (const std::string& address : addresses)
        links.push_back({.link = {"t", address, "", ""}});
    const LinkChecker checker(links);
    EXPECT_EQ(checker.addressCount(), 2u);
    HttpCheckProgress progress;
    const std::vector<LinkCheck> checks = checker.run({}, progress);
    std::vector<CheckResult> results;
    for (const LinkCheck& c : checks)
        results.push_back(c.result);
    EXPECT_THAT(results, ElementsAre(CheckResult::OK, CheckResult::NotChecked, CheckResult::Broken, CheckResult::OK,
                                     CheckResult::NotChecked));
    EXPECT_THAT(server.record().requests, ::testing::UnorderedElementsAre("HEAD /ok", "HEAD /missing"));
}

} // namespace
} // namespace velloria
