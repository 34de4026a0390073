// The message table: every text the program shows, by row, with its built-in Spanish default.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"

namespace corvane {

inline constexpr int kMessageRows = 354;  // the original rows 0..353
inline constexpr int kOwnRowFirst = kMessageRows;  // rows of our own follow them
inline constexpr int kTableRows = 700;  // every row, ours included: 0..699

// The built-in texts (UTF-8), rows 0..353.
const std::array<std::string_view, kMessageRows>& DefaultMessages();

// A row of our own and its built-in Spanish text (UTF-8).
struct OwnMessage {
  int row;
  std::string_view spanish;
};
// Every row of our own in use, in increasing row order (own_messages.cpp).
const std::vector<OwnMessage>& OwnMessages();

// The built-in text of any row: empty for a row that is not in use.
std::string_view DefaultText(int row);

class MessageTable {
 public:
  MessageTable();

  // The row's text; empty for a row not in use.
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
