#include "resolve/netdisk_share.h"

#include "resolve/kuaichuan_page.h"

namespace quorvane {
// Placeholder until the resolver lands.
Text cleanNetdiskAddress(Text address) { return address; }
Text resolveNetdiskText(std::string_view page, ResultFields& fields) {
  return resolveKuaichuanText(page, fields);
}
Text resolveNetdiskShare(std::string_view link, ResultFields& fields) {
  return resolveNetdiskText(fetchPageText(link), fields);
}
}  // namespace quorvane
