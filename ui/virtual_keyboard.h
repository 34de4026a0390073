// The virtual keyboard (TForm12): the 256 characters of one firmware font as a 16 x 16 grid, so
// that characters without a key on a PC keyboard can be entered by clicking them.
#pragma once

#include <QDialog>
#include <QImage>
#include <string>

#include "render/pixel_buffer.h"
#include "resources/font_set.h"

class QLineEdit;
class QPushButton;
class QStatusBar;

namespace corvane::ui {

class CharacterGrid;

class TForm12 : public QDialog {  // the 16 x 16 grid of one font's 256 characters
  Q_OBJECT

 public:
  explicit TForm12(QWidget* parent = nullptr);
  ~TForm12() override;

  // Shows the keyboard modally with font `font` of `fonts`; returns the collected
  // characters (one byte each), empty unless "Aceptar" closed it.
  std::string Mostrar(const TMHWFont& fonts, int font);

  // Resets the keyboard and draws font `font` without showing it (Mostrar starts with it).
  void Prepara(const TMHWFont& fonts, int font);
  // The pointer over the picture at (x, y): highlights the character under it.
  void PointerAt(int x, int y);
  // A mouse button pressed on the picture: the highlighted character joins the collected text.
  void Press();

  int Highlighted() const;
  QString StatusText() const;
  const PixelBuffer& Picture() const;
  int CellWidth() const;
  int CellHeight() const;
  // The collected characters so far (one byte each).
  const std::string& Collected() const { return collected_; }
  QLineEdit* TextBox() const { return text_; }
  QPushButton* AcceptButton() const { return accept_; }

  void CambiaIdioma();

 private:
  CharacterGrid* grid_;
  QLineEdit* text_;
  QPushButton* accept_;
  QStatusBar* status_;
  std::string collected_;
};

// The program's one keyboard (created on first use, parented to the main window).
TForm12& VirtualKeyboard(QWidget* main_window);

// A byte string as text, one character per byte (Latin-1), and back: every byte 0-255 maps to
// one character and back to itself; a character above U+00FF becomes '?'.
QString BytesToText(const std::string& bytes);
std::string TextToBytes(const QString& text);

// A pixel buffer as an image (a deep copy).
QImage ToImage(const PixelBuffer& buffer);

}  // namespace corvane::ui
