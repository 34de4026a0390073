#include "main_window.h"

#include <QMdiArea>

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent), mdi_area_(new QMdiArea(this)) {
  setWindowTitle(QStringLiteral("Corvane"));
  setCentralWidget(mdi_area_);
  resize(900, 640);
}
