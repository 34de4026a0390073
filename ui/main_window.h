// The main window: an MDI frame around the firmware tree.
#pragma once

#include <QMainWindow>

class QMdiArea;

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TMainForm(QWidget* parent = nullptr);

  QMdiArea* MdiArea() const { return mdi_area_; }

 private:
  QMdiArea* mdi_area_;
};
