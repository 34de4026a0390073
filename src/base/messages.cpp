#include "base/messages.h"

namespace corvane {

MessageTable::MessageTable() { ResetToDefaults(); }

const std::string& MessageTable::Text(int row) const {
  static const std::string kEmpty;
  if (row < 0 || row >= kTableRows) return kEmpty;
  return rows_[static_cast<std::size_t>(row)];
}

void MessageTable::Set(int row, std::string text) {
  if (row >= 0 && row < kTableRows) rows_[static_cast<std::size_t>(row)] = std::move(text);
}

void MessageTable::ResetToDefaults() {
  rows_.assign(static_cast<std::size_t>(kTableRows), std::string());
  for (int row = 0; row < kTableRows; ++row) rows_[static_cast<std::size_t>(row)] = DefaultText(row);
}

std::string_view DefaultText(int row) {
  if (row >= 0 && row < kMessageRows) return DefaultMessages()[static_cast<std::size_t>(row)];
  for (const OwnMessage& own : OwnMessages())
    if (own.row == row) return own.spanish;
  return {};
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
