// The character map (TForm22): the font editor's tool window that shows one font's 256 characters
// as a 16 x 16 grid and returns the one clicked.
#pragma once

#include <QDialog>

#include "resources/font_set.h"

class QStatusBar;

namespace corvane::ui {

class CharacterGrid;

class TForm22 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm22(QWidget* parent = nullptr);

  // Shows the map of font `font` modally: the code clicked, or -1 when closed otherwise.
  int Mostrar(const TMHWFont& fonts, int font);

  CharacterGrid* Grid() const { return grid_; }
  QString StatusText() const;

 private:
  CharacterGrid* grid_;
  QStatusBar* status_;
  int chosen_ = -1;
};

}  // namespace corvane::ui
