#include "hex_editor_widget.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QUndoStack>
#include <algorithm>
#include <cstdint>

#include "document/hex_text.h"
#include "hex_document.h"

namespace corvane::ui {

namespace {

constexpr int kMargin = 4;        // pixels left of the offsets and above the first row
constexpr int kOffsetCells = 9;   // eight hexadecimal digits and ":"
constexpr int kGapCells = 2;      // between the offsets, the hexadecimal and the character areas
constexpr char kDigits[] = "0123456789ABCDEF";

// The character shown for a byte (Latin-1; control codes as a dot).
QChar Shown(std::uint8_t b) {
  return (b < 0x20 || (b >= 0x7F && b < 0xA0)) ? QLatin1Char('.') : QChar(b);
}

}  // namespace

THexEditor::THexEditor(QWidget* parent)
    : QAbstractScrollArea(parent), document_(new HexDocument(this)) {
  setObjectName(QStringLiteral("THexEditor"));
  QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  setFont(fixed);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled, false);
  viewport()->setCursor(Qt::IBeamCursor);
  colors_.background = palette().color(QPalette::Base);
  connect(document_, &HexDocument::Changed, this, &THexEditor::DocumentChanged);
  UpdateMetrics();
}

const Bytes& THexEditor::Data() const { return document_->Data(); }

void THexEditor::SetBytesPerLine(int n) {
  n = std::clamp(n, kMinBytesPerLine, kMaxBytesPerLine);
  if (n == bytes_per_line_) return;
  bytes_per_line_ = n;
  UpdateScrollBars();
  EnsureCursorVisible();
  viewport()->update();
}

void THexEditor::SetGroupSize(int bytes) {
  if (bytes != 1 && bytes != 2 && bytes != 4) bytes = 4;
  if (bytes == group_) return;
  group_ = bytes;
  UpdateScrollBars();
  viewport()->update();
}

void THexEditor::SetInsertMode(bool insert) {
  insert_mode_ = insert;
  second_nibble_ = false;
  viewport()->update();
  emit StateChanged();
}

// ---- Geometry ----

void THexEditor::UpdateMetrics() {
  const QFontMetrics metrics(font());
  char_width_ = std::max(1, metrics.horizontalAdvance(QLatin1Char('0')));
  line_height_ = std::max(1, metrics.height());
  ascent_ = metrics.ascent();
  UpdateScrollBars();
  viewport()->update();
}

int THexEditor::HexX(int column) const {
  const int cells = kOffsetCells + kGapCells + column * 2 + column / group_;
  return kMargin + cells * char_width_;
}

int THexEditor::TextX(int column) const {
  const int hex_end = HexX(bytes_per_line_ - 1) + 2 * char_width_;
  return hex_end + kGapCells * char_width_ + column * char_width_;
}

int THexEditor::RowWidth() const { return TextX(bytes_per_line_) + kMargin; }

std::size_t THexEditor::RowCount() const {
  // One row more than the full rows when the last one is full: the caret may stand after the end.
  return Data().size() / static_cast<std::size_t>(bytes_per_line_) + 1;
}

int THexEditor::VisibleRows() const {
  return std::max(1, (viewport()->height() - kMargin) / line_height_);
}

std::size_t THexEditor::FirstVisibleRow() const {
  return static_cast<std::size_t>(verticalScrollBar()->value());
}

void THexEditor::UpdateScrollBars() {
  const std::size_t rows = RowCount();
  const auto visible = static_cast<std::size_t>(VisibleRows());
  const std::size_t max_row = rows > visible ? rows - visible : 0;
  verticalScrollBar()->setRange(0, static_cast<int>(std::min<std::size_t>(max_row, INT32_MAX)));
  verticalScrollBar()->setPageStep(static_cast<int>(visible));
  verticalScrollBar()->setSingleStep(1);
  horizontalScrollBar()->setRange(0, std::max(0, RowWidth() - viewport()->width()));
  horizontalScrollBar()->setPageStep(viewport()->width());
  horizontalScrollBar()->setSingleStep(char_width_);
}

