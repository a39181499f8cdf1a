#include <gtest/gtest.h>

#include "tessel/JsonText.h"

namespace tessel {
namespace {

TEST(JsonText, JsonStringsStayValidForAnyBytes) {
    EXPECT_EQ(JsonString("a\\b\x01\x7f"), "\"a\\\\b\\u0001\x7f\"");
    EXPECT_EQ(JsonString("caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80"),
              "\"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80\"");
    // Bytes outside a well-formed sequence: a lone Latin-1 byte, a cut sequence, an
    // overlong form and an encoded surrogate.
    EXPECT_EQ(JsonString("caf\xe9"), "\"caf\\u00e9\"");
    EXPECT_EQ(JsonString("\xe2\x82"), "\"\\u00e2\\u0082\"");
    EXPECT_EQ(JsonString("\xc0\xaf"), "\"\\u00c0\\u00af\"");
    EXPECT_EQ(JsonString("\xed\xa0\x80"), "\"\\u00ed\\u00a0\\u0080\"");
}

}  // namespace
}  // namespace tessel
