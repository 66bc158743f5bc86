#include "resolve/netdisk_share.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/code_page.h"
#include "resolve/resolved_page.h"
#include "support/loopback_server.h"

namespace quorvane {
namespace {

// Code page 936 texts: 文件 and the text-document label.
const std::string kFile = "\xCE\xC4\xBC\xFE";
const std::string kTextLabel = "\xCE\xC4\xB1\xBE\xCE\xC4\xB5\xB5   (txt)";
const std::string kMd5 = "0123456789abcdef0123456789abcdef";

// A share page: the file list is JSON written inside a quoted string, so its quotes are
// escaped and its slashes written as "\\/".
const std::string kPage =
    R"(<script>yunData.setData({"file_list":"{\"errno\":0,\"list\":[{\"fs_id\":1,)"
    R"(\"md5\":\"0123456789abcdef0123456789abcdef\",\"size\":\"16777217\",)"
    R"(\"server_filename\":\"x.txt\",\"dlink\":\"https:\\/\\/d.pcs.example.com\\/file\\/)"
    R"(0123?fid=1-2&filename=%E6%96%87%E4%BB%B6.txt\"}]}"});</script>)";

class NetdiskIn936 : public CodePage936Test {
 protected:
  static Resolved resolve(std::string_view page) { return resolveWith(resolveNetdiskText, page); }
};

class NetdiskShareTest : public NetdiskIn936, public testing::WithParamInterface<PageCase> {};

TEST_P(NetdiskShareTest, ReadsThePage) {
  EXPECT_EQ(resolve(GetParam().page), GetParam().expected) << GetParam().what;
}

// The address member alone, as the page writes it: `\"dlink\":\"…\"}`.
std::string dlink(std::string_view address) {
  return R"({\"dlink\":\")" + std::string(address) + R"(\"})";
}

INSTANTIATE_TEST_SUITE_P(
    Pages, NetdiskShareTest,
    testing::Values(
        PageCase{"a whole share page",
                 kPage,
                 {"https://d.pcs.example.com/file/0123?fid=1-2&filename=%E6%96%87%E4%BB%B6.txt",
                  kFile + ".txt", kTextLabel, "16MB", kMd5}},
        PageCase{"every slash escaped",
                 dlink(R"(http:\\/\\/a.example\\/b)"),
                 {"http://a.example/b", "", "", "0B", ""}},
        PageCase{"single escapes only",
                 dlink(R"(http://a.example\\/b\\/c)"),
                 {"http://a.example/b/c", "", "", "0B", ""}},
        PageCase{"no escaped slash",
                 dlink("http://a.example/b"),
                 {"http://a.example/b", "", "", "0B", ""}},
        PageCase{
            "three backslashes and a slash", dlink(R"(a\\\/b)"), {R"(a\/b)", "", "", "0B", ""}},
        PageCase{"four backslashes and a slash", dlink(R"(a\\\\/b)"), {"a/b", "", "", "0B", ""}},
        PageCase{"a two-byte character ending in a backslash, then \\/",
                 dlink("a\x81\\\\/b"),
                 {"a\x81\\\\/b", "", "", "0B", ""}},
        PageCase{"a two-byte character ending in a backslash, then \\\\/",
                 dlink("a\x81\\\\\\/b"),
                 {"a\x81\\/b", "", "", "0B", ""}},
        PageCase{"dlink not the last member: the members between are taken in",
                 R"({\"dlink\":\"http:\\/\\/x\\/y\",\"md5\":\"abc\"})",
                 {R"(http://x/y\",\"md5\":\"abc)", "", "", "0B", "abc"}},
        PageCase{"runs of backslashes and quotes close the address",
                 R"({\\\"dlink\\\":\\\"u\\\""})",
                 {"u", "", "", "0B", ""}},
        PageCase{"no dlink: the rest is still read",
                 R"({\"md5\":\"abc\",\"size\":\"1024\",\"path\":\"\/x?filename=a.txt\"})",
                 {"", "a.txt", kTextLabel, "1KB", "abc"}},
        PageCase{"filename= with no escaped quote after it",
                 R"({\"md5\":\"abc\"} ?filename=a.txt)",
                 {"", "", "", "0B", "abc"}},
        PageCase{"a key that ends in size is read as well",
                 R"({\"filesize\":\"2048\"})",
                 {"", "", "", "2KB", ""}},
        PageCase{"capitals are not the field",
                 R"({\"DLINK\":\"u\"} \"SIZE\":\"1\")",
                 {"", "", "", "0B", ""}},
        PageCase{"an empty page", "", {"", "", "", "0B", ""}}),
    [](const testing::TestParamInfo<PageCase>& info) {
      return "case" + std::to_string(info.index);
    });

