// The class editor's field rules and the script editor's class lookup under the cursor.
#include <gtest/gtest.h>

#include "resources/class.h"
#include "resources/script.h"

namespace corvane {
namespace {

TEST(ClassEditingRules, VariableNames) {
  for (const char* name : {"A", "var_1", "x.y+z", "ZZZ9"}) EXPECT_TRUE(IsValidVariableName(name));
  for (const char* name : {"", "a b", "ñ", "a-b", "a;"}) EXPECT_FALSE(IsValidVariableName(name));
}

TEST(ClassEditingRules, NumberFieldsTakeWhatTheFileHolds) {
  struct Case {
    const char* text;
    int type;
    VariableField field;
    std::optional<int> value;
  };
  const Case cases[] = {
      {"12", 0, VariableField::Length, 12},
      {"65535", 0, VariableField::Length, 65535},
      {"65536", 0, VariableField::Length, std::nullopt},   // 2 bytes
      {"256", 2, VariableField::Length, std::nullopt},     // 1 byte
      {"255", 5, VariableField::Length, 255},
      {"16", 3, VariableField::Option, std::nullopt},      // precision in 4 bits
      {"15", 3, VariableField::Option, 15},
      {"16", 10, VariableField::Length, std::nullopt},
      {"99999", 7, VariableField::Dimension1, std::nullopt},
      {"5", 7, VariableField::Dimension2, 5},
      {"", 0, VariableField::Length, std::nullopt},         // emptied: the stored value stays
      {"1a", 0, VariableField::Length, std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(VariableFieldValue(c.text, c.type, c.field), c.value) << c.text << " type " << c.type;
  EXPECT_EQ(DigitsOnly("1a2-3 "), "123");
}

TEST(ClassEditingRules, TypeChangeKeepsTheVariableWritable) {
  ClassVariable v{"v", 0, 3, 1, 1, 1000, 1};
  SetVariableType(v, 3);
  EXPECT_EQ(v, (ClassVariable{"v", 3, 0, 1, 1, 15, 1}));
  // The class reads back as the editor shows it.
  TMHWClass c;
  c.name = "K";
  c.variables = {v};
  EXPECT_EQ(TMHWClass::FromPlain(c.Plain()).variables, c.variables);
}

TEST(ScriptListing, ClassEntryUnderTheCursor) {
  const std::vector<std::string> names = {"Menu", "PLAYER"};
  struct Case {
    const char* line;
    std::size_t column;
    int entry;
  };
  const Case cases[] = {
      {"class Menu;", 7, 0},
      {"class Menu;", 10, 0},              // just after the name
      {"  player.volume = 3;", 10, 1},     // on the variable: its class
      {"  Menus.x = 1;", 3, -1},
      {"script main(){", 8, -1},
      {"", 0, -1},
      {"class Menu;", 40, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(ClassEntryAt(c.line, c.column, names), c.entry) << c.line;
}

}  // namespace
}  // namespace corvane
