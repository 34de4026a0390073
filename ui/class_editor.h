// The class editor (TForm16): a class's variables in a grid (drag a row to move a variable), the
// selected variable's declaration, and the class name. Every edit goes through the undo stack;
// "OK" writes the class into its node.
#pragma once

#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "resource_editor.h"
#include "resources/class.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTableWidget;
class QToolButton;

namespace corvane::ui {

class TForm16 : public ResourceEditor {
  Q_OBJECT

 public:
  TForm16(TMainForm& main, TNodo& node);

  void CambiaIdioma() override;
  bool GuardaDatos() override;

  // The class as the window holds it (edits included).
  const TMHWClass& Class() const { return class_; }
  int Selected() const { return selected_; }
  void Select(int variable);

  QTableWidget* Grid() const { return grid_; }
  QLineEdit* NameField() const { return name_; }
  QComboBox* TypeList() const { return type_; }
  QLineEdit* Dimension1Field() const { return dimension1_; }
  QLineEdit* Dimension2Field() const { return dimension2_; }
  QLineEdit* LengthField() const { return length_; }
  QLineEdit* PrecisionField() const { return precision_; }
  QCheckBox* LowerCaseBox() const { return lower_case_; }
  QLineEdit* ClassNameField() const { return class_name_; }
  QToolButton* NewButton() const { return new_; }
  QToolButton* DeleteButton() const { return delete_; }

  void NewVariable();
  void DeleteVariable();
  void MoveVariable(int from, int to);

  // What an edit changes, for the undo stack.
  struct State {
    std::string name;
    std::vector<ClassVariable> variables;
    int selected = 0;
    bool operator==(const State&) const = default;
  };
  void Apply(const State& state);

 private:
  State Current() const;
  // Applies `change` to a copy of the class and, when it changed something, pushes it.
  void Edit(const std::function<void(TMHWClass&)>& change, int select_after);
  void ShowGrid();
  void ShowVariable();
  void StoreName();
  void StoreNumber(QLineEdit* field, VariableField which);
  int& FieldOf(ClassVariable& v, VariableField which) const;

  TMHWClass class_;
  int selected_ = 0;
  QTableWidget* grid_;
  QGroupBox* declaration_;
  QGroupBox* class_group_;
  QLabel* name_label_;
  QLabel* type_label_;
  QLabel* dimension1_label_;
  QLabel* dimension2_label_;
  QLabel* length_label_;
  QLabel* precision_label_;
  QLineEdit* name_;
  QComboBox* type_;
  QLineEdit* dimension1_;
  QLineEdit* dimension2_;
  QLineEdit* length_;
  QLineEdit* precision_;
  QCheckBox* lower_case_;
  QLineEdit* class_name_;
  QToolButton* new_;
  QToolButton* delete_;
  bool showing_ = false;
};

void RegisterClassEditor();

}  // namespace corvane::ui
