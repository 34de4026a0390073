#include "virtual_keyboard.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <algorithm>

#include "base/latin1.h"
#include "character_grid.h"
#include "ui_text.h"

namespace corvane::ui {

namespace {
constexpr int kCaptionRow = 162;  // "Teclado virtual"
constexpr int kAcceptRow = 163;   // "Aceptar"

constexpr int kMargin = 3;          // around the picture and between it and the text box
constexpr int kExtraWidth = 7;      // the window is this much wider than the picture
constexpr int kExtraHeight = 68;    // and this much taller
constexpr int kTextNarrower = 64;   // the text box is this much narrower than the picture
constexpr int kAcceptFromRight = 69;
constexpr int kRowHeight = 21;
}  // namespace

QString BytesToText(const std::string& bytes) {
  return QString::fromStdString(Latin1ToUtf8(bytes));
}

std::string TextToBytes(const QString& text) {
  return Utf8ToLatin1(text.toStdString(), nullptr, '?');
}

QImage ToImage(const PixelBuffer& buffer) {
  if (buffer.Width() <= 0 || buffer.Height() <= 0) return QImage();
  return QImage(buffer.Data().data(), buffer.Width(), buffer.Height(), buffer.Width() * 3,
                QImage::Format_RGB888)
      .copy();
}

TForm12::TForm12(QWidget* parent)
    : QDialog(parent),
      grid_(new CharacterGrid(this)),
      text_(new QLineEdit(this)),
      accept_(new QPushButton(this)),
      status_(new QStatusBar(this)) {
  status_->setSizeGripEnabled(false);
  accept_->setDefault(true);
  grid_->on_highlight = [this](int code) { status_->showMessage(CharacterStatus(code)); };
  grid_->on_press = [this] { Press(); };
  connect(accept_, &QPushButton::clicked, this, &QDialog::accept);
  // Typing into the box changes the collected text too.
  connect(text_, &QLineEdit::textEdited, this,
          [this](const QString& text) { collected_ = TextToBytes(text); });
  CambiaIdioma();
}

TForm12::~TForm12() = default;

int TForm12::Highlighted() const { return grid_->Highlighted(); }
const PixelBuffer& TForm12::Picture() const { return grid_->Picture(); }
int TForm12::CellWidth() const { return grid_->CellWidth(); }
int TForm12::CellHeight() const { return grid_->CellHeight(); }
QString TForm12::StatusText() const { return status_->currentMessage(); }

void TForm12::CambiaIdioma() {
  setWindowTitle(Msg(kCaptionRow));
  accept_->setText(Msg(kAcceptRow));
}

void TForm12::Prepara(const TMHWFont& fonts, int font) {
  collected_.clear();
  text_->clear();
  status_->clearMessage();
  CambiaIdioma();
  grid_->Draw(fonts, font);

  const int pw = grid_->Picture().Width();
  const int ph = grid_->Picture().Height();
  const int width = pw + kExtraWidth;
  const int height = ph + kExtraHeight;
  grid_->move(kMargin, kMargin);
  const int text_top = kMargin + ph + kMargin;
  text_->setGeometry(kMargin, text_top, std::max(8, pw - kTextNarrower), kRowHeight);
  accept_->setGeometry(width - kAcceptFromRight, text_top + 1, kAcceptFromRight - 2 * kMargin,
                       kRowHeight);
  const int status_top = text_top + kRowHeight + kMargin;
  status_->setGeometry(0, status_top, width, height - status_top);
  setFixedSize(width, height);
}

std::string TForm12::Mostrar(const TMHWFont& fonts, int font) {
  Prepara(fonts, font);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
  const bool accepted = exec() == QDialog::Accepted;
  grid_->ClearHighlight();
  if (!accepted) {
    collected_.clear();
    text_->clear();
  }
  return collected_;
}

void TForm12::PointerAt(int x, int y) { grid_->PointerAt(x, y); }

void TForm12::Press() {
  if (grid_->Highlighted() < 0) return;
  collected_.push_back(static_cast<char>(grid_->Highlighted()));
  text_->setText(BytesToText(collected_));
}

TForm12& VirtualKeyboard(QWidget* main_window) {
  static QPointer<TForm12> keyboard;
  if (!keyboard) keyboard = new TForm12(main_window);
  return *keyboard;
}

}  // namespace corvane::ui