void THexEditor::EnsureCursorVisible() {
  const std::size_t row = cursor_ / static_cast<std::size_t>(bytes_per_line_);
  const std::size_t first = FirstVisibleRow();
  const auto visible = static_cast<std::size_t>(VisibleRows());
  if (row < first) {
    verticalScrollBar()->setValue(static_cast<int>(row));
  } else if (row >= first + visible) {
    verticalScrollBar()->setValue(static_cast<int>(row - visible + 1));
  }
}

void THexEditor::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void THexEditor::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) UpdateMetrics();
}

// ---- Painting ----

void THexEditor::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(viewport());
  painter.fillRect(viewport()->rect(), colors_.background);
  painter.translate(-horizontalScrollBar()->value(), 0);
  const Bytes& data = Data();
  const auto bpl = static_cast<std::size_t>(bytes_per_line_);
  const std::size_t first_row = FirstVisibleRow();
  const std::size_t last_row = std::min(RowCount(), first_row + VisibleRows() + 1);
  const bool selection = HasSelection();
  const std::size_t sel_first = selection ? SelStart() : 0;
  const std::size_t sel_last = selection ? SelEnd() : 0;
  const QPalette& pal = palette();
  const bool focused = hasFocus();

  QString offset(kOffsetCells, QLatin1Char(':'));
  QString group_text;
  QString row_text;
  for (std::size_t row = first_row; row < last_row; ++row) {
    const int top = kMargin + static_cast<int>(row - first_row) * line_height_;
    const int base = top + ascent_;
    const std::size_t start = row * bpl;
    for (int i = 0; i < 8; ++i)
      offset[i] = QLatin1Char(kDigits[(start >> (4 * (7 - i))) & 0xF]);
    painter.setPen(colors_.offset);
    painter.drawText(kMargin, base, offset);

    const std::size_t count = start < data.size() ? std::min(bpl, data.size() - start) : 0;
    row_text.fill(QLatin1Char(' '), static_cast<qsizetype>(count));
    // Bytes drawn on their own (selected, changed or under the caret) leave a gap in the run.
    for (std::size_t g = 0; g < count; g += static_cast<std::size_t>(group_)) {
      const std::size_t g_end = std::min(count, g + static_cast<std::size_t>(group_));
      group_text.fill(QLatin1Char(' '), static_cast<qsizetype>(2 * (g_end - g)));
      const QColor group_color =
          (g / static_cast<std::size_t>(group_)) % 2 == 0 ? colors_.even_group : colors_.odd_group;
      for (std::size_t c = g; c < g_end; ++c) {
        const std::size_t pos = start + c;
        const std::uint8_t b = data[pos];
        const int col = static_cast<int>(c);
        const bool selected = selection && pos >= sel_first && pos <= sel_last;
        const bool at_cursor = pos == cursor_;
        const bool changed = document_->IsChanged(pos);
        const QChar hi = QLatin1Char(kDigits[b >> 4]);
        const QChar lo = QLatin1Char(kDigits[b & 0xF]);
        if (!selected && !at_cursor && !changed) {
          group_text[static_cast<qsizetype>(2 * (c - g))] = hi;
          group_text[static_cast<qsizetype>(2 * (c - g) + 1)] = lo;
          row_text[static_cast<qsizetype>(c)] = Shown(b);
          continue;
        }
        QColor back = colors_.changed_background;
        QColor fore = colors_.changed_text;
        if (selected) {
          back = pal.color(QPalette::Highlight);
          fore = pal.color(QPalette::HighlightedText);
        }
        const QRect hex_cell(HexX(col), top, 2 * char_width_, line_height_);
        const QRect text_cell(TextX(col), top, char_width_, line_height_);
        QColor hex_back = back, hex_fore = fore, text_back = back, text_fore = fore;
        if (at_cursor && !selected) {
          // The caret's cell in the active area; a frame marks the same byte in the other.
          if (area_ == Area::Hex) {
            hex_back = colors_.cursor_background;
            hex_fore = colors_.cursor_text;
            if (!changed) {
              text_back = colors_.background;
              text_fore = Qt::black;
            }
          } else {
            text_back = colors_.cursor_background;
            text_fore = colors_.cursor_text;
            if (!changed) {
              hex_back = colors_.background;
              hex_fore = group_color;
            }
          }
        }
        painter.fillRect(hex_cell, hex_back);
        painter.fillRect(text_cell, text_back);
        painter.setPen(hex_fore);
        painter.drawText(hex_cell.left(), base, QString(hi) + lo);
        painter.setPen(text_fore);
        painter.drawText(text_cell.left(), base, QString(Shown(b)));
      }
      painter.setPen(group_color);
      painter.drawText(HexX(static_cast<int>(g)), base, group_text);
    }
    painter.setPen(Qt::black);
    painter.drawText(TextX(0), base, row_text);
  }

  // The caret: a frame around its byte in the other area, and the nibble being typed; at the
  // end of the data a bar where the next byte goes.
  const std::size_t cursor_row = cursor_ / bpl;
  if (cursor_row >= first_row && cursor_row < last_row) {
    const int top = kMargin + static_cast<int>(cursor_row - first_row) * line_height_;
    const int col = static_cast<int>(cursor_ % bpl);
    const QRect hex_cell(HexX(col), top, 2 * char_width_, line_height_);
    const QRect text_cell(TextX(col), top, char_width_, line_height_);
    painter.setPen(colors_.cursor_frame);
    painter.drawRect((area_ == Area::Hex ? text_cell : hex_cell).adjusted(0, 0, -1, -1));
    if (cursor_ >= data.size() || focused) {
      const QRect active = area_ == Area::Hex ? hex_cell : text_cell;
      const int x = area_ == Area::Hex && second_nibble_ ? active.left() + char_width_
                                                         : active.left();
      painter.fillRect(insert_mode_ ? QRect(x, top, 2, line_height_)
                                    : QRect(x, top + line_height_ - 2, char_width_, 2),
                       cursor_ >= data.size() ? colors_.cursor_background : colors_.cursor_text);
    }
  }
}

