// The wait a refused answer asks for, and the three forms of an HTTP date.
#include <gtest/gtest.h>

#include "job/ServerWait.h"

using fetchcore::AskedWait;
using fetchcore::ParseHttpDate;
using std::chrono::seconds;

namespace {

fetchcore::DownloadResult Refused(int status, std::vector<std::string> headers) {
    fetchcore::DownloadResult result;
    result.Exchange.Status = status;
    result.Exchange.Hops.push_back({"HTTP/1.1 302 Found", 302, {"Retry-After: 1"}, ""});
    result.Exchange.Hops.push_back({"", status, std::move(headers), ""});
    result.Exchange.ReceivedAt = *ParseHttpDate("Sun, 06 Nov 1994 08:49:37 GMT");
    return result;
}

TEST(ServerWait, SecondsOrADateInRetryAfterElseTheFirstNumberOfTheRateLimitReset) {
    EXPECT_EQ(AskedWait(Refused(429, {"Retry-After: 5"})), seconds(5));
    EXPECT_EQ(AskedWait(Refused(503, {"retry-after:  120 "})), seconds(120));
    EXPECT_EQ(AskedWait(Refused(429, {"X-RateLimit-Reset: 1, 1419704"})), seconds(1));
    EXPECT_EQ(AskedWait(Refused(429, {"X-RateLimit-Reset: 7"})), seconds(7));
    EXPECT_EQ(AskedWait(Refused(429, {"X-RateLimit-Reset: 9, 1", "Retry-After: 2"})), seconds(2));
    // A date counts from the answer's own Date, else from when the answer came.
    EXPECT_EQ(AskedWait(Refused(429, {"Retry-After: Sun, 06 Nov 1994 08:50:07 GMT"})), seconds(30));
    EXPECT_EQ(AskedWait(Refused(429, {"Date: Sun, 06 Nov 1994 08:50:00 GMT",
                                      "Retry-After: Sun, 06 Nov 1994 08:50:07 GMT"})),
              seconds(7));
    EXPECT_EQ(AskedWait(Refused(429, {"Retry-After: Sun, 06 Nov 1994 08:00:00 GMT"})), seconds(0));
}

TEST(ServerWait, NothingForOtherStatusesOrWithoutAReadableWait) {
    EXPECT_FALSE(AskedWait(Refused(500, {"Retry-After: 5"})));
    EXPECT_FALSE(AskedWait(Refused(404, {"Retry-After: 5"})));
    EXPECT_FALSE(AskedWait(Refused(429, {})));
    for (const std::string header :
         {"Retry-After: -3", "Retry-After: 5s", "Retry-After: soon",
          "Retry-After:", "X-RateLimit-Reset: , 5", "X-RateLimit-Reset: one, 5"}) {
        EXPECT_FALSE(AskedWait(Refused(429, {header}))) << header;
    }
    fetchcore::DownloadResult none;
    none.Exchange.Status = 429;
    EXPECT_FALSE(AskedWait(none)) << "no answer came";
}

TEST(ServerWait, AnHttpDateInItsThreeFormsAndNothingElse) {
    const auto expected = std::chrono::sys_days(std::chrono::year(1994) / 11 / 6) +
                          std::chrono::hours(8) + std::chrono::minutes(49) + seconds(37);
    EXPECT_EQ(ParseHttpDate("Sun, 06 Nov 1994 08:49:37 GMT"), expected);
    EXPECT_EQ(ParseHttpDate("Sunday, 06-Nov-94 08:49:37 GMT"), expected);
    EXPECT_EQ(ParseHttpDate("Sun Nov  6 08:49:37 1994"), expected);
    EXPECT_EQ(ParseHttpDate("Wednesday, 01-Jan-25 00:00:00 GMT"),
              std::chrono::sys_days(std::chrono::year(2025) / 1 / 1));
    for (const std::string text :
         {"", "Sun, 06 Nov 1994 08:49:37", "Sun, 06 Nov 1994 08:49:37 GMT+1",
          "Sun, 31 Feb 1994 08:49:37 GMT", "Sun, 06 Nox 1994 08:49:37 GMT",
          "Sun, 06 Nov 1994 24:00:00 GMT", "1994-11-06T08:49:37Z", "120"}) {
        EXPECT_FALSE(ParseHttpDate(text)) << text;
    }
}

}  // namespace
