#include "ByteRange.h"

#include <gtest/gtest.h>

namespace serpdouble {
namespace {

using Kind = ByteRange::Kind;

struct RangeCase {
    std::string header;
    std::size_t size;
    Kind kind;
    std::size_t first = 0;
    std::size_t last = 0;
};

TEST(ByteRange, ReadsTheFormsAServerMustHonour) {
    const std::vector<RangeCase> cases = {
        {"bytes=0-99", 1000, Kind::Slice, 0, 99},      {"bytes=0-0", 1000, Kind::Slice, 0, 0},
        {"bytes=0-102399", 1000, Kind::Slice, 0, 999},  // past the end: cut to the body
        {"bytes=10-", 1000, Kind::Slice, 10, 999},     {"bytes=-10", 1000, Kind::Slice, 990, 999},
        {"bytes=-5000", 1000, Kind::Slice, 0, 999},    {"bytes=1000-", 1000, Kind::Unsatisfiable},
        {"bytes=0-9", 0, Kind::Unsatisfiable},         {"bytes=-0", 1000, Kind::Unsatisfiable},
    };
    for (const auto& c : cases) {
        const auto range = ReadByteRange(c.header, c.size);
        EXPECT_EQ(range.kind, c.kind) << c.header;
        if (c.kind == Kind::Slice) {
            EXPECT_EQ(range.first, c.first) << c.header;
            EXPECT_EQ(range.last, c.last) << c.header;
        }
    }
}

TEST(ByteRange, AnythingElseAsksForTheWholeBody) {
    for (const std::string header : {"", "bytes=", "bytes=9-2", "bytes=0-1,5-6", "items=0-9",
                                     "bytes=a-9", "bytes=0-9x", "bytes=99999999999999999999999-"}) {
        EXPECT_EQ(ReadByteRange(header, 1000).kind, Kind::Whole) << header;
    }
}

}  // namespace
}  // namespace serpdouble
