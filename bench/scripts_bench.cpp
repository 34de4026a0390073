// Listing every script of the demo, and the code export's descriptions of a firmware with 200
// scripts (targets: under 100 ms each).
#include <benchmark/benchmark.h>

#include <cstdio>

#include "base/file_io.h"
#include "demo_image.h"
#include "document/code_export.h"
#include "firmware/codec.h"
#include "firmware/firmware.h"
#include "resources/script.h"
#include "support/script_assembler.h"

namespace {

using namespace corvane;
namespace op = test::op;

const InstructionTable& ShippedTable() {
  static const InstructionTable table = [] {
    InstructionTable t;
    t.ReadFile(std::string(CORVANE_SOURCE_DIR) + "/data/INIs/asm_inst.ini");
    return t;
  }();
  return table;
}

void BM_ListDemoScripts(benchmark::State& state) {
  const Bytes file = demo::DemoImage();
  TArbol tree;
  TFirmware fw;
  fw.CreateFromBytes("demo.bin", file, tree, demo::kDemoModel);
  std::vector<const TNodo*> scripts;
  tree.ForEach([&scripts](TNodo& n) {
    if (!n.IsDirectory() && n.Text.find(".cp") != std::string::npos) scripts.push_back(&n);
  });
  const MessageTable messages;
  const ListingContext context{ShippedTable(), messages, false};
  for (auto _ : state)
    for (const TNodo* s : scripts) benchmark::DoNotOptimize(TMHWScript::Create(*s, context));
  state.counters["scripts"] = static_cast<double>(scripts.size());
}
BENCHMARK(BM_ListDemoScripts)->Unit(benchmark::kMillisecond);

// Four directories of 50 scripts each (about 120 instructions), each directory with two classes.
void BM_DescribeCodeOf200Scripts(benchmark::State& state) {
  TArbol tree;
  TNodo* root = AnadeNodo({}, "image", tree, nullptr);
  for (int d = 0; d < 4; ++d) {
    TNodo* dir = AnadeNodo({}, "dir" + std::to_string(d), tree, root);
    AnadeNodo(Compress(test::ClassFile("main", {{"a", 2, 4}, {"b", 0, 20, 1}})), "main.clz", tree,
              dir);
    AnadeNodo(Compress(test::ClassFile("keys", {{"k", 2, 4}})), "keys.clz", tree, dir);
    for (int s = 0; s < 50; ++s) {
      test::ScriptAssembler a("s" + std::to_string(s), {"main", "keys"});
      for (int i = 0; i < 20; ++i) {
        const int skip = a.NewLabel();
        a.Var(op::kPushVar, 0, 0).Int(op::kPushInt, i).Op(op::kLess).Jump(op::kIfNot, skip);
        a.Str(op::kPushStr, "text").Op(op::kPrint).Bind(skip).Var(op::kInc, 1, 0);
      }
      char name[16];
      std::snprintf(name, sizeof name, "s%02d.cpz", s);
      AnadeNodo(Compress(a.Op(op::kEnd).Plain()), name, tree, dir);
    }
  }
  const VarTypeTable types;
  const MessageTable messages;
  const CodeTables tables{ShippedTable(), types, messages};
  for (auto _ : state) benchmark::DoNotOptimize(DescribeAllCode(*root, tables));
}
BENCHMARK(BM_DescribeCodeOf200Scripts)->Unit(benchmark::kMillisecond);

}  // namespace
