// What both resolvers share: the order in which the fields are set, the clearing of every
// field on every call, and how each holds its size.
#include "resolve/page_walk.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "resolve/kuaichuan_page.h"
#include "resolve/netdisk_share.h"

namespace quorvane {
namespace {

// Records every setter call, in order.
struct CallLog final : ResultFields {
  std::vector<std::string> calls;
  void setDownloadAddress(const Text& v) override { calls.push_back("address=" + v); }
  void setFileName(const Text& v) override { calls.push_back("name=" + v); }
  void setExtension(const Text& v) override { calls.push_back("extension=" + v); }
  void setSizeText(const Text& v) override { calls.push_back("size=" + v); }
  void setMd5(const Text& v) override { calls.push_back("md5=" + v); }
};

using Resolver = Text (*)(std::string_view, ResultFields&);

struct Service {
  const char* name;
  Resolver resolve;
  std::string page;  // a page with all four values: name a.zip, size 2048, MD5 m
  std::string address;
};

class BothResolvers : public testing::TestWithParam<Service> {
 protected:
  void SetUp() override { ASSERT_TRUE(setLocalCodePage("936")); }
  void TearDown() override { setLocalCodePage("65001"); }
};

const std::string kZipLabel = "winrar\xD1\xB9\xCB\xF5\xB0\xFC\xCE\xC4\xBC\xFE   (zip)";

TEST_P(BothResolvers, SetTheFourDetailsInOrderAndLeaveTheAddressToTheCaller) {
  CallLog log;
  EXPECT_EQ(GetParam().resolve(GetParam().page, log), GetParam().address);
  EXPECT_EQ(log.calls, (std::vector<std::string>{"name=a.zip", "extension=" + kZipLabel, "size=2KB",
                                                 "md5=m"}));
}

TEST_P(BothResolvers, ClearEveryDetailOnAPageWithoutThem) {
  CallLog log;
  GetParam().resolve(GetParam().page, log);
  log.calls.clear();
  EXPECT_EQ(GetParam().resolve("<html>503 Service Unavailable</html>", log), "");
  EXPECT_EQ(log.calls, (std::vector<std::string>{"name=", "extension=", "size=0B", "md5="}));
}

TEST_P(BothResolvers, ReadThePageOnlyUpToItsFirstNul) {
  CallLog log;
  EXPECT_EQ(GetParam().resolve(std::string("<html>\0", 7) + GetParam().page, log), "");
  EXPECT_EQ(log.calls, (std::vector<std::string>{"name=", "extension=", "size=0B", "md5="}));
}

INSTANTIATE_TEST_SUITE_P(
    Services, BothResolvers,
    testing::Values(Service{"kuaichuan", resolveKuaichuanText,
                            R"(file_url="http://h/a.zip" file_size=2048 file_name="a.zip" )"
                            R"(first_file_size" value='2048'> file_key" value='m'>)",
                            "http://h/a.zip"},
                    Service{"netdisk", resolveNetdiskText,
                            R"({\"md5\":\"m\",\"size\":\"2048\",)"
                            R"(\"dlink\":\"http:\\/\\/h\\/a?filename=a.zip\"})",
                            "http://h/a?filename=a.zip"}),
    [](const testing::TestParamInfo<Service>& info) { return std::string(info.param.name); });

TEST(SizePrecision, KuaichuanKeepsDoublesAndNetdiskNarrowsToSingle) {
  RecordedFields kuaichuan, netdisk;
  resolveKuaichuanText(R"(first_file_size" value='16777217'>)", kuaichuan);
  resolveNetdiskText(R"(\"size\":\"16777217\")", netdisk);
  EXPECT_EQ(kuaichuan.sizeText, "16.00MB");
  EXPECT_EQ(netdisk.sizeText, "16MB");
}

TEST(SizePrecision, NarrowsToTheNearestFloatWithHalvesToEven) {
  EXPECT_EQ(narrowToSingle(16777216), 16777216);
  EXPECT_EQ(narrowToSingle(16777217), 16777216);  // halfway: to the even neighbour
  EXPECT_EQ(narrowToSingle(16777219), 16777220);  // halfway: to the even neighbour
  EXPECT_EQ(narrowToSingle(123456789), 123456792);
  EXPECT_EQ(narrowToSingle(0.1), static_cast<double>(0.1f));
  EXPECT_EQ(narrowToSingle(-123456789), -123456792);
  EXPECT_EQ(narrowToSingle(0), 0);
}

TEST(SizePrecision, BeyondTheFloatRange) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  constexpr double kHalfway = 0x1.ffffffp+127;  // between FLT_MAX and 2^128
  EXPECT_EQ(narrowToSingle(FLT_MAX), FLT_MAX);
  EXPECT_EQ(narrowToSingle(std::nextafter(kHalfway, 0.0)), FLT_MAX);
  EXPECT_EQ(narrowToSingle(kHalfway), kInf);
  EXPECT_EQ(narrowToSingle(1e39), kInf);
  EXPECT_EQ(narrowToSingle(-1e39), -kInf);
  EXPECT_EQ(narrowToSingle(kInf), kInf);
  EXPECT_EQ(narrowToSingle(-kInf), -kInf);
  EXPECT_EQ(narrowToSingle(1e-50), 0);

  // The resolver hands an infinite size to the size text and still sets every field.
  CallLog log;
  resolveNetdiskText(R"(\"size\":\"1e39\")", log);
  EXPECT_EQ(log.calls.size(), 4u);
}

}  // namespace
}  // namespace quorvane
