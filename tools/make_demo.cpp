// corvane-demo FILE: writes the bundled demo firmware image to FILE.
#include <cstdio>
#include <exception>
#include <filesystem>

#include "demo_image.h"
#include "base/file_io.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: corvane-demo FILE\n", stderr);
    return 1;
  }
  try {
    const std::filesystem::path file = argv[1];
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
    const std::string error = corvane::WriteFileAtomic(file, corvane::demo::DemoImage());
    if (!error.empty()) {
      std::fprintf(stderr, "corvane-demo: %s: %s\n", argv[1], error.c_str());
      return 1;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "corvane-demo: %s\n", e.what());
    return 1;
  }
  return 0;
}
