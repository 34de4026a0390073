// The bytes a hex editor shows, with the record of which bytes were changed and an undo stack
// whose every step is one replacement of a range by other bytes (insert, remove and overwrite are
// its three shapes).
#pragma once

#include <QObject>
#include <QString>
#include <cstddef>
#include <vector>

#include "base/bytes.h"

class QUndoStack;

namespace corvane::ui {

// Byte buffer of the hex editor; every edit goes through the undo stack.
class HexDocument : public QObject {
  Q_OBJECT

 public:
  explicit HexDocument(QObject* parent = nullptr);

  // Takes new content as it was loaded: no change marks, an empty undo stack.
  void Load(Bytes bytes);

  const Bytes& Data() const { return data_; }
  std::size_t Size() const { return data_.size(); }
  bool IsChanged(std::size_t pos) const { return pos < changed_.size() && changed_[pos] != 0; }
  QUndoStack* UndoStack() const { return undo_; }

  // One undoable step: the `count` bytes at `offset` become `bytes` (clamped to the data).
  // Nothing happens for a step that changes nothing.
  void Replace(std::size_t offset, std::size_t count, const Bytes& bytes, const QString& text);
  void Insert(std::size_t offset, const Bytes& bytes, const QString& text) {
    Replace(offset, 0, bytes, text);
  }
  void Remove(std::size_t offset, std::size_t count, const QString& text) {
    Replace(offset, count, {}, text);
  }
  // Sets one byte as part of typing: two nibbles typed into the same byte make one step.
  void TypeByte(std::size_t offset, std::uint8_t value, bool insert, bool second_nibble);

 signals:
  // The bytes from `offset` on may have changed (and the size with them).
  void Changed(std::size_t offset);

 private:
  friend class HexReplaceCommand;
  // Applies a replacement directly (the commands call it); returns the bytes and marks replaced.
  void Apply(std::size_t offset, std::size_t count, const Bytes& bytes,
             const std::vector<std::uint8_t>& marks, Bytes* old_bytes,
             std::vector<std::uint8_t>* old_marks);

  Bytes data_;
  std::vector<std::uint8_t> changed_;  // 1 for a byte changed since loading
  QUndoStack* undo_;
};

}  // namespace corvane::ui
