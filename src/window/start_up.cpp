#include "window/start_up.h"

#include <QApplication>
#include <QString>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "window/main_window.h"

namespace quorvane {
namespace {

constexpr const char* kNoWindow = "quorvane: cannot open the window: no display available\n";

bool isSet(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

// Without a platform named explicitly, Qt goes to X11 or Wayland, and neither can be
// reached when neither names a display.
bool displayNamed() {
  return isSet("QT_QPA_PLATFORM") || isSet("DISPLAY") || isSet("WAYLAND_DISPLAY");
}

// While the toolkit starts, its messages are held back. If it cannot start (the display
// named cannot be reached, the platform named does not exist), the program ends with its
// one line instead of the toolkit's stack of errors; once it runs, what was held back is
// written out after all.
std::vector<std::string> heldMessages;

void holdMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtFatalMsg) {
    std::fputs(kNoWindow, stderr);
    std::_Exit(1);
  }
  heldMessages.push_back(qFormatLogMessage(type, context, message).toLocal8Bit().toStdString());
}

}  // namespace

int startUp() {
  if (!displayNamed()) {
    std::fputs(kNoWindow, stderr);
    return 1;
  }

  // The program reads no command line: Qt sees the program name alone.
  static char name[] = "quorvane";
  static char* arguments[] = {name, nullptr};
  static int count = 1;

  std::optional<QApplication> application;
  const QtMessageHandler previous = qInstallMessageHandler(holdMessage);
  application.emplace(count, arguments);
  qInstallMessageHandler(previous);
  for (const std::string& line : heldMessages) {
    std::fprintf(stderr, "%s\n", line.c_str());
  }
  heldMessages.clear();

  // Qt takes the whole locale from the environment; numbers are read and written the C
  // way whatever the user's language, so that "1.5" never turns into "1,5".
  std::setlocale(LC_NUMERIC, "C");

  MainWindow window;
  window.open();
  QApplication::exec();
  return 0;
}

}  // namespace quorvane
