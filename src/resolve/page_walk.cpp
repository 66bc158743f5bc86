#include "resolve/page_walk.h"

#include <cfloat>
#include <limits>
#include <utility>

#include "details/file_name.h"
#include "details/file_type.h"
#include "details/size_text.h"
#include "resolve/number_reading.h"
#include "resolve/pattern.h"

namespace quorvane {

Text resolvePageText(std::string_view pageText, const ServicePage& page, ResultFields& fields) {
  pageText = pageText.substr(0, pageText.find('\0'));
  Pattern pattern;

  Text address = lastCapture(pattern, page.addressPattern, pageText);
  if (page.cleanAddress != nullptr)
    address = page.cleanAddress(std::move(address));

  const Text name = decodeFileName(lastCapture(pattern, page.namePattern, pageText));
  Text extension = fileExtension(name);

  double size = readNumber(lastCapture(pattern, page.sizePattern, pageText));
  if (page.holdSize != nullptr)
    size = page.holdSize(size);

  const Text md5 = lastCapture(pattern, page.md5Pattern, pageText);

  extension = typeLabel(extension);
  fields.setFileName(name);
  fields.setExtension(extension);
  fields.setSizeText(sizeText(size));
  fields.setMd5(md5);
  return address;
}

double narrowToSingle(double size) {
  // Halfway between the largest float and 2^128: from here on the nearest float is
  // infinite (the halfway point itself goes to the even side, 2^128). Between the largest
  // float and this point the nearest float is the largest one. Both cases are settled here
  // so that the conversion below only ever sees values inside the float range.
  constexpr double kOverflow = 0x1.ffffffp+127;
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  if (size >= kOverflow)
    return kInfinity;
  if (size <= -kOverflow)
    return -kInfinity;
  if (size > FLT_MAX)
    return FLT_MAX;
  if (size < -FLT_MAX)
    return -FLT_MAX;
  return static_cast<float>(size);
}

}  // namespace quorvane