TEST_F(NetdiskIn936, NetdiskEmptyLinkGivesEmptyFields) {
  RecordedFields fields;
  fields.fileName = fields.extension = fields.md5 = "stale";
  EXPECT_EQ(resolveNetdiskShare("", fields), "");
  EXPECT_EQ(resolved("", fields), (Resolved{"", "", "", "0B", ""}));
}

TEST_F(NetdiskIn936, ResolvesAPageServedOverHttp) {
  LoopbackServer server;
  server.put("share/link", kPage);
  RecordedFields fields;
  const Text address = resolveNetdiskShare(server.url("/share/link?shareid=1&uk=2"), fields);
  EXPECT_EQ(resolved(address, fields),
            (Resolved{"https://d.pcs.example.com/file/0123?fid=1-2&filename=%E6%96%87%E4%BB%B6.txt",
                      kFile + ".txt", kTextLabel, "16MB", kMd5}));
  EXPECT_EQ(server.requests().size(), 1u);
}

// The clean-up as the service defines it, step by step: quadratic, but plainly right.
Text cleanLiterally(Text address) {
  replaceFirst(address, "\\\\/\\\\/", "//");
  while (replaceFirst(address, "\\\\/", "/")) {
  }
  return address;
}

TEST(CleanNetdiskAddress, Cases) {
  EXPECT_EQ(cleanNetdiskAddress(""), "");
  EXPECT_EQ(cleanNetdiskAddress(R"(http:\\/\\/h\\/p)"), "http://h/p");
  EXPECT_EQ(cleanNetdiskAddress(R"(\\\/)"), R"(\/)");
  EXPECT_EQ(cleanNetdiskAddress(R"(\\\\/)"), "/");
  EXPECT_EQ(cleanNetdiskAddress(R"(\\\\\/)"), R"(\/)");
  // Other escapes stay.
  EXPECT_EQ(cleanNetdiskAddress(R"(a\/b\\u0026c\\\"d)"), R"(a\/b\\u0026c\\\"d)");
}

TEST(CleanNetdiskAddress, GivesWhatTheStepByStepRuleGives) {
  // Backslashes, slashes, plain bytes, two-byte characters whose second byte is a
  // backslash or a slash, and lone lead bytes that take whatever follows them.
  const std::string pieces[] = {"\\", "/", "a", "\x81\\", "\xA3/", "\x81", "\\\\/"};
  std::mt19937 random(20240601);
  for (int round = 0; round < 30000; ++round) {
    std::string address;
    const int count = static_cast<int>(random() % 40);
    for (int i = 0; i < count; ++i)
      address += pieces[random() % std::size(pieces)];
    ASSERT_EQ(cleanNetdiskAddress(address), cleanLiterally(address))
        << testing::PrintToString(address);
  }
}

TEST(CleanNetdiskAddress, ALongRunOfEscapesIsCleanedInOnePass) {
  // A million escaped slashes, and a run that collapses from the far end back to the start.
  std::string escaped;
  for (int i = 0; i < 1'000'000; ++i)
    escaped += "\\\\/";
  EXPECT_EQ(cleanNetdiskAddress(escaped), std::string(1'000'000, '/'));
  EXPECT_EQ(cleanNetdiskAddress(std::string(2'000'000, '\\') + "/"), "/");
  EXPECT_EQ(cleanNetdiskAddress(std::string(2'000'001, '\\') + "/"), "\\/");
}

}  // namespace
}  // namespace quorvane
