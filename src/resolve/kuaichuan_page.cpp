#include "resolve/kuaichuan_page.h"

namespace quorvane {
// Placeholder until the resolver lands.
Text resolveKuaichuanText(std::string_view, ResultFields& fields) {
  fields.setFileName({});
  fields.setExtension({});
  fields.setSizeText("0B");
  fields.setMd5({});
  return {};
}
Text resolveKuaichuanPage(std::string_view link, ResultFields& fields) {
  return resolveKuaichuanText(fetchPageText(link), fields);
}
}  // namespace quorvane
