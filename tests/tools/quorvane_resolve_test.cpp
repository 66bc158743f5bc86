// quorvane-resolve run as a user runs it, against pages served on the loopback server.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "support/loopback_server.h"

namespace quorvane {
namespace {

struct ToolRun {
  std::string out;
  int status = -1;
};

// Runs the companion with `arguments` (already shell-quoted where needed).
ToolRun runTool(const std::string& arguments) {
  const std::string command = std::string(QUORVANE_RESOLVE_TOOL) + " " + arguments + " 2>/dev/null";
  ToolRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr)
    return run;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
    run.out.append(buffer, n);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::string fields(std::initializer_list<std::string> values) {
  std::string out;
  for (const std::string& v : values)
    out += v + std::string(1, '\0');
  return out;
}

const char kKuaichuanPage[] =
    "<a file_url=\"http://dl.example.test/a.txt?k=1&amp;t=2\" file_size=\"5\">"
    "<span file_name=\"%E6%96%87%E4%BB%B6.txt\"></span>\r\n"
    "<input id=\"first_file_size\" value='1536'>\r\n"
    "<input id=\"key\" value='d41d8cd98f00b204e9800998ecf8427e'>\r\n";

const char kNetdiskPage[] =
    "var x = \"{\\\"md5\\\":\\\"0cc175b9c0f1b6a831c399e269772661\\\",\\\"size\\\":\\\"16777217"
    "\\\",\\\"dlink\\\":\\\"http:\\\\/\\\\/d.example.test\\\\/file\\\\/f?fid=1&filename="
    "%E6%96%87%E4%BB%B6.rar\\\"}\";";

class QuorvaneResolveTest : public ::testing::Test {
 protected:
  LoopbackServer server;
};

TEST_F(QuorvaneResolveTest, NullOutputIsTheFiveFieldsInTheLocalCodePage) {
  server.put("file.html", kKuaichuanPage);
  const ToolRun run = runTool("--null --code-page 936 " + server.url("/file.html"));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, fields({"http://dl.example.test/a.txt?k=1&amp;t=2", "\xCE\xC4\xBC\xFE.txt",
                             "\xCE\xC4\xB1\xBE\xCE\xC4\xB5\xB5   (txt)", "1.5KB",
                             "d41d8cd98f00b204e9800998ecf8427e"}));
}

TEST_F(QuorvaneResolveTest, NetdiskShareThroughTheCompanion) {
  server.put("share/link", kNetdiskPage);
  const ToolRun run = runTool("--service netdisk --null --code-page 936 '" +
                              server.url("/share/link?shareid=1&uk=2") + "'");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, fields({"http://d.example.test/file/f?fid=1&filename=%E6%96%87%E4%BB%B6.rar",
                             "\xCE\xC4\xBC\xFE.rar",
                             "winrar\xD1\xB9\xCB\xF5\xB0\xFC\xCE\xC4\xBC\xFE   (rar)", "16MB",
                             "0cc175b9c0f1b6a831c399e269772661"}));
}

TEST_F(QuorvaneResolveTest, ReadableAndJsonOutputsAreUtf8) {
  server.put("file.html", kKuaichuanPage);
  const ToolRun lines = runTool("--code-page 936 " + server.url("/file.html"));
  EXPECT_EQ(lines.status, 0);
  EXPECT_NE(lines.out.find("name: \xE6\x96\x87\xE4\xBB\xB6.txt\n"), std::string::npos) << lines.out;
  EXPECT_NE(lines.out.find("size: 1.5KB\n"), std::string::npos);

  const ToolRun json = runTool("--json --code-page 936 " + server.url("/file.html"));
  EXPECT_EQ(json.status, 0);
  EXPECT_EQ(
      json.out,
      "{\"address\":\"http://dl.example.test/"
      "a.txt?k=1&amp;t=2\",\"name\":\"\xE6\x96\x87\xE4\xBB\xB6.txt\","
      "\"type\":\"\xE6\x96\x87\xE6\x9C\xAC\xE6\x96\x87\xE6\xA1\xA3   (txt)\",\"size\":\"1.5KB\","
      "\"md5\":\"d41d8cd98f00b204e9800998ecf8427e\"}\n");
}

TEST_F(QuorvaneResolveTest, EveryLinkInOneProcessSharesCookies) {
  server.put("file.html", kKuaichuanPage);
  const ToolRun run =
      runTool("--null " + server.url("/_setcookie") + " " + server.url("/file.html"));
  EXPECT_EQ(run.status, 1);  // the cookie page has no address
  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_NE(requests[1].find("\r\nCookie: session=abc123\r\n"), std::string::npos) << requests[1];
}

TEST_F(QuorvaneResolveTest, AnEmptyAddressExitsOne) {
  server.put("other.html", "<html>nothing here</html>");
  const ToolRun run = runTool("--null " + server.url("/other.html"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, fields({"", "", "", "0B", ""}));
}

TEST(QuorvaneResolveUsage, MistakesExitTwoWithoutOutput) {
  const char* mistakes[] = {"",
                            "--bogus http://x/",
                            "--null --json http://x/",
                            "--service ftp http://x/",
                            "--service",
                            "--code-page no-such-code-page http://x/"};
  for (const char* arguments : mistakes) {
    const ToolRun run = runTool(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_EQ(run.out, "") << arguments;
  }
  const ToolRun help = runTool("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("usage: quorvane-resolve"), std::string::npos);
}

}  // namespace
}  // namespace quorvane
