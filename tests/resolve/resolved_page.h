// What a resolver made of a page, as one value the resolver tests compare: the address it
// returned and the four detail fields it set, under code page 936.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>

#include "platform/code_page.h"
#include "resolve/result_fields.h"

namespace quorvane {

struct Resolved {
  std::string address, name, extension, size, md5;
  bool operator==(const Resolved&) const = default;
};

inline void PrintTo(const Resolved& r, std::ostream* os) {
  *os << testing::PrintToString(r.address) << " " << testing::PrintToString(r.name) << " "
      << testing::PrintToString(r.extension) << " " << testing::PrintToString(r.size) << " "
      << testing::PrintToString(r.md5);
}

inline Resolved resolved(const Text& address, const RecordedFields& fields) {
  return {address, fields.fileName, fields.extension, fields.sizeText, fields.md5};
}

// Runs `resolver` over `page`; a resolver never sets the address field itself.
inline Resolved resolveWith(Text (*resolver)(std::string_view, ResultFields&),
                            std::string_view page) {
  RecordedFields fields;
  const Text address = resolver(page, fields);
  EXPECT_EQ(fields.downloadAddress, "") << "the resolver leaves the address field alone";
  return resolved(address, fields);
}

// One row of a table of pages.
struct PageCase {
  const char* what;
  std::string page;
  Resolved expected;
};

// Names and labels come out in code page 936 while a test runs.
class CodePage936Test : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(setLocalCodePage("936")); }
  void TearDown() override { setLocalCodePage("65001"); }
};

}  // namespace quorvane
