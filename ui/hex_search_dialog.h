// The hex editor's search dialog (TForm8): finds text (any letter case) or hexadecimal bytes
// after the grid's selection and selects the hit; Enter searches again, Escape closes.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

namespace corvane::ui {

class THexEditor;

// Search dialog of one hex editor window, in text or hexadecimal mode.
class TForm8 : public QDialog {
  Q_OBJECT

 public:
  enum class Mode { Text, Hex };

  TForm8(THexEditor& grid, QWidget* parent);

  // Shows the dialog in a mode, captioned for it.
  void Open(Mode mode);
  Mode CurrentMode() const { return mode_; }
  void CambiaIdioma();
  // One search from the grid's selection; false when nothing was found.
  bool Busca();

  QLineEdit* Text() const { return text_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void FilterHexDigits();

  THexEditor& grid_;
  Mode mode_ = Mode::Text;
  QLabel* label_;
  QLineEdit* text_;
};

}  // namespace corvane::ui
