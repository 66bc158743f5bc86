#include "platform/code_page.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

class CodePageTest : public ::testing::Test {
 protected:
  void TearDown() override { setLocalCodePage("65001"); }
};

TEST_F(CodePageTest, Utf8IllFormedSequencesBecomeOneReplacementEach) {
  EXPECT_EQ(utf8ToUtf16("\xE6\x96\x87"), u"\u6587");
  EXPECT_EQ(utf8ToUtf16("\xCE\xC4.txt"), u"\uFFFD\uFFFD.txt");
  EXPECT_EQ(utf8ToUtf16("\xE4"
                        "1.txt"),
            u"\uFFFD1.txt");
  EXPECT_EQ(utf8ToUtf16(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
  EXPECT_EQ(utf8ToUtf16(""), u"");
}

TEST_F(CodePageTest, Cp936IsTheGbkMappingWithQuestionMarkDefault) {
  ASSERT_TRUE(setLocalCodePage("936"));
  EXPECT_EQ(utf16ToLocal(u"\u6587\u4EF6.txt"), "\xCE\xC4\xBC\xFE.txt");
  EXPECT_EQ(utf16ToLocal(u"\uFFFD\u0E01\U0001F600"), "???");
  EXPECT_EQ(localToUtf16("\xCE\xC4\xBC\xFE"), u"\u6587\u4EF6");
  EXPECT_EQ(utf16ToLocal(u"\uFF1A"), "\xA3\xBA");  // the full-width colon of the labels
}

TEST_F(CodePageTest, OtherConvertersAlsoSubstituteQuestionMark) {
  ASSERT_TRUE(setLocalCodePage("GB18030"));
  EXPECT_EQ(utf16ToLocal(u"a\xD800"), "a?");  // a lone surrogate
  ASSERT_TRUE(setLocalCodePage("ISO-8859-1"));
  EXPECT_EQ(utf16ToLocal(u"\u6587"), "?");
}

TEST_F(CodePageTest, NamesAndFallbacks) {
  EXPECT_TRUE(setLocalCodePage("windows-936"));  // an alias: a warning, not a failure
  EXPECT_EQ(utf16ToLocal(u"\u6587"), "\xCE\xC4");
  EXPECT_FALSE(setLocalCodePage("no-such-code-page"));
  EXPECT_EQ(utf16ToLocal(u"\u6587"), "\xCE\xC4");  // the previous one stays
  ASSERT_TRUE(setLocalCodePage("65001"));
  EXPECT_EQ(utf16ToLocal(u"\u6587"), "\xE6\x96\x87");
  EXPECT_FALSE(systemCodePageName().empty());
}

}  // namespace
}  // namespace quorvane
