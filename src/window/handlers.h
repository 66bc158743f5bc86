// The window's behaviour, kept apart from the toolkit: start-up selection, the parse and
// the clipboard copy, written against the few operations they need from the window.
#pragma once

#include <cstdint>
#include <string_view>

#include "resolve/result_fields.h"
#include "text/text.h"

namespace quorvane {

// The seven edit boxes: the two links and the five outputs.
enum class Box {
  kuaichuanLink,    // 迅雷下载编辑框
  netdiskLink,      // 百度下载编辑框
  downloadAddress,  // 文件下载地址编辑框
  fileName,         // 文件名称编辑框
  extension,        // 文件扩展名编辑框
  sizeText,         // 文件大小编辑框
  md5,              // 文件md5编辑框
};

// The two radio buttons, one per service.
enum class Choice {
  kuaichuan,  // 单选框1
  netdisk,    // 单选框2
};

// What the handlers use of the window. Texts cross in the local code page.
class WindowControls {
 public:
  virtual ~WindowControls() = default;
  // The box's current text; an empty box gives the empty text.
  virtual Text getText(Box box) const = 0;
  // Replaces the box's text at once; the empty text empties it.
  virtual void setText(Box box, const Text& text) = 0;
  virtual bool isSelected(Choice choice) const = 0;
  // Selects the button and leaves the other one as it is.
  virtual void setSelected(Choice choice) = 0;
  // Puts `text` on the clipboard as plain text, replacing what it held.
  // False when the clipboard could not be reached; it then keeps its old contents.
  virtual bool setClipboardText(const Text& text) = 0;
};

// ResultFields written straight into the output boxes of a window: the boxes are the
// only store of the values.
class BoxFields final : public ResultFields {
 public:
  explicit BoxFields(WindowControls& window) : window_(window) {}
  void setDownloadAddress(const Text& v) override { window_.setText(Box::downloadAddress, v); }
  void setFileName(const Text& v) override { window_.setText(Box::fileName, v); }
  void setExtension(const Text& v) override { window_.setText(Box::extension, v); }
  void setSizeText(const Text& v) override { window_.setText(Box::sizeText, v); }
  void setMd5(const Text& v) override { window_.setText(Box::md5, v); }

 private:
  WindowControls& window_;
};

using Resolver = Text (*)(std::string_view link, ResultFields& fields);

// The resolver of each service; tests put their own in.
struct ServiceResolvers {
  Resolver kuaichuan;
  Resolver netdisk;
};

// resolveKuaichuanPage and resolveNetdiskShare.
ServiceResolvers networkResolvers();

// The window has every control and is not shown yet: selects the Kuaichuan service,
// leaving the Netdisk button as it is.
void onWindowCreated(WindowControls& window);

// "解析" was pressed. For each selected service, Kuaichuan first, hands the text of its
// link box to its resolver, which fills the four detail boxes, and writes the returned
// address into the address box. A resolver that throws counts as a page that could not
// be fetched: empty details, the size of 0 bytes and an empty address. With neither
// service selected nothing is read or written.
void onParseClicked(WindowControls& window, const ServiceResolvers& resolvers = networkResolvers());

// The left mouse button went down over the address box (x, y in the box, keyState 1 for
// Ctrl, 2 for Shift, 4 for Alt; none of them matters here). Copies the box's whole text
// to the clipboard unless it is empty; the box handles the press afterwards as usual.
void onAddressBoxLeftPress(WindowControls& window, std::uint16_t x, std::uint16_t y, int keyState);

}  // namespace quorvane
