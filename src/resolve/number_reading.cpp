#include "resolve/number_reading.h"

namespace quorvane {
// Placeholder until number reading lands.
double readNumber(std::string_view) { return 0; }
}  // namespace quorvane
