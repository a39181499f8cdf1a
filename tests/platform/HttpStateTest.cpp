#include <gtest/gtest.h>

#include "LoopbackServer.h"
#include "Polling.h"
#include "RawHttpServer.h"
#include "platform/HttpRequest.h"
#include "platform/KernelObjects.h"

using platform::HttpRequest;
namespace httperr = platform::httperr;
using kestest::Fetch;
using kestest::Gate;
using kestest::PollUntil;

namespace {

// Polls a while as the worker would; true when the state never moved from `state`.
bool StaysAt(HttpRequest& request, int state) {
    for (int turn = 0; turn < 50; ++turn) {
        if (request.readyState() != state) {
            return false;
        }
        platform::Sleep(1);
    }
    return true;
}

// Polls (the request only moves while polled) until the server side opens the gate; the
// request must stay in state 1 meanwhile.
::testing::AssertionResult PollUntilOpen(HttpRequest& request, Gate& gate) {
    for (int turn = 0; turn < 20000 && !gate.IsOpen(); ++turn) {
        if (request.readyState() != 1) {
            return ::testing::AssertionFailure() << "left state 1: " << request.readyState();
        }
        platform::Sleep(1);
    }
    return gate.IsOpen() ? ::testing::AssertionSuccess()
                         : ::testing::AssertionFailure() << "the server never got there";
}

class HttpState : public ::testing::Test {
  protected:
    kestest::LoopbackServer server_;
};

}  // namespace

TEST_F(HttpState, StatesFollowTheResponseAsItArrives) {
    Gate& requestArrived = server_.NewGate();
    Gate& sendHeaders = server_.NewGate();
    Gate& sendFirstPart = server_.NewGate();
    Gate& finish = server_.NewGate();
    server_.Http().Get("/slow", [&](const httplib::Request&, httplib::Response& res) {
        requestArrived.Open();
        sendHeaders.Wait();
        res.set_chunked_content_provider("application/octet-stream",
                                         [&](size_t, httplib::DataSink& sink) {
                                             sendFirstPart.Wait();
                                             sink.write("part one,", 9);
                                             finish.Wait();
                                             sink.write("part two", 8);
                                             sink.done();
                                             return true;
                                         });
    });
    server_.Start();

    HttpRequest request;
    EXPECT_EQ(request.readyState(), 0);
    request.open("GET", server_.Url("/slow"));
    EXPECT_EQ(request.readyState(), 1);
    request.send();
    ASSERT_TRUE(PollUntilOpen(request, requestArrived));
    EXPECT_TRUE(StaysAt(request, 1));
    EXPECT_THROW((void)request.status(), tessel::ComError);

    sendHeaders.Open();
    ASSERT_TRUE(PollUntil(request, 2));
    EXPECT_EQ(request.readyState(), 2);
    EXPECT_EQ(request.status(), 200);

    sendFirstPart.Open();
    ASSERT_TRUE(PollUntil(request, 3));
    EXPECT_TRUE(StaysAt(request, 3));
    EXPECT_EQ(request.responseBody(), "part one,");

    finish.Open();
    ASSERT_TRUE(PollUntil(request, 4));
    EXPECT_FALSE(request.Failed()) << request.ErrorDescription();
    EXPECT_EQ(request.responseBody(), "part one,part two");
}

TEST_F(HttpState, ServerThatNeverAnswersStaysAtOneUntilAborted) {
    Gate& arrived = server_.NewGate();
    Gate& never = server_.NewGate();
    server_.Http().Get("/silent", [&](const httplib::Request&, httplib::Response& res) {
        arrived.Open();
        never.Wait();
        res.set_content("late", "text/plain");
    });
    server_.Http().Get("/quick", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("quick", "text/plain");
    });
    server_.Start();

    HttpRequest request;
    request.open("GET", server_.Url("/silent"));
    request.send();
    ASSERT_TRUE(PollUntilOpen(request, arrived));
    EXPECT_TRUE(StaysAt(request, 1));
    // A readable wake descriptor ends the wait at once; without it this sleeps an hour.
    auto cancel = platform::CreateEventA(true, true, "");
    request.waitForActivity(3'600'000, platform::EventDescriptor(cancel));
    EXPECT_EQ(request.readyState(), 1);

    request.abort();
    EXPECT_EQ(request.readyState(), 0);
    EXPECT_FALSE(request.Failed());
    EXPECT_THROW((void)request.status(), tessel::ComError);
    EXPECT_TRUE(request.responseBody().empty());

    // The object can be opened again after an abort.
    ASSERT_TRUE(Fetch(request, server_.Url("/quick")));
    EXPECT_EQ(request.responseBody(), "quick");
}

TEST_F(HttpState, RedirectHeadersDoNotCountAsTheAnswer) {
    Gate& targetReached = server_.NewGate();
    Gate& release = server_.NewGate();
    server_.Http().Get("/from", [](const httplib::Request&, httplib::Response& res) {
        res.set_redirect("/to", 302);
        res.set_content("redirect body", "text/plain");
    });
    server_.Http().Get("/to", [&](const httplib::Request&, httplib::Response& res) {
        targetReached.Open();
        release.Wait();
        res.set_content("final", "text/plain");
    });
    server_.Start();

    HttpRequest request;
    request.open("GET", server_.Url("/from"));
    request.send();
    ASSERT_TRUE(PollUntilOpen(request, targetReached));
    // The 302 and its body are in, but the final answer has not started.
    EXPECT_TRUE(StaysAt(request, 1));
    release.Open();
    ASSERT_TRUE(PollUntil(request, 4));
    EXPECT_EQ(request.status(), 200);
    EXPECT_EQ(request.responseBody(), "final");
}

