#include <gtest/gtest.h>

#include <sstream>

#include "taskcore/KeywordList.h"

namespace kestrova {
namespace {

using Strings = std::vector<std::string>;

TEST(KeywordList, CommentsAndBlankLinesArePassedOverAndBlanksTrimmedAsTheEditorDoes) {
    std::istringstream in(
        "\xEF\xBB\xBFred kites\r\n# birds of prey\n   # indented\n\n   \r\n"
        "  f\xC3\xB6hn  wind \n\ttabbed\t\nC# tutorials\nlast without end");
    EXPECT_EQ(ReadKeywords(in), (Strings{"red kites", "f\xC3\xB6hn  wind", "\ttabbed\t",
                                         "C# tutorials", "last without end"}));
}

TEST(KeywordList, ADashIsStandardInputAndAMissingOrEmptyListIsBadUsage) {
    std::istringstream standardInput("three\n"), comments("# nothing\n\n");
    EXPECT_EQ(LoadKeywords("-", standardInput), Strings{"three"});
    EXPECT_THROW(LoadKeywords("-", comments), KeywordListError);
    EXPECT_THROW(LoadKeywords("/no/such/keywords.txt", standardInput), KeywordListError);
}

}  // namespace
}  // namespace kestrova
