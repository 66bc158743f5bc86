// quorvane-screenshot: renders MainWindow as it opens into a PNG file, on the offscreen
// platform, for the README. Usage: quorvane-screenshot OUTPUT.png
#include <QApplication>
#include <QPixmap>
#include <cstdio>

#include "window/main_window.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: quorvane-screenshot OUTPUT.png\n", stderr);
    return 2;
  }
  // The picture must not depend on the desktop the tool happens to run on.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int count = 1;
  QApplication application(count, argv);
  QApplication::setCursorFlashTime(0);  // a steady caret, so every run draws the same

  quorvane::MainWindow window;
  window.open();
  QApplication::processEvents();
  if (!window.grab().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "quorvane-screenshot: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
