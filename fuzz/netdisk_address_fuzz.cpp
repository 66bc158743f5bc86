// The Netdisk address clean-up over any address: no escaped slash "\\/" is left on a
// character boundary, and the address never grows.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "resolve/netdisk_share.h"
#include "text/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string address(reinterpret_cast<const char*>(data), size);
  address = quorvane::textFromBytes(address);
  const quorvane::Text cleaned = quorvane::cleanNetdiskAddress(address);
  FUZZ_CHECK(quorvane::findText(cleaned, "\\\\/") == quorvane::kNotFound);
  FUZZ_CHECK(cleaned.size() <= address.size());
  return 0;
}
