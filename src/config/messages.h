// The message table: every text the program shows, by row, with its built-in Spanish default.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "firmware/result.h"

namespace corvane {

inline constexpr int kMessageRows = 354;

// The built-in texts (UTF-8), rows 0..353.
const std::array<std::string_view, kMessageRows>& DefaultMessages();

class MessageTable {
 public:
  MessageTable();

  // The row's text; empty for a row outside 0..353.
  const std::string& Text(int row) const;
  void Set(int row, std::string text);
  void ResetToDefaults();

 private:
  std::vector<std::string> rows_;
};

// The message with its rows taken from `table` and its literal pieces as they are.
std::string RenderMessage(const Message& message, const MessageTable& table);
// The same with the built-in texts.
std::string RenderMessage(const Message& message);

}  // namespace corvane