TEST_F(HttpState, AbortWhileTheBodyArrives) {
    Gate& partWritten = server_.NewGate();
    Gate& finish = server_.NewGate();
    server_.Http().Get("/stream", [&](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("application/octet-stream",
                                         [&](size_t, httplib::DataSink& sink) {
                                             sink.write("some", 4);
                                             partWritten.Open();
                                             finish.Wait();
                                             sink.done();
                                             return true;
                                         });
    });
    server_.Start();

    HttpRequest request;
    request.open("GET", server_.Url("/stream"));
    request.send();
    ASSERT_TRUE(PollUntil(request, 3));
    request.abort();
    EXPECT_EQ(request.readyState(), 0);
    EXPECT_TRUE(request.responseBody().empty());
    EXPECT_THROW((void)request.statusText(), tessel::ComError);
}

TEST(HttpHeaders, RequestCarriesItsHeadersExactly) {
    kestest::RawHttpServer server("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok");
    const auto url = server.Url("/search?q=a%20b&num=10");
    HttpRequest request;
    request.open("GET", url);
    request.setRequestHeader("GET", url);
    request.setRequestHeader("Range", "bytes=0-99");
    request.setRequestHeader("X-Empty", "");
    request.send();
    ASSERT_TRUE(PollUntil(request, 4));
    ASSERT_FALSE(request.Failed()) << request.ErrorDescription();

    const auto head = server.LastRequest();
    EXPECT_EQ(head.rfind("GET /search?q=a%20b&num=10 HTTP/1.1\r\n", 0), 0u) << head;
    EXPECT_NE(head.find("\r\nGET: " + url + "\r\n"), std::string::npos) << head;
    EXPECT_NE(head.find("\r\nRange: bytes=0-99\r\n"), std::string::npos) << head;
    EXPECT_NE(head.find("\r\nX-Empty:"), std::string::npos) << head;
    EXPECT_NE(head.find("\r\nUser-Agent: Kestrova/"), std::string::npos) << head;
    EXPECT_NE(head.find("\r\nAccept-Encoding: "), std::string::npos) << head;
}

TEST(HttpHeaders, BlanksInTheUrlAreEscaped) {
    kestest::RawHttpServer server("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok");
    HttpRequest request;
    ASSERT_TRUE(Fetch(request, server.Url("/a b?q=c d")));
    ASSERT_FALSE(request.Failed()) << request.ErrorDescription();
    const auto head = server.LastRequest();
    EXPECT_EQ(head.rfind("GET /a%20b?q=c%20d HTTP/1.1\r\n", 0), 0u) << head;
}

TEST_F(HttpState, SynchronousSendReturnsComplete) {
    server_.Http().Get("/page", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("whole", "text/plain");
    });
    server_.Start();
    HttpRequest request;
    request.open("GET", server_.Url("/page"), false);
    request.send();
    EXPECT_EQ(request.readyState(), 4);
    EXPECT_EQ(request.responseBody(), "whole");
}

TEST(HttpMisuse, RefusedBeforeAnythingIsSent) {
    HttpRequest request;
    auto numberOf = [](auto&& call) {
        try {
            call();
        } catch (const tessel::ComError& error) {
            return error.Number();
        }
        return 0;
    };
    EXPECT_EQ(numberOf([&] { request.send(); }), httperr::kInvalidState);
    EXPECT_EQ(numberOf([&] { request.setRequestHeader("A", "b"); }), httperr::kInvalidState);
    EXPECT_EQ(numberOf([&] { (void)request.status(); }), httperr::kInvalidState);
    EXPECT_EQ(numberOf([&] { request.open("POST", "http://127.0.0.1/"); }),
              httperr::kInvalidArgument);
    EXPECT_EQ(numberOf([&] { request.open("GET", "ftp://127.0.0.1/"); }),
              httperr::kInvalidArgument);
    EXPECT_EQ(numberOf([&] { request.open("GET", "file:///etc/hostname"); }),
              httperr::kInvalidArgument);
    EXPECT_EQ(numberOf([&] { request.open("GET", "127.0.0.1/"); }), httperr::kInvalidArgument);
    EXPECT_EQ(request.readyState(), 0);

    request.open("get", "HTTP://127.0.0.1:1/");
    EXPECT_EQ(request.readyState(), 1);
    // Header injection through a name or a value.
    EXPECT_EQ(numberOf([&] { request.setRequestHeader("X", "a\r\nHost: evil"); }),
              httperr::kInvalidArgument);
    EXPECT_EQ(numberOf([&] { request.setRequestHeader("X: y", "a"); }), httperr::kInvalidArgument);
    EXPECT_EQ(numberOf([&] { request.setRequestHeader("", "a"); }), httperr::kInvalidArgument);
}

TEST(HttpMisuse, NoSecondSendAndNoHeadersAfterSend) {
    kestest::LoopbackServer server;
    server.Http().Get("/", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("x", "text/plain");
    });
    server.Start();
    HttpRequest request;
    ASSERT_TRUE(Fetch(request, server.Url("/")));
    EXPECT_THROW(request.send(), tessel::ComError);
    EXPECT_THROW(request.setRequestHeader("A", "b"), tessel::ComError);
    EXPECT_EQ(request.responseBody(), "x");
}

TEST(HttpAvailability, LibcurlInitialises) {
    EXPECT_TRUE(platform::HttpAvailable());
}
