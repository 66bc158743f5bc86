// The program's entry: opens MainWindow and keeps the program alive until it is closed.
#pragma once

namespace quorvane {

// Starts the window toolkit, opens MainWindow and runs the message loop until the window
// has been closed; then returns 0. When no window can be opened (no display, say), prints
// one line saying so to stderr and returns 1.
int startUp();

}  // namespace quorvane
