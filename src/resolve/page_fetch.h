// The page behind a link: one HTTP GET with the program's fixed request, its body taken
// whatever the status, and the page text the patterns search.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include "text/text.h"

namespace quorvane {

// Bounds that keep a silent or endless server from holding the program for ever.
struct FetchLimits {
  std::chrono::milliseconds connectTimeout{30'000};
  // The transfer is abandoned once no byte has arrived for this long.
  std::chrono::milliseconds stallTimeout{30'000};
  // Reading stops here, keeping what arrived.
  std::size_t maxBodyBytes = std::size_t{64} << 20;
};

// The response body of one GET for `link` (an absolute http or https URL), NULs included.
// Empty when nothing could be sent: an empty link, one without a scheme or with another
// scheme, a name or connection or TLS failure. A transfer that breaks off part-way, stalls
// or passes maxBodyBytes keeps the bytes that arrived.
std::string httpGetBody(std::string_view link, const FetchLimits& limits = FetchLimits{});

// The page text of `link`: httpGetBody's bytes before the first NUL.
Text fetchPageText(std::string_view link, const FetchLimits& limits = FetchLimits{});

}  // namespace quorvane