// ---- Caret and selection ----

void THexEditor::SetCursor(std::size_t pos, Area area) {
  area_ = area;
  anchor_ = kNone;
  MoveTo(pos, false);
}

void THexEditor::MoveTo(std::size_t pos, bool extend) {
  const std::size_t size = Data().size();
  pos = std::min(pos, size);
  if (extend) {
    if (anchor_ == kNone) anchor_ = std::min(cursor_, size ? size - 1 : 0);
  } else {
    anchor_ = kNone;
  }
  cursor_ = pos;
  second_nibble_ = false;
  EnsureCursorVisible();
  viewport()->update();
  emit StateChanged();
}

std::size_t THexEditor::SelStart() const {
  const std::size_t last = Data().empty() ? 0 : Data().size() - 1;
  return std::min({anchor_, cursor_, last});
}

std::size_t THexEditor::SelEnd() const {
  const std::size_t last = Data().empty() ? 0 : Data().size() - 1;
  return std::min(std::max(anchor_, cursor_), last);
}

Bytes THexEditor::SelectionBytes() const {
  if (!HasSelection()) return {};
  const Bytes& d = Data();
  return Bytes(d.begin() + static_cast<std::ptrdiff_t>(SelStart()),
               d.begin() + static_cast<std::ptrdiff_t>(SelEnd() + 1));
}

void THexEditor::Select(std::size_t first, std::size_t last) {
  if (Data().empty()) return;
  const std::size_t end = Data().size() - 1;
  anchor_ = std::min(first, end);
  cursor_ = std::min(last, end);
  second_nibble_ = false;
  EnsureCursorVisible();
  viewport()->update();
  emit StateChanged();
}

void THexEditor::SelectAll() {
  if (!Data().empty()) Select(0, Data().size() - 1);
}

