#include "resolve/page_fetch.h"

namespace quorvane {
// Placeholder until the HTTP client lands.
std::string httpGetBody(std::string_view, const FetchLimits&) { return {}; }
Text fetchPageText(std::string_view link, const FetchLimits& limits) {
  return textFromBytes(httpGetBody(link, limits));
}
}  // namespace quorvane
