// quorvane: the window program.
#include "window/start_up.h"

int main() {
  return quorvane::startUp();
}
