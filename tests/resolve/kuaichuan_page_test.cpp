#include "resolve/kuaichuan_page.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/code_page.h"
#include "resolve/resolved_page.h"
#include "support/loopback_server.h"

namespace quorvane {
namespace {

// Code page 936 texts: 文件 and the text-document label prefix 文本文档.
const std::string kFile = "\xCE\xC4\xBC\xFE";
const std::string kTextLabel = "\xCE\xC4\xB1\xBE\xCE\xC4\xB5\xB5   (txt)";
const std::string kArchiveLabel7z = "winrar\xD1\xB9\xCB\xF5\xB0\xFC\xCE\xC4\xBC\xFE   (7z)";

const std::string kPage =
    "<div class=\"file\">\r\n"
    "<a class=\"btn\" file_url=\"http://dl.example.com/d/abc?key=1&amp;t=2\" "
    "file_size=16777217 href=\"#\">download</a>\r\n"
    "<span file_name=\"%E6%96%87%E4%BB%B6.txt\">%E6%96%87%E4%BB%B6.txt</span>\r\n"
    "<input type=\"hidden\" id=\"first_file_size\" value='16777217'>\r\n"
    "<input type=\"hidden\" id=\"file_key\" value='d41d8cd98f00b204e9800998ecf8427e'>\r\n"
    "</div>\r\n";

class KuaichuanIn936 : public CodePage936Test {
 protected:
  static Resolved resolve(std::string_view page) { return resolveWith(resolveKuaichuanText, page); }
};

class KuaichuanPageTest : public KuaichuanIn936, public testing::WithParamInterface<PageCase> {};

TEST_P(KuaichuanPageTest, ReadsThePage) {
  EXPECT_EQ(resolve(GetParam().page), GetParam().expected) << GetParam().what;
}

const std::string kMd5 = "d41d8cd98f00b204e9800998ecf8427e";

INSTANTIATE_TEST_SUITE_P(
    Pages, KuaichuanPageTest,
    testing::Values(
        PageCase{"a whole file page",
                 kPage,
                 {"http://dl.example.com/d/abc?key=1&amp;t=2", kFile + ".txt", kTextLabel,
                  "16.00MB", kMd5}},
        PageCase{"the second address wins",
                 R"(file_url="http://a/1" file_size=1 file_url="http://a/2" file_size=2)",
                 {"http://a/2", "", "", "0B", ""}},
        PageCase{"the address runs across other quotes",
                 R"(file_url="a"b"c" file_size=1)",
                 {"a\"b\"c", "", "", "0B", ""}},
        PageCase{"two spaces do not end it: it runs on to the next terminator",
                 R"(file_url="a"  file_size=1 x" file_size=2)",
                 {"a\"  file_size=1 x", "", "", "0B", ""}},
        PageCase{"two spaces and no terminator later: nothing",
                 R"(file_url="a"  file_size=1)",
                 {"", "", "", "0B", ""}},
        PageCase{"no space: nothing", R"(file_url="a"file_size=1)", {"", "", "", "0B", ""}},
        PageCase{"a CR LF inside the address is kept",
                 "file_url=\"a\r\nb\" file_size=1",
                 {"a\r\nb", "", "", "0B", ""}},
        PageCase{"capitals are not the field",
                 R"(FILE_URL="a" FILE_SIZE=1 FILE_NAME="b.txt")",
                 {"", "", "", "0B", ""}},
        PageCase{"a name shorter than three bytes is its own extension",
                 R"(file_name="ab")",
                 {"", "ab", "ab", "0B", ""}},
        PageCase{"a short name in the label table",
                 R"(file_name="7z")",
                 {"", "7z", kArchiveLabel7z, "0B", ""}},
        PageCase{"a name ending in a two-byte character: the extension cuts it",
                 R"(x_file_name="%E6%96%87%E4%BB%B6")",
                 {"", kFile, kFile.substr(1), "0B", ""}},
        PageCase{"an empty size", R"(first_file_size" value=''>)", {"", "", "", "0B", ""}},
        PageCase{"a size that starts with a letter",
                 R"(first_file_size" value='x12'>)",
                 {"", "", "", "0B", ""}},
        PageCase{"a size with letters after its digits",
                 R"(first_file_size" value='12345 B'>)",
                 {"", "", "", "12.05KB", ""}},
        PageCase{"no key element: no MD5, the rest is read",
                 R"(file_url="u" file_size=1 file_name="a.txt" first_file_size" value='1024'>)",
                 {"u", "a.txt", kTextLabel, "1KB", ""}},
        PageCase{
            "several files: each value from its own last occurrence",
            R"(file_url="u1" file_size= file_name="a.txt" first_file_size" value='1'>)"
            R"( file_url="u2" file_size= file_name="b.exe")",
            {"u2", "b.exe", "windows\xBF\xC9\xD6\xB4\xD0\xD0\xCE\xC4\xBC\xFE   (exe)", "1B", ""}},
        PageCase{"an empty page", "", {"", "", "", "0B", ""}},
        PageCase{
            "an error page", "<html><body>404 Not Found</body></html>", {"", "", "", "0B", ""}}),
    [](const testing::TestParamInfo<PageCase>& info) {
      return "case" + std::to_string(info.index);
    });

TEST_F(KuaichuanIn936, KuaichuanEmptyLinkGivesEmptyFields) {
  RecordedFields fields;
  fields.fileName = fields.extension = fields.md5 = "stale";
  EXPECT_EQ(resolveKuaichuanPage("", fields), "");
  EXPECT_EQ(resolved("", fields), (Resolved{"", "", "", "0B", ""}));
}

TEST_F(KuaichuanIn936, ResolvesAPageServedOverHttp) {
  LoopbackServer server;
  server.put("file/abc", kPage);
  RecordedFields fields;
  const Text address = resolveKuaichuanPage(server.url("/file/abc?from=share"), fields);
  EXPECT_EQ(resolved(address, fields), (Resolved{"http://dl.example.com/d/abc?key=1&amp;t=2",
                                                 kFile + ".txt", kTextLabel, "16.00MB", kMd5}));
  EXPECT_EQ(server.requests().size(), 1u);
}

}  // namespace
}  // namespace quorvane
