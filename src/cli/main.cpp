#include <cstdio>
#include <cstring>

#include "app/version.h"

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("%s\n", lecdl::VersionText().c_str());
    return 0;
  }
  std::fprintf(stderr, "usage: lecdl --version\n");
  return 2;
}
