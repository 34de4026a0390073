// The information window (TForm19): directories, files and bytes used against what the open
// firmware offers, each with its percentage and a pie chart.
#pragma once

#include <QDialog>
#include <array>

#include "document/info.h"

class QLabel;
class QPushButton;

namespace corvane::ui {

class PieChart;

// The information window: the open firmware's use of directories, files and space.
class TForm19 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm19(const InfoFigures& figures, QWidget* parent = nullptr);

  void CambiaIdioma();
  // Panel 0 directories, 1 files, 2 space.
  QString ValueText(int panel) const;
  int PiePosition(int panel) const;

 private:
  struct Panel {
    QLabel* caption = nullptr;
    QLabel* value = nullptr;
    PieChart* pie = nullptr;
  };
  std::array<Panel, 3> panels_;
  QPushButton* ok_;
};

}  // namespace corvane::ui
