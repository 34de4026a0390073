#include "hex_document.h"

#include <QUndoCommand>
#include <QUndoStack>
#include <algorithm>

namespace corvane::ui {

// Replaces a range by other bytes; undo puts the old bytes and their change marks back.
class HexReplaceCommand : public QUndoCommand {
 public:
  static constexpr int kTypingId = 0x4845;  // typing into one byte merges its two nibbles

  HexReplaceCommand(HexDocument& doc, std::size_t offset, std::size_t count, Bytes bytes,
                    const QString& text, bool typing = false)
      : QUndoCommand(text),
        doc_(doc),
        offset_(offset),
        count_(count),
        new_bytes_(std::move(bytes)),
        typing_(typing) {}

  void redo() override {
    doc_.Apply(offset_, count_, new_bytes_, std::vector<std::uint8_t>(new_bytes_.size(), 1),
               &old_bytes_, &old_marks_);
  }
  void undo() override {
    doc_.Apply(offset_, new_bytes_.size(), old_bytes_, old_marks_, nullptr, nullptr);
  }
  int id() const override { return typing_ ? kTypingId : -1; }
  bool mergeWith(const QUndoCommand* other) override {
    // The second nibble of a byte replaces the byte the first one made.
    const auto* o = static_cast<const HexReplaceCommand*>(other);
    if (!o->second_nibble_ || o->offset_ != offset_ || o->new_bytes_.size() != 1 ||
        new_bytes_.size() != 1)
      return false;
    new_bytes_ = o->new_bytes_;
    return true;
  }
  void MarkSecondNibble() { second_nibble_ = true; }

 private:
  HexDocument& doc_;
  std::size_t offset_;
  std::size_t count_;
  Bytes new_bytes_;
  Bytes old_bytes_;
  std::vector<std::uint8_t> old_marks_;
  bool typing_;
  bool second_nibble_ = false;
};

HexDocument::HexDocument(QObject* parent) : QObject(parent), undo_(new QUndoStack(this)) {}

void HexDocument::Load(Bytes bytes) {
  undo_->clear();
  data_ = std::move(bytes);
  changed_.assign(data_.size(), 0);
  emit Changed(0);
}

void HexDocument::Replace(std::size_t offset, std::size_t count, const Bytes& bytes,
                          const QString& text) {
  offset = std::min(offset, data_.size());
  count = std::min(count, data_.size() - offset);
  if (count == 0 && bytes.empty()) return;
  undo_->push(new HexReplaceCommand(*this, offset, count, bytes, text));
}

void HexDocument::TypeByte(std::size_t offset, std::uint8_t value, bool insert,
                           bool second_nibble) {
  offset = std::min(offset, data_.size());
  // The first nibble inserts (or overwrites, or appends at the end); the second one overwrites
  // the byte the first made, in the same step.
  const std::size_t count = (insert && !second_nibble) || offset == data_.size() ? 0 : 1;
  auto* command = new HexReplaceCommand(*this, offset, count, Bytes{value}, QString(), true);
  if (second_nibble) command->MarkSecondNibble();
  undo_->push(command);
}

void HexDocument::Apply(std::size_t offset, std::size_t count, const Bytes& bytes,
                        const std::vector<std::uint8_t>& marks, Bytes* old_bytes,
                        std::vector<std::uint8_t>* old_marks) {
  const auto first = static_cast<std::ptrdiff_t>(offset);
  const auto last = static_cast<std::ptrdiff_t>(offset + count);
  if (old_bytes) old_bytes->assign(data_.begin() + first, data_.begin() + last);
  if (old_marks) old_marks->assign(changed_.begin() + first, changed_.begin() + last);
  if (count == bytes.size()) {
    std::copy(bytes.begin(), bytes.end(), data_.begin() + first);
    std::copy(marks.begin(), marks.end(), changed_.begin() + first);
  } else {
    data_.erase(data_.begin() + first, data_.begin() + last);
    data_.insert(data_.begin() + first, bytes.begin(), bytes.end());
    changed_.erase(changed_.begin() + first, changed_.begin() + last);
    changed_.insert(changed_.begin() + first, marks.begin(), marks.end());
  }
  emit Changed(offset);
}

}  // namespace corvane::ui
