// Any bytes as an INI file (then as a language file), an instruction table or an order list (the
// first byte picks): the readers stay inside their bytes, and a parsed INI file writes back as it
// was read.
#include <cstdlib>

#include "config/ini.h"
#include "config/language.h"
#include "document/order_list.h"
#include "fuzz_input.h"
#include "resources/instruction_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  fuzz::Input input(data, size);
  const std::uint8_t selector = input.Byte();
  switch (selector % 3) {
    case 0: {
      const IniFile ini = IniFile::Parse(input.Rest());
      const Bytes written = ini.Serialize();
      if (IniFile::Parse(written).Serialize() != written) std::abort();
      const auto sections = ini.SectionNames();
      if (!sections.empty()) LanguageTexts::FromFile(ini, sections.front());
      break;
    }
    case 1: {
      InstructionTable table;
      table.Read(input.Rest());
      break;
    }
    default:
      LeeOrden(input.RestText());
      break;
  }
  return 0;
}
