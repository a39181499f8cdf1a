#include <gtest/gtest.h>

#include "fetchcore/FileNaming.h"

using fetchcore::FileNameEncode;
using fetchcore::KeywordFolderName;
using fetchcore::URL2FileName;

TEST(URL2FileName, StripsTheSchemeAndBlanksWhatFilesCannotHold) {
    EXPECT_EQ(URL2FileName(7, "http://example.com/a?b"), "007-example.com a b.htm");
    EXPECT_EQ(URL2FileName(1, "http://example.com/"), "001-example.com.htm");
    EXPECT_EQ(URL2FileName(2, "https://example.com/x"), "002-example.com x.htm");
    EXPECT_EQ(URL2FileName(3, "ftp://files.example.com/"), "003-files.example.com.htm");
    EXPECT_EQ(URL2FileName(4, "news.example.com/"), "004-news.example.com.htm");
}

TEST(URL2FileName, AnUpperCaseSchemeIsKeptAsLetters) {
    EXPECT_EQ(URL2FileName(5, "HTTP://Example.com/p"), "005-HTTP   Example.com p.htm");
}

TEST(URL2FileName, KeepsAnHtmlEndingInAnyCase) {
    EXPECT_EQ(URL2FileName(1, "http://e.com/INDEX.HTML"), "001-e.com INDEX.HTML");
    EXPECT_EQ(URL2FileName(1, "http://e.com/a.Htm"), "001-e.com a.Htm");
    EXPECT_EQ(URL2FileName(1, "http://e.com/a.html5"), "001-e.com a.html5.htm");
}

TEST(URL2FileName, NumbersArePaddedToThreeDigitsAndNoMore) {
    EXPECT_EQ(URL2FileName(12, "http://e.com"), "012-e.com.htm");
    EXPECT_EQ(URL2FileName(150, "http://e.com"), "150-e.com.htm");
    EXPECT_EQ(URL2FileName(1000, "http://e.com"), "1000-e.com.htm");
    EXPECT_EQ(URL2FileName(99, "http://e.com"), "099-e.com.htm");
}

TEST(URL2FileName, ClassesEveryByte) {
    // Control codes and the forbidden punctuation become blanks; every byte from 127 up stays.
    EXPECT_EQ(URL2FileName(1, "http://a\x01\"%*/:;<=>?\\|b"),
              "001-a" + std::string(13, ' ') + "b.htm");
    EXPECT_EQ(URL2FileName(1, "http://caf\xC3\xA9.fr/\xE2\x82\xAC"),
              "001-caf\xC3\xA9.fr \xE2\x82\xAC.htm");
    EXPECT_EQ(URL2FileName(1, "http://a/!#$&'()+,-.@[]^_`{}~"), "001-a !#$&'()+,-.@[]^_`{}~.htm");
    EXPECT_EQ(URL2FileName(1, "http://"), "001-.htm");
    EXPECT_EQ(URL2FileName(1, "http:"), "001-.htm");
}

TEST(FileNameEncode, ReplacesOnlyTheForbiddenCharacters) {
    EXPECT_EQ(FileNameEncode("say \"hi\": now?"), "say 'hi'_ now_");
    EXPECT_EQ(FileNameEncode("a\\b/c*d<e>f|g"), "a_b_c_d_e_f_g");
    EXPECT_EQ(FileNameEncode("caf\xC3\xA9 %20 ."), "caf\xC3\xA9 %20 .");
}

TEST(KeywordFolderName, TheKeywordFolderGoesThroughFileNameEncode) {
    EXPECT_EQ(KeywordFolderName("a:b?c"), "a_b_c");
    EXPECT_EQ(KeywordFolderName("x/../y"), "x_.._y") << "never nested";
    EXPECT_EQ(KeywordFolderName("\"q\""), "'q'");
    EXPECT_EQ(KeywordFolderName("..."), "...");
}

TEST(KeywordFolderName, AKeywordNamingTheFolderItselfOrItsParentBecomesAnUnderscore) {
    EXPECT_EQ(KeywordFolderName(""), "_");
    EXPECT_EQ(KeywordFolderName("."), "_");
    EXPECT_EQ(KeywordFolderName(".."), "_");
    EXPECT_EQ(KeywordFolderName(std::string("..\0x", 4)), ".._x");
}

TEST(SavedPagePath, OutputFolderKeywordFolderAndFileName) {
    EXPECT_EQ(fetchcore::SavedPagePath("/out", "..", 1, "http://h/"), "/out/_/001-h.htm");
    EXPECT_EQ(fetchcore::SavedPagePath("/out/", "a/b", 12, "http://h/x"), "/out/a_b/012-h x.htm");
}
