// Results of core operations: done, or refused with a message built from message-table rows.
//
// The core never shows anything. A Message is a sequence of pieces, each a message-table row or a
// literal text (arguments, separators, line breaks); the caller renders it with the message table
// in use and decides how to show it.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace corvane {

inline constexpr const char* kLineBreak = "\r\n";

class Message {
 public:
  struct Piece {
    int row = -1;      // a message-table row, or -1 for literal text
    std::string text;  // the literal text when row is -1
    bool operator==(const Piece&) const = default;
  };

  Message() = default;
  static Message FromRow(int row) { return Message().Row(row); }

  Message& Row(int row) {
    pieces_.push_back({row, {}});
    return *this;
  }
  Message& Text(std::string text) {
    pieces_.push_back({-1, std::move(text)});
    return *this;
  }
  Message& Break() { return Text(kLineBreak); }

  bool Empty() const { return pieces_.empty(); }
  const std::vector<Piece>& Pieces() const { return pieces_; }
  // The message-table rows it quotes, in order.
  std::vector<int> Rows() const {
    std::vector<int> rows;
    for (const auto& p : pieces_)
      if (p.row >= 0) rows.push_back(p.row);
    return rows;
  }
  bool operator==(const Message&) const = default;

 private:
  std::vector<Piece> pieces_;
};

enum class Outcome {
  Done,      // accepted / written
  Rejected,  // the input is not what was asked for (wrong model, bad length, missing blocks)
  Refused,   // the operation would break a rule (does not fit, bad name)
  IoError,   // a file could not be read or written
  Cancelled  // the user declined
};

struct Result {
  Outcome outcome = Outcome::Done;
  Message message;

  bool ok() const { return outcome == Outcome::Done; }
  explicit operator bool() const { return ok(); }

  static Result Ok() { return {}; }
  static Result Rejected(Message m) { return {Outcome::Rejected, std::move(m)}; }
  static Result Refused(Message m) { return {Outcome::Refused, std::move(m)}; }
  static Result IoError(Message m) { return {Outcome::IoError, std::move(m)}; }
  static Result Cancelled() { return {Outcome::Cancelled, {}}; }
};

}  // namespace corvane
