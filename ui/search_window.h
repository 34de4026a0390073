// The search window (TForm20): finds the next node after the selection whose name or content
// holds a text and selects it in the main window's tree. A tool window on top of the main window.
#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace corvane::ui {

class TMainForm;

// The search window: finds the next node whose name or content holds a text.
class TForm20 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm20(TMainForm& main);

  void CambiaIdioma();
  // One search from the main window's selection (Busca).
  void Busca();

  QLineEdit* Text() const { return text_; }
  QCheckBox* MatchCase() const { return match_case_; }
  QRadioButton* NamesAndContent() const { return names_and_content_; }
  QRadioButton* NamesOnly() const { return names_only_; }
  QRadioButton* ContentOnly() const { return content_only_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  TMainForm& main_;
  QLabel* label_;
  QLineEdit* text_;
  QCheckBox* match_case_;
  QGroupBox* options_;
  QRadioButton* names_and_content_;
  QRadioButton* names_only_;
  QRadioButton* content_only_;
  QPushButton* ok_;
};

}  // namespace corvane::ui