void THexEditor::ClearSelection() {
  if (anchor_ == kNone) return;
  anchor_ = kNone;
  viewport()->update();
  emit StateChanged();
}

// ---- Edits ----

void THexEditor::Copy() const {
  if (!HasSelection()) return;
  QApplication::clipboard()->setText(QString::fromStdString(HexText(SelectionBytes())));
}

void THexEditor::Cut() {
  if (!HasSelection()) return;
  Copy();
  DeleteSelection();
}

void THexEditor::DeleteSelection() {
  if (!HasSelection()) return;
  const std::size_t first = SelStart();
  const std::size_t count = SelEnd() - first + 1;
  anchor_ = kNone;
  cursor_ = first;
  document_->Remove(first, count, QStringLiteral("Delete"));
  MoveTo(first, false);
}

void THexEditor::Paste() {
  const Bytes bytes = ParsePastedHex(QApplication::clipboard()->text().toStdString());
  if (bytes.empty()) return;
  const std::size_t at = std::min(cursor_, Data().size());
  const std::size_t replaced = insert_mode_ ? 0 : std::min(bytes.size(), Data().size() - at);
  anchor_ = kNone;
  document_->Replace(at, replaced, bytes, QStringLiteral("Paste"));
  MoveTo(at + bytes.size(), false);
}

void THexEditor::Undo() { document_->UndoStack()->undo(); }
void THexEditor::Redo() { document_->UndoStack()->redo(); }

void THexEditor::DocumentChanged() {
  const std::size_t size = Data().size();
  cursor_ = std::min(cursor_, size);
  second_nibble_ = false;  // typing sets it again after its own change
  if (anchor_ != kNone && (size == 0 || anchor_ >= size)) anchor_ = kNone;
  UpdateScrollBars();
  EnsureCursorVisible();
  viewport()->update();
  emit StateChanged();
}

void THexEditor::TypeHexDigit(int digit) {
  const Bytes& data = Data();
  anchor_ = kNone;
  if (!second_nibble_) {
    const bool fresh = insert_mode_ || cursor_ >= data.size();
    const auto value = static_cast<std::uint8_t>(digit << 4 | (fresh ? 0 : data[cursor_] & 0x0F));
    document_->TypeByte(cursor_, value, insert_mode_, false);
    second_nibble_ = true;
  } else {
    const auto value = static_cast<std::uint8_t>((data[cursor_] & 0xF0) | digit);
    document_->TypeByte(cursor_, value, insert_mode_, true);
    second_nibble_ = false;
    ++cursor_;
  }
  EnsureCursorVisible();
  viewport()->update();
}

void THexEditor::TypeCharacter(std::uint8_t byte) {
  anchor_ = kNone;
  second_nibble_ = false;
  document_->TypeByte(cursor_, byte, insert_mode_, false);
  ++cursor_;
  EnsureCursorVisible();
  viewport()->update();
}

// ---- Keyboard and mouse ----

bool THexEditor::focusNextPrevChild(bool /*next*/) { return false; }  // Tab switches areas

