// Any bytes as a script listed with the shipped instruction table against a class read from the
// input, or as a class or an application on their own (the first byte picks): the readers and the
// lister stay inside their bytes.
#include <cstdlib>

#include "base/messages.h"
#include "fuzz_input.h"
#include "resources/application.h"
#include "resources/class.h"
#include "resources/script.h"

namespace {

const corvane::InstructionTable& FixedTable() {
  static const corvane::InstructionTable table = [] {
    corvane::InstructionTable t;
    t.ReadFile(CORVANE_ASM_INST_INI);
    return t;
  }();
  return table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  static const MessageTable messages;
  fuzz::Input input(data, size);
  const std::uint8_t selector = input.Byte();
  switch (selector % 3) {
    case 0: {
      const Bytes class_bytes = input.Part().ToBytes();
      const Bytes script_bytes = input.Rest().ToBytes();
      const ListingContext context{FixedTable(), messages, (selector & 4) != 0};
      TMHWScript script = TMHWScript::FromPlain(script_bytes, nullptr, context);
      ListaFuente(script, context, [&](std::string_view) -> std::optional<TMHWClass> {
        if (class_bytes.empty()) return std::nullopt;
        return TMHWClass::FromPlain(class_bytes);
      });
      break;
    }
    case 1:
      TMHWClass::FromPlain(input.Rest());
      break;
    default: {
      const TMHWApplication application = TMHWApplication::FromPlain(input.Rest());
      application.Plain();
      break;
    }
  }
  return 0;
}
