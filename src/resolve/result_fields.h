// Where a parse puts what it found: the download address and the four file details.
// The window binds each field to its output box; the companion and the tests record them.
#pragma once

#include "text/text.h"

namespace quorvane {

// Setting a field replaces what it showed at once; the empty text empties it.
class ResultFields {
 public:
  virtual ~ResultFields() = default;
  virtual void setDownloadAddress(const Text& address) = 0;
  virtual void setFileName(const Text& name) = 0;
  virtual void setExtension(const Text& extension) = 0;
  virtual void setSizeText(const Text& sizeText) = 0;
  virtual void setMd5(const Text& md5) = 0;
};

// Fields held as plain values, for callers without a window.
struct RecordedFields final : ResultFields {
  Text downloadAddress, fileName, extension, sizeText, md5;

  void setDownloadAddress(const Text& v) override { downloadAddress = v; }
  void setFileName(const Text& v) override { fileName = v; }
  void setExtension(const Text& v) override { extension = v; }
  void setSizeText(const Text& v) override { sizeText = v; }
  void setMd5(const Text& v) override { md5 = v; }
};

}  // namespace quorvane
