// The double's Brave Search API: pages by count and offset within the API's limits, the key
// check, the rate headers, and refusals in the API's own error shape.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "Fetch.h"
#include "serpdouble/SerpDouble.h"

namespace serpdouble {
namespace {

using nlohmann::json;
using test::Fetch;

class BraveRoute : public ::testing::Test {
  protected:
    void Serve(SerpDouble::Options options) {
        server_ = std::make_unique<SerpDouble>(std::move(options));
        server_->Start();
    }
    test::Reply Ask(const std::string& query, const std::string& key = "double-key") {
        return Fetch(
            *server_, "/res/v1/web/search?" + query,
            key.empty() ? httplib::Headers{} : httplib::Headers{{"X-Subscription-Token", key}});
    }
    // The addresses of the answer's web results, and whether it says more are available.
    std::pair<std::vector<std::string>, bool> Read(const std::string& query) {
        const auto reply = Ask(query);
        EXPECT_EQ(reply.status, 200) << query << reply.body;
        const json body = json::parse(reply.body);
        EXPECT_EQ(body.at("type"), "search");
        std::vector<std::string> urls;
        if (body.contains("web")) {
            for (const auto& entry : body.at("web").at("results")) urls.push_back(entry.at("url"));
        }
        return {urls, body.at("query").at("more_results_available").get<bool>()};
    }
    std::vector<std::string> Links(int from, int to) const {
        std::vector<std::string> links;
        for (int i = from; i <= to; ++i) links.push_back(server_->PageURL(i));
        return links;
    }
    static json ErrorOf(const test::Reply& reply) { return json::parse(reply.body).at("error"); }

    std::unique_ptr<SerpDouble> server_;
};

TEST_F(BraveRoute, PagesByCountAndOffsetAndSaysWhetherMoreAreAvailable) {
    SerpDouble::Options options;
    options.totalResults = 23;
    Serve(options);
    EXPECT_EQ(Read("q=kites"), std::make_pair(Links(1, 20), true)) << "count 20 by default";
    EXPECT_EQ(Read("q=kites&count=20&offset=1"), std::make_pair(Links(21, 23), false));
    EXPECT_EQ(Read("q=kites&count=20&offset=2"), std::make_pair(std::vector<std::string>{}, false))
        << "no web results at all";
    EXPECT_EQ(Read("q=kites&count=5&offset=3"), std::make_pair(Links(16, 20), true));

    options.totalResults = 500;
    Serve(options);
    EXPECT_EQ(Read("q=kites&count=20&offset=9"), std::make_pair(Links(181, 200), false))
        << "the last page the API gives";
    const auto reply = Ask("q=kites");
    const json first = json::parse(reply.body).at("web").at("results").at(0);
    EXPECT_EQ(first.at("title"), "Result <strong>1</strong>");
    EXPECT_EQ(first.at("description"), "The text the API shows under result 1.");
    EXPECT_EQ(reply.Header("Content-Type"), "application/json");
    EXPECT_EQ(reply.Header("X-RateLimit-Reset"), "1, 1419704");
    EXPECT_EQ(reply.Header("X-RateLimit-Policy"), "1;w=1, 15000;w=2592000");
}

TEST_F(BraveRoute, RefusesParametersBeyondTheApisLimitsAsValidationErrors) {
    Serve({});
    for (const std::string query : {"q=kites&count=21", "q=kites&count=0", "q=kites&offset=10",
                                    "q=kites&offset=-1", "q=kites&count=x", "q=", "count=5"}) {
        const auto reply = Ask(query);
        EXPECT_EQ(reply.status, 422) << query;
        EXPECT_EQ(json::parse(reply.body).at("type"), "ErrorResponse") << query;
        EXPECT_EQ(ErrorOf(reply).at("code"), "VALIDATION") << query;
    }
}

TEST_F(BraveRoute, ALimitedRequestIsRefusedWithTheRateHeaders) {
    SerpDouble::Options options;
    options.rateLimit = {1, 429, "2", ""};
    Serve(options);
    const auto refused = Ask("q=kites");
    EXPECT_EQ(refused.status, 429);
    EXPECT_EQ(ErrorOf(refused).at("code"), "RATE_LIMITED");
    EXPECT_EQ(refused.Header("Retry-After"), "2");
    EXPECT_EQ(refused.Header("X-RateLimit-Reset"), "1, 1419704");
    EXPECT_EQ(Ask("q=kites").status, 200) << "the same page, asked again";
    EXPECT_EQ(Ask("q=kites&offset=1").status, 429) << "another page is refused once too";
}

}  // namespace
}  // namespace serpdouble
