#include <gtest/gtest.h>

#include "tessel/Digest.h"

namespace {

using tessel::Digest;

// The digests of the standards' own test messages, and the same bytes fed in pieces.
TEST(DigestTest, GivesTheStandardValuesWhetherFedWholeOrInPieces) {
    Digest sha1(Digest::Algorithm::Sha1);
    sha1.Update("ab");
    sha1.Update("");
    sha1.Update("c");
    EXPECT_EQ(tessel::Hex(sha1.Value()), "a9993e364706816aba3e25717850c26c9cd0d89d");
    EXPECT_EQ(tessel::Base32(sha1.Value()), "VGMT4NSHA2AWVOR6EVYXQUGCNSONBWE5");
    Digest sha256(Digest::Algorithm::Sha256);
    EXPECT_EQ(tessel::Hex(sha256.Value()),
              "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    sha256.Update("abc");  // a value taken midway does not end the digest
    EXPECT_EQ(tessel::Hex(sha256.Value()),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    Digest moved = std::move(sha256);
    EXPECT_EQ(tessel::Hex(moved.Value()).substr(0, 8), "ba7816bf");
}

TEST(DigestTest, Base32FollowsTheRfcVectorsWithoutPadding) {
    const std::pair<const char*, const char*> vectors[] = {{"", ""},
                                                           {"f", "MY"},
                                                           {"fo", "MZXQ"},
                                                           {"foo", "MZXW6"},
                                                           {"foob", "MZXW6YQ"},
                                                           {"fooba", "MZXW6YTB"},
                                                           {"foobar", "MZXW6YTBOI"}};
    for (const auto& [bytes, text] : vectors) EXPECT_EQ(tessel::Base32(bytes), text) << bytes;
    EXPECT_EQ(tessel::Hex(std::string("\x00\xff\x10", 3)), "00ff10");
}

}  // namespace
