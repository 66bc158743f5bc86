// Both resolvers over any page text, with no fetch, under code page 936 or UTF-8 (the first
// byte picks): the four detail fields are set in order and the address field is left alone;
// what is taken from the page unchanged is a piece of the page before its first NUL; the
// extension is the type label of the name's last three bytes; the size text ends in a unit
// of the table; and a NUL ends the page.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "details/file_type.h"
#include "fuzz_check.h"
#include "platform/code_page.h"
#include "resolve/kuaichuan_page.h"
#include "resolve/netdisk_share.h"
#include "resolve/result_fields.h"
#include "text/text.h"

namespace {

using quorvane::Text;

// Records the fields and the order in which they were set.
struct Fields final : quorvane::ResultFields {
  Text name, extension, sizeText, md5;
  std::string order;
  bool addressSet = false;

  void setDownloadAddress(const Text&) override { addressSet = true; }
  void setFileName(const Text& v) override { name = v, order += 'n'; }
  void setExtension(const Text& v) override { extension = v, order += 'e'; }
  void setSizeText(const Text& v) override { sizeText = v, order += 's'; }
  void setMd5(const Text& v) override { md5 = v, order += 'm'; }

  bool operator==(const Fields& o) const {
    return name == o.name && extension == o.extension && sizeText == o.sizeText && md5 == o.md5;
  }
};

bool contains(std::string_view text, std::string_view piece) {
  return text.find(piece) != std::string_view::npos;
}

bool endsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

void checkSizeText(const Text& text) {
  if (text == "inf" || text == "-inf" || text == "nan")
    return;
  // The units from "KB" on end in "B" after a letter no number text holds.
  static const char* const kUnits[] = {"KB", "MB", "GB", "TB", "PB", "EB", "ZB", "YB"};
  std::size_t unit = 1;
  for (const char* u : kUnits) {
    if (endsWith(text, u))
      unit = 2;
  }
  FUZZ_CHECK(endsWith(text, "B"));
  const std::size_t numberSize = text.size() - unit;
  FUZZ_CHECK(numberSize >= 1);
  if (!endsWith(text, "YB"))
    FUZZ_CHECK(numberSize <= 5);
}

// The checks both services share; `nameStart` is what the name pattern opens with.
void checkFields(const Fields& fields, std::string_view page, std::string_view nameStart) {
  FUZZ_CHECK(fields.order == "nesm");
  FUZZ_CHECK(!fields.addressSet);
  for (const Text* field : {&fields.name, &fields.extension, &fields.sizeText, &fields.md5})
    FUZZ_CHECK(field->find('\0') == Text::npos);

  FUZZ_CHECK(contains(page, fields.md5));
  if (!fields.name.empty())
    FUZZ_CHECK(contains(page, nameStart));

  // The extension box holds the name's last three bytes, labelled when the table knows them.
  const std::string_view name = fields.name;
  const std::string_view lastThree = name.substr(name.size() < 3 ? 0 : name.size() - 3);
  FUZZ_CHECK(fields.extension == quorvane::typeLabel(lastThree));
  if (fields.extension != lastThree)
    FUZZ_CHECK(endsWith(fields.extension, "   (" + std::string(lastThree) + ")"));

  checkSizeText(fields.sizeText);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0)
    return 0;
  quorvane::setLocalCodePage(data[0] & 1 ? "936" : "65001");
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  // What the resolvers may read: the page text ends at the first NUL.
  const std::string_view page = bytes.substr(0, bytes.find('\0'));

  Fields kuaichuan;
  const Text kuaichuanAddress = quorvane::resolveKuaichuanText(bytes, kuaichuan);
  checkFields(kuaichuan, page, "file_name=\"");
  FUZZ_CHECK(contains(page, kuaichuanAddress));
  if (!kuaichuanAddress.empty())
    FUZZ_CHECK(contains(page, "file_url=\""));

  Fields netdisk;
  const Text netdiskAddress = quorvane::resolveNetdiskText(bytes, netdisk);
  checkFields(netdisk, page, "filename=");
  // The address is cut from the page and then only shortened, never left with an escaped
  // slash on a character boundary.
  FUZZ_CHECK(netdiskAddress.find('\0') == Text::npos);
  FUZZ_CHECK(netdiskAddress.size() <= page.size());
  FUZZ_CHECK(quorvane::findText(netdiskAddress, "\\\\/") == quorvane::kNotFound);
  if (!netdiskAddress.empty())
    FUZZ_CHECK(contains(page, "dlink\\"));

  // Whatever follows the first NUL makes no difference.
  if (page.size() != bytes.size()) {
    Fields again;
    FUZZ_CHECK(quorvane::resolveKuaichuanText(page, again) == kuaichuanAddress);
    FUZZ_CHECK(again == kuaichuan);
    Fields againNetdisk;
    FUZZ_CHECK(quorvane::resolveNetdiskText(page, againNetdisk) == netdiskAddress);
    FUZZ_CHECK(againNetdisk == netdisk);
  }
  return 0;
}
