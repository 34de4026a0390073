// The application editor (TForm18): the initial and final scripts, the default palette, the
// classes and the comment lines of an application. Every edit goes through the undo stack;
// "OK" writes the application into its node.
#pragma once

#include <string>
#include <vector>

#include "resource_editor.h"
#include "resources/application.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;

namespace corvane::ui {

class TForm18 : public ResourceEditor {
  Q_OBJECT

 public:
  TForm18(TMainForm& main, TNodo& node);

  void CambiaIdioma() override;
  bool GuardaDatos() override;

  const TMHWApplication& Application() const { return application_; }

  QComboBox* InitialScriptBox() const { return initial_; }
  QComboBox* FinalScriptBox() const { return final_; }
  QComboBox* PaletteBox() const { return palette_; }
  QComboBox* ClassChooser() const { return chooser_; }
  QListWidget* ClassList() const { return classes_; }
  QPlainTextEdit* Comments() const { return comments_; }
  QPushButton* AddButton() const { return add_; }
  QPushButton* RemoveButton() const { return remove_; }

  void AddClass();
  void RemoveClasses();
  // Stores what the boxes and the comment memo show (as leaving them does).
  void StoreFields();

  struct State {
    std::string initial, final, palette;
    std::vector<std::string> classes, comments;
    bool operator==(const State&) const = default;
  };
  void Apply(const State& state);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  State Current() const;
  void Edit(const State& after);
  void Show();

  TMHWApplication application_;
  QLabel* initial_label_;
  QLabel* final_label_;
  QLabel* palette_label_;
  QLabel* comments_label_;
  QComboBox* initial_;
  QComboBox* final_;
  QComboBox* palette_;
  QGroupBox* class_group_;
  QComboBox* chooser_;
  QListWidget* classes_;
  QPushButton* add_;
  QPushButton* remove_;
  QPlainTextEdit* comments_;
};

void RegisterApplicationEditor();

}  // namespace corvane::ui
