#include "window/handlers.h"

#include "details/size_text.h"
#include "resolve/kuaichuan_page.h"
#include "resolve/netdisk_share.h"

namespace quorvane {
namespace {

// One service branch of the parse. The link lives only until the resolver returns.
void resolveInto(WindowControls& window, Box linkBox, Resolver resolve) {
  BoxFields fields(window);
  Text address;
  try {
    address = resolve(window.getText(linkBox), fields);
  } catch (...) {
    // Whatever the resolver managed to write is incomplete; show what a page that could
    // not be fetched shows, so that no box keeps a value of an earlier parse.
    address.clear();
    fields.setFileName({});
    fields.setExtension({});
    fields.setSizeText(sizeText(0));
    fields.setMd5({});
  }
  fields.setDownloadAddress(address);
}

}  // namespace

ServiceResolvers networkResolvers() {
  return {&resolveKuaichuanPage, &resolveNetdiskShare};
}

void onWindowCreated(WindowControls& window) {
  window.setSelected(Choice::kuaichuan);
}

void onParseClicked(WindowControls& window, const ServiceResolvers& resolvers) {
  if (window.isSelected(Choice::kuaichuan)) {
    resolveInto(window, Box::kuaichuanLink, resolvers.kuaichuan);
  }
  if (window.isSelected(Choice::netdisk)) {
    resolveInto(window, Box::netdiskLink, resolvers.netdisk);
  }
}

void onAddressBoxLeftPress(WindowControls& window, std::uint16_t, std::uint16_t, int) {
  const Text text = window.getText(Box::downloadAddress);
  if (!text.empty()) {
    window.setClipboardText(text);
  }
}

}  // namespace quorvane
