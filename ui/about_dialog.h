// The About box ("Acerca de..."): a modal window with the program's name, version and credits
// and an "OK" button.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace corvane::ui {

// The About box: program name and version, what it is, and the credits; every line follows the
// language in use.
class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* parent = nullptr);
  void CambiaIdioma();

 private:
  QLabel* description_;
  QLabel* credits_;
  QPushButton* ok_;
};

}  // namespace corvane::ui
