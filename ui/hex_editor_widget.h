// The byte grid (THexEditor): an offset column, the bytes in hexadecimal in column groups, and
// the same bytes as characters. It paints only the rows in view, so large data scrolls and types
// as fast as small data.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <cstddef>

#include "base/bytes.h"

namespace corvane::ui {

class HexDocument;

// The grid control: caret in the hexadecimal or character area, insert and overwrite modes,
// nibble entry, selection, clipboard text of bytes.
class THexEditor : public QAbstractScrollArea {
  Q_OBJECT

 public:
  enum class Area { Hex, Text };

  // The grid's colours.
  struct Colors {
    QColor background;                        // the window colour
    QColor cursor_background{128, 0, 0};      // maroon
    QColor cursor_text{Qt::white};
    QColor changed_background{255, 255, 168};  // light yellow
    QColor changed_text{128, 0, 0};            // maroon
    QColor cursor_frame{0, 0, 128};            // navy
    QColor offset{Qt::black};
    QColor odd_group{Qt::blue};
    QColor even_group{0, 0, 128};  // navy
  };

  static constexpr int kMinBytesPerLine = 12;
  static constexpr int kMaxBytesPerLine = 32;

  explicit THexEditor(QWidget* parent = nullptr);

  HexDocument& Document() const { return *document_; }
  const Bytes& Data() const;

  int BytesPerLine() const { return bytes_per_line_; }
  void SetBytesPerLine(int n);  // 12..32
  int GroupSize() const { return group_; }
  void SetGroupSize(int bytes);  // 1, 2 or 4
  bool InsertMode() const { return insert_mode_; }
  void SetInsertMode(bool insert);
  const Colors& GridColors() const { return colors_; }

  // The caret: 0..size (size is the place after the last byte, where typing appends).
  std::size_t Cursor() const { return cursor_; }
  Area CursorArea() const { return area_; }
  void SetCursor(std::size_t pos, Area area = Area::Hex);
  // The selection: bytes first..last inclusive (both below the size), or none.
  bool HasSelection() const { return anchor_ != kNone && !Data().empty(); }
  std::size_t SelStart() const;
  std::size_t SelEnd() const;  // inclusive
  Bytes SelectionBytes() const;
  void Select(std::size_t first, std::size_t last);
  void SelectAll();
  void ClearSelection();

  // Edits (each one undoable step).
  void Copy() const;
  void Cut();
  void Paste();
  void DeleteSelection();
  void Undo();
  void Redo();

  // The first row in view and how many rows the view shows.
  std::size_t FirstVisibleRow() const;
  int VisibleRows() const;
  void EnsureCursorVisible();

 signals:
  // The caret, the selection or the mode changed.
  void StateChanged();
  // The user clicked or released a key in the grid (the status panel refreshes).
  void UserActed();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  void UpdateMetrics();
  void UpdateScrollBars();
  void DocumentChanged();
  // Moves the caret; with `extend` the selection grows from where it was.
  void MoveTo(std::size_t pos, bool extend);
  void TypeHexDigit(int digit);
  void TypeCharacter(std::uint8_t byte);
  // The byte offset under a point of the viewport (and the area it is in).
  std::size_t HitTest(QPoint point, Area* area) const;
  int HexX(int column) const;   // left of a byte's first digit, in row coordinates
  int TextX(int column) const;  // left of a byte's character
  int RowWidth() const;
  std::size_t RowCount() const;

  HexDocument* document_;
  Colors colors_;
  int bytes_per_line_ = 16;
  int group_ = 4;
  bool insert_mode_ = false;
  std::size_t cursor_ = 0;
  std::size_t anchor_ = kNone;
  Area area_ = Area::Hex;
  bool second_nibble_ = false;
  bool dragging_ = false;
  int char_width_ = 8;
  int line_height_ = 16;
  int ascent_ = 12;
};

}  // namespace corvane::ui
