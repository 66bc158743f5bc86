// The size box: a count of bytes scaled by 1024 into the units B to PB (and beyond),
// written with at most five bytes of number.
#pragma once

#include "text/text.h"

namespace quorvane {

// At most five bytes of numberToText of the scaled size (cut, never rounded) followed by
// its unit, "B" up to "YB"; zero and negative sizes stay in "B". In "YB", which has no
// unit above it, the number is written whole. Infinities and NaN give "inf", "-inf" and
// "nan" with no unit.
Text sizeText(double size);

// `value` as "%.13g" writes it with halves rounded away from zero and a three-digit
// exponent ("1e-005"), independent of the process locale. Zero, -0.0 included, is "0";
// infinities and NaN are "inf", "-inf" and "nan".
Text numberToText(double value);

}  // namespace quorvane
