// The search through a file's strings: from a position on, round the list back to where it began.
#include <gtest/gtest.h>

#include "resources/strings_list.h"

namespace corvane {
namespace {

TEST(StringsFind, WrapsRoundTheList) {
  TMHWStringsList list;
  list.strings = {"abc", "", "xbx", "b"};
  using M = TMHWStringsList::Match;
  struct Case {
    std::string needle;
    int index;
    std::size_t pos;
    std::optional<M> expected;
  };
  const Case cases[] = {
      {"b", 0, 0, M{0, 1}},
      {"b", 0, 2, M{2, 1}},
      {"b", 3, 1, M{0, 1}},   // past the last string: round to the first
      {"c", 0, 3, M{0, 2}},   // only before the start position: found at the end of the round
      {"bc", 2, 0, M{0, 1}},
      {"q", 1, 0, std::nullopt},
      {"", 0, 0, std::nullopt},
      {"b", 9, 99, M{0, 1}},  // out-of-range start: the last string, past its end
  };
  for (const Case& c : cases)
    EXPECT_EQ(list.Busca(c.needle, c.index, c.pos), c.expected) << c.needle << " " << c.index;
  EXPECT_EQ(TMHWStringsList().Busca("a", 0, 0), std::nullopt);
}

}  // namespace
}  // namespace corvane
