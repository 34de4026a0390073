#include "virtual_keyboard.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <algorithm>

#include "base/latin1.h"
#include "render/font_render.h"
#include "ui_text.h"

namespace corvane::ui {

namespace {
constexpr int kCharacterRow = 49;  // "Carácter :"
constexpr int kCaptionRow = 162;   // "Teclado virtual"
constexpr int kAcceptRow = 163;    // "Aceptar"

constexpr int kMargin = 3;          // around the picture and between it and the text box
constexpr int kExtraWidth = 7;      // the window is this much wider than the picture
constexpr int kExtraHeight = 68;    // and this much taller
constexpr int kTextNarrower = 64;   // the text box is this much narrower than the picture
constexpr int kAcceptFromRight = 69;
constexpr int kRowHeight = 21;
}  // namespace

// The picture of the grid: paints the keyboard's buffer and reports the pointer and presses.
class KeyboardPicture : public QWidget {
 public:
  explicit KeyboardPicture(TForm12& keyboard) : QWidget(&keyboard), keyboard_(keyboard) {
    setMouseTracking(true);
  }
  void SetImage(QImage image) {
    image_ = std::move(image);
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    const QPoint p = event->position().toPoint();
    keyboard_.PointerAt(p.x(), p.y());
  }
  void mousePressEvent(QMouseEvent* event) override {
    const QPoint p = event->position().toPoint();
    keyboard_.PointerAt(p.x(), p.y());
    keyboard_.Press();
  }

 private:
  TForm12& keyboard_;
  QImage image_;
};

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
      view_(new KeyboardPicture(*this)),
      text_(new QLineEdit(this)),
      accept_(new QPushButton(this)),
      status_(new QStatusBar(this)) {
  status_->setSizeGripEnabled(false);
  accept_->setDefault(true);
  connect(accept_, &QPushButton::clicked, this, &QDialog::accept);
  // Typing into the box changes the collected text too.
  connect(text_, &QLineEdit::textEdited, this,
          [this](const QString& text) { collected_ = TextToBytes(text); });
  CambiaIdioma();
}

TForm12::~TForm12() = default;

void TForm12::CambiaIdioma() {
  setWindowTitle(Msg(kCaptionRow));
  accept_->setText(Msg(kAcceptRow));
}

void TForm12::Prepara(const TMHWFont& fonts, int font) {
  highlighted_ = -1;
  collected_.clear();
  text_->clear();
  status_->clearMessage();
  CambiaIdioma();

  // A missing font or an empty one still gives a grid of one-pixel cells to type beside.
  const bool valid = fonts.Valid(font);
  cell_w_ = valid ? std::max(1, fonts.MaxWidth(font)) : 1;
  cell_h_ = valid ? std::max(1, static_cast<int>(fonts.fonts[static_cast<std::size_t>(font)].height))
                  : 1;
  picture_ = PixelBuffer(16 * cell_w_, 16 * cell_h_, Rgb{255, 255, 255});
  if (valid) {
    for (int code = 0; code < kGlyphCount; ++code)
      DibujaLetra(picture_, fonts, code, font, (code % 16) * cell_w_, (code / 16) * cell_h_, Rgb{});
  }

  const int pw = picture_.Width();
  const int ph = picture_.Height();
  const int width = pw + kExtraWidth;
  const int height = ph + kExtraHeight;
  view_->setGeometry(kMargin, kMargin, pw, ph);
  const int text_top = kMargin + ph + kMargin;
  text_->setGeometry(kMargin, text_top, std::max(8, pw - kTextNarrower), kRowHeight);
  accept_->setGeometry(width - kAcceptFromRight, text_top + 1, kAcceptFromRight - 2 * kMargin,
                       kRowHeight);
  const int status_top = text_top + kRowHeight + kMargin;
  status_->setGeometry(0, status_top, width, height - status_top);
  setFixedSize(width, height);
  ShowPicture();
}

std::string TForm12::Mostrar(const TMHWFont& fonts, int font) {
  Prepara(fonts, font);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }
  const bool accepted = exec() == QDialog::Accepted;
  if (highlighted_ >= 0) InvertOutline(highlighted_);
  highlighted_ = -1;
  std::string result = accepted ? collected_ : std::string();
  if (!accepted) {
    collected_.clear();
    text_->clear();
  }
  return result;
}

QString TForm12::StatusText() const { return status_->currentMessage(); }

void TForm12::PointerAt(int x, int y) {
  if (x < 0 || y < 0 || x >= picture_.Width() || y >= picture_.Height()) return;
  const int code = (y / cell_h_) * 16 + x / cell_w_;
  if (code == highlighted_) return;
  InvertOutline(code);
  if (highlighted_ >= 0) InvertOutline(highlighted_);
  highlighted_ = code;
  status_->showMessage(QStringLiteral("%1 %2 (0x%3)")
                           .arg(Msg(kCharacterRow))
                           .arg(code)
                           .arg(QString::number(code, 16).rightJustified(2, QLatin1Char('0')).toUpper()));
  ShowPicture();
}

void TForm12::Press() {
  if (highlighted_ < 0) return;
  collected_.push_back(static_cast<char>(highlighted_));
  text_->setText(BytesToText(collected_));
}

void TForm12::InvertOutline(int code) {
  const int x0 = (code % 16) * cell_w_;
  const int y0 = (code / 16) * cell_h_;
  const int x1 = x0 + cell_w_ - 1;
  const int y1 = y0 + cell_h_ - 1;
  auto invert = [this](int x, int y) {
    const Rgb c = picture_.Get(x, y);
    picture_.Set(x, y,
                 Rgb{static_cast<std::uint8_t>(~c.r), static_cast<std::uint8_t>(~c.g),
                     static_cast<std::uint8_t>(~c.b)});
  };
  // Every outline pixel exactly once, also for cells one pixel wide or high.
  for (int x = x0; x <= x1; ++x) {
    invert(x, y0);
    if (y1 != y0) invert(x, y1);
  }
  for (int y = y0 + 1; y < y1; ++y) {
    invert(x0, y);
    if (x1 != x0) invert(x1, y);
  }
}

void TForm12::ShowPicture() { view_->SetImage(ToImage(picture_)); }

TForm12& VirtualKeyboard(QWidget* main_window) {
  static QPointer<TForm12> keyboard;
  if (!keyboard) keyboard = new TForm12(main_window);
  return *keyboard;
}

}  // namespace corvane::ui
