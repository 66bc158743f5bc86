// quorvane-resolve: resolves links from the command line with the window's resolvers.
#include <cstdio>

int main() {
  std::fputs("quorvane-resolve: not built yet\n", stderr);
  return 2;
}