void THexEditor::keyPressEvent(QKeyEvent* event) {
  const std::size_t bpl = static_cast<std::size_t>(bytes_per_line_);
  const std::size_t size = Data().size();
  const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
  const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
  const std::size_t page = bpl * static_cast<std::size_t>(VisibleRows());
  switch (event->key()) {
    case Qt::Key_Left:
      MoveTo(cursor_ > 0 ? cursor_ - 1 : 0, shift);
      break;
    case Qt::Key_Right:
      MoveTo(cursor_ + 1, shift);
      break;
    case Qt::Key_Up:
      MoveTo(cursor_ >= bpl ? cursor_ - bpl : cursor_, shift);
      break;
    case Qt::Key_Down:
      MoveTo(cursor_ + bpl <= size ? cursor_ + bpl : cursor_, shift);
      break;
    case Qt::Key_PageUp:
      MoveTo(cursor_ >= page ? cursor_ - page : cursor_ % bpl, shift);
      break;
    case Qt::Key_PageDown:
      MoveTo(cursor_ + page <= size ? cursor_ + page : size, shift);
      break;
    case Qt::Key_Home:
      MoveTo(ctrl ? 0 : cursor_ - cursor_ % bpl, shift);
      break;
    case Qt::Key_End:
      MoveTo(ctrl ? size : std::min(size, cursor_ - cursor_ % bpl + bpl - 1), shift);
      break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      area_ = area_ == Area::Hex ? Area::Text : Area::Hex;
      second_nibble_ = false;
      viewport()->update();
      emit StateChanged();
      break;
    case Qt::Key_Insert:
      SetInsertMode(!insert_mode_);
      break;
    case Qt::Key_Delete:
      if (HasSelection()) {
        DeleteSelection();
      } else if (cursor_ < size) {
        document_->Remove(cursor_, 1, QStringLiteral("Delete"));
      }
      break;
    case Qt::Key_Backspace:
      if (HasSelection()) {
        DeleteSelection();
      } else if (cursor_ > 0) {
        const std::size_t at = cursor_ - 1;
        cursor_ = at;
        document_->Remove(at, 1, QStringLiteral("Delete"));
        MoveTo(at, false);
      }
      break;
    default: {
      const QString text = event->text();
      if (ctrl || text.size() != 1 || event->modifiers().testFlag(Qt::AltModifier)) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
      }
      const QChar c = text.front();
      if (area_ == Area::Hex) {
        const auto digit = static_cast<int>(QStringLiteral("0123456789abcdef").indexOf(c.toLower()));
        if (digit < 0) {
          event->ignore();
          return;
        }
        TypeHexDigit(digit);
      } else {
        if (c.unicode() < 0x20 || c.unicode() > 0xFF) {
          event->ignore();
          return;
        }
        TypeCharacter(static_cast<std::uint8_t>(c.unicode()));
      }
      emit StateChanged();
      break;
    }
  }
  event->accept();
}

void THexEditor::keyReleaseEvent(QKeyEvent* event) {
  QAbstractScrollArea::keyReleaseEvent(event);
  if (!event->isAutoRepeat()) emit UserActed();
}

std::size_t THexEditor::HitTest(QPoint point, Area* area) const {
  const int x = point.x() + horizontalScrollBar()->value();
  const int row_offset = std::max(0, (point.y() - kMargin) / line_height_);
  const std::size_t row = FirstVisibleRow() + static_cast<std::size_t>(row_offset);
  int column = 0;
  if (x >= TextX(0) - char_width_) {
    *area = Area::Text;
    column = std::clamp((x - TextX(0)) / char_width_, 0, bytes_per_line_ - 1);
  } else {
    *area = Area::Hex;
    column = bytes_per_line_ - 1;
    for (int c = 0; c < bytes_per_line_; ++c)
      if (x < HexX(c) + 2 * char_width_ + (c % group_ == group_ - 1 ? char_width_ / 2 : 0)) {
        column = c;
        break;
      }
  }
  return std::min(Data().size(),
                  row * static_cast<std::size_t>(bytes_per_line_) + static_cast<std::size_t>(column));
}

void THexEditor::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QAbstractScrollArea::mousePressEvent(event);
    return;
  }
  setFocus(Qt::MouseFocusReason);
  Area area = area_;
  const std::size_t pos = HitTest(event->position().toPoint(), &area);
  area_ = area;
  const bool extend = event->modifiers().testFlag(Qt::ShiftModifier);
  MoveTo(pos, extend);
  dragging_ = true;
}

void THexEditor::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_ || !(event->buttons() & Qt::LeftButton)) return;
  Area area = area_;
  const std::size_t pos = HitTest(event->position().toPoint(), &area);
  if (pos != cursor_ && !Data().empty()) MoveTo(std::min(pos, Data().size() - 1), true);
}

void THexEditor::mouseReleaseEvent(QMouseEvent* event) {
  QAbstractScrollArea::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && dragging_) {
    dragging_ = false;
    emit UserActed();
  }
}

}  // namespace corvane::ui
