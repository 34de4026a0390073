#include "demo_image.h"

#include <string>

#include "demo_panels.h"
#include "firmware/codec.h"
#include "support/image_builder.h"

namespace corvane::demo {

namespace {

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

// A stored file in the image's compressed form.
Bytes Packed(const Bytes& plain) { return Compress(plain); }

Bytes Repeated(const std::string& line, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += line;
  return Text(text);
}

}  // namespace

Bytes DemoImage() {
  using test::DirSpec;
  using test::PatternBytes;
  test::ImageSpec spec;
  spec.model = kDemoModel;
  spec.capacity = kDemoCapacity;
  spec.dirs = {
      DirSpec{"boot",
              {{"boot.cpz", Packed(PatternBytes(600, 1))},
               {"logo.imz", Packed(Repeated("\x11\x22\x33\x44", 256))},
               {"main.luz", Packed(PatternBytes(64, 3))},
               {"menu.cpi", PatternBytes(180, 4)}},
              false},
      DirSpec{"panels",
              {{"menu.paz", Packed(MenuPanel())},
               {"info.paz", Packed(InfoPanel())},
               {"icons.icz", Packed(Repeated("icon", 200))},
               {"back.imz", Packed(Repeated("\x01\x02", 900))}},
              false},
      DirSpec{"texts",
              {{"menu.mpz", Packed(MenuStrings())},
               {"help.mpz", Packed(HelpStrings())}},
              false},
      DirSpec{"code",
              {{"main.clz", Packed(PatternBytes(320, 7))},
               {"start.apz", Packed(PatternBytes(90, 8))},
               {"start.cpz", Packed(PatternBytes(410, 9))}},
              false},
      DirSpec{"extra",
              {{"readme.txt", Packed(Text("Corvane demo firmware. Every byte of it is made up.\r\n"))},
               {"notes.dat", PatternBytes(48, 10)}},
              false},
      DirSpec{"void", {}, false},
  };
  return test::BuildImage(spec).file;
}

}  // namespace corvane::demo
