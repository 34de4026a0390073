#include "config/messages.h"

namespace corvane {

MessageTable::MessageTable() { ResetToDefaults(); }

const std::string& MessageTable::Text(int row) const {
  static const std::string kEmpty;
  if (row < 0 || row >= kMessageRows) return kEmpty;
  return rows_[static_cast<std::size_t>(row)];
}

void MessageTable::Set(int row, std::string text) {
  if (row >= 0 && row < kMessageRows) rows_[static_cast<std::size_t>(row)] = std::move(text);
}

void MessageTable::ResetToDefaults() {
  const auto& defaults = DefaultMessages();
  rows_.assign(defaults.begin(), defaults.end());
}

std::string RenderMessage(const Message& message, const MessageTable& table) {
  std::string out;
  for (const auto& piece : message.Pieces()) out += piece.row >= 0 ? table.Text(piece.row) : piece.text;
  return out;
}

std::string RenderMessage(const Message& message) {
  static const MessageTable kDefaults;
  return RenderMessage(message, kDefaults);
}

}  // namespace corvane
