#include "demo_image.h"

#include <string>

#include "firmware/codec.h"
#include "support/image_builder.h"
#include "support/script_assembler.h"

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

using test::ScriptAssembler;
namespace op = test::op;

// Class "main" (code/main.clz): variable indices used by the scripts below.
enum MainVar : std::uint16_t { kTitle, kCount, kTotal, kPrice, kItems, kGrid, kIndex, kFlag };
// Class "screen" (panels/screen.clz).
enum ScreenVar : std::uint16_t { kSelected, kMessage };

Bytes MainClass() {
  return test::ClassFile("main", {{"title", 0, 20, 1},
                                  {"count", 2, 5},
                                  {"total", 2, 8},
                                  {"price", 3, 8, 2},
                                  {"items", 2, 4, 0, 5, 1},
                                  {"grid", 5, 3, 0, 4, 3},
                                  {"index", 2, 3},
                                  {"flag", 11}});
}

Bytes ScreenClass() { return test::ClassFile("screen", {{"selected", 2, 3}, {"message", 0, 32}}); }

// boot: assignments, if / else and a call.
Bytes BootScript() {
  ScriptAssembler a("boot", {"main"});
  const int other = a.NewLabel(), done = a.NewLabel();
  a.Str(op::kPushStr, "Corvane\ndemo").Var(op::kStore, 0, kTitle);
  a.Int(op::kPushInt, 0).Var(op::kStore, 0, kCount);
  a.Var(op::kPushVar, 0, kCount).Int(op::kPushInt, 0).Op(op::kEq).Jump(op::kIfNot, other);
  a.Str(op::kPushStr, "first start").Op(op::kPrint);
  a.Bind(other).Jump(op::kGoto, done);
  a.Str(op::kPushStr, "started again").Op(op::kPrint);
  a.Bind(done).Var(op::kInc, 0, kCount);
  a.Int(op::kPushInt, 1).Str(op::kPushStr, "menu").Op(op::kCall);
  a.Op(op::kExit).Op(op::kEnd);
  return a.Plain();
}

// boot/menu: while and do loops, abs().
Bytes MenuLoopScript() {
  ScriptAssembler a("menu", {"main"});
  a.Word(op::kLoop, 0).Var(op::kDec, 0, kIndex);
  a.Var(op::kPushVar, 0, kIndex).Int(op::kPushInt, 0).Op(op::kGreater).Op(op::kWhile);
  a.Word(op::kLoop, 0).Var(op::kPushVar, 0, kIndex).Op(op::kPrint).Var(op::kInc, 0, kIndex);
  a.Var(op::kPushVar, 0, kIndex).Int(op::kPushInt, 10).Op(op::kLess).Op(op::kUntil);
  a.Var(op::kPushVar, 0, kTotal).Op(op::kDup).Op(op::kTestNegative).Op(op::kNegateIf);
  a.Var(op::kStore, 0, kPrice).Op(op::kEnd);
  return a.Plain();
}

// code/start: a for loop, two ifs closing together, arithmetic.
Bytes StartScript() {
  ScriptAssembler a("start", {"main"});
  const int end_ifs = a.NewLabel();
  a.Int(op::kPushInt, 0).Var(op::kStore, 0, kTotal);
  a.Var(op::kPushVar, 0, kIndex).Int(op::kPushInt, 1).Int(op::kPushInt, 5).Int(op::kPushInt, 0);
  a.Op(op::kFor).Word(op::kLoop, 0);
  a.Var(op::kPushVar, 0, kTotal).Var(op::kPushVar, 0, kIndex).Op(op::kAdd).Var(op::kStore, 0, kTotal);
  a.Op(op::kNext);
  a.Var(op::kPushVar, 0, kTotal).Int(op::kPushInt, 0).Op(op::kGreater).Jump(op::kIfNot, end_ifs);
  a.Var(op::kPushVar, 0, kFlag).Jump(op::kIfNot, end_ifs);
  a.Var(op::kPushVar, 0, kTotal).Int(op::kPushInt, 2).Op(op::kMul).Op(op::kPrint);
  a.Bind(end_ifs).Op(op::kBeep).Op(op::kEnd);
  return a.Plain();
}

// panels/menu: the methods of the menu panel and its elements.
Bytes MenuPanelScript() {
  ScriptAssembler a("menu", {"main", "screen"});
  a.Word(op::kMethod, 0x0001).Word(op::kMethod, 0x0010).Word(op::kMethod, 0x0099);
  a.Str(op::kPushStr, "OK").Op(op::kShow).Str(op::kPushStr, "CANCEL").Op(op::kHide);
  a.Var(op::kPushVar, 1, kSelected).Int(op::kPushInt, 1).Op(op::kAssign);
  a.Str(op::kPushStr, "OK").Op(op::kFocus).Op(op::kRedraw).Op(op::kEnd);
  return a.Plain();
}

// panels/info: texts of the info panel.
Bytes InfoPanelScript() {
  ScriptAssembler a("info", {"screen"});
  a.Word(op::kMethod, 0x0021);
  a.Str(op::kPushStr, "TEXT").Var(op::kPushVar, 0, kMessage).Op(op::kSetText);
  a.Int(op::kPushInt, 1500).Op(op::kWait).Str(op::kPushStr, "panels:menu").Op(op::kOpen);
  a.Op(op::kEnd);
  return a.Plain();
}

Bytes MenuPanel() {
  return test::PanelFile(0x0001, 0x0002, 0x0003, "icons",
                         {{1, "MENU", 0xFFFF, "Menu", 40, 40, 600, 440},
                          {2, "OK", 0x0010, "Aceptar", 20, 380, 120, 410},
                          {2, "CANCEL", 0x0011, "Cancelar", 140, 380, 240, 410},
                          {16, "BACK", 0xFFFF, "panels:back.rf4", 10, 10, 300, 200}});
}

Bytes InfoPanel() {
  return test::PanelFile(0x0020, 0x0021, 0x0022, "icons",
                         {{1, "INFO", 0xFFFF, "Info", 60, 60, 580, 420},
                          {4, "TEXT", 0x0021, "Ayuda", 20, 40, 500, 300}});
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
              {{"boot.cpz", Packed(BootScript())},
               {"logo.imz", Packed(Repeated("\x11\x22\x33\x44", 256))},
               {"main.luz", Packed(PatternBytes(64, 3))},
               {"menu.cpi", Packed(MenuLoopScript())}},
              false},
      DirSpec{"panels",
              {{"menu.paz", Packed(MenuPanel())},
               {"info.paz", Packed(InfoPanel())},
               {"icons.icz", Packed(Repeated("icon", 200))},
               {"back.imz", Packed(Repeated("\x01\x02", 900))},
               {"menu.cpi", Packed(MenuPanelScript())},
               {"info.cpi", Packed(InfoPanelScript())},
               {"screen.clz", Packed(ScreenClass())}},
              false},
      DirSpec{"texts",
              {{"menu.mpz", Packed(Repeated(std::string("Menu principal\0", 15), 20))},
               {"help.mpz", Packed(Text("Ayuda: pulse OK para continuar."))}},
              false},
      DirSpec{"code",
              {{"main.clz", Packed(MainClass())},
               {"start.apz", Packed(test::ApplicationFile("start", "boot", "main", {"main", "screen"},
                                                          {"Corvane demo application",
                                                           "Every byte of it is made up."}))},
               {"start.cpz", Packed(StartScript())}},
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
