// corvane_repack_image OUT [MODEL] [reversed]: writes the image the repack memory figure is
// measured on: 4 directories of 30 files of 20 KB (4 MB for model 6). "reversed" stores a block
// file's records last to first.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/file_io.h"
#include "support/image_builder.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: corvane_repack_image OUT [MODEL] [reversed]\n");
    return 2;
  }
  corvane::test::ImageSpec spec;
  spec.model = argc > 2 ? std::atoi(argv[2]) : 6;
  for (int d = 0; d < 4; ++d) {
    corvane::test::DirSpec dir{d == 0 ? "boot" : "dir" + std::to_string(d), {}, false};
    for (int f = 0; f < 30; ++f) {
      char name[16];
      std::snprintf(name, sizeof name, "f%03d.cpz", f);
      dir.files.push_back({name, corvane::test::PatternBytes(20000, static_cast<std::uint8_t>(f + d))});
    }
    spec.dirs.push_back(std::move(dir));
  }
  if (argc > 3 && std::string(argv[3]) == "reversed")
    for (int i = 63; i >= 0; --i) spec.record_order.push_back(i);
  const corvane::Bytes file = corvane::test::BuildImage(spec).file;
  const std::string error = corvane::WriteFileAtomic(argv[1], file);
  if (!error.empty()) std::fprintf(stderr, "%s\n", error.c_str());
  return error.empty() ? 0 : 1;
}
