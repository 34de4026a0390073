// The comparison window (TForm21): two firmware images of firmware models, loaded privately,
// compared file by file; the summary can be saved as a text file.
#pragma once

#include <QDialog>
#include <QStringList>
#include <string>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace corvane::ui {

class TMainForm;

// The comparison window: two files, their summary, and saving it.
class TForm21 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm21(TMainForm& main);

  void CambiaIdioma();
  // The filters of the comparison's open dialog: "detect the model" first, then message 295's
  // list, or (when a language leaves it empty) the firmware models' own names in its order.
  static QStringList Filters();
  // The model of a 0-based entry of those filters (0: detect).
  static int ModelOfFilter(int index);

  QLineEdit* File(int side) const { return side == 1 ? file1_ : file2_; }
  void SetModel(int side, int model) { (side == 1 ? model1_ : model2_) = model; }
  QPushButton* CompareButton() const { return compare_; }
  QPushButton* SaveButton() const { return save_; }
  QString Summary() const;

  void PickFile(int side);
  void Compare();
  void SaveSummary();

 private:
  void CheckCompare();

  TMainForm& main_;
  QLabel* label1_;
  QLabel* label2_;
  QLineEdit* file1_;
  QLineEdit* file2_;
  QToolButton* pick1_;
  QToolButton* pick2_;
  QPushButton* compare_;
  QPushButton* save_;
  QPlainTextEdit* summary_;
  std::string summary_text_;  // the last summary, as its file is written
  int model1_ = 0;
  int model2_ = 0;
};

}  // namespace corvane::ui
