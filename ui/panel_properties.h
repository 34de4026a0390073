// The panel editor's three property pages ("Panel", "Elem. (visual)", "Elem. (otros)"): the
// controls of every field of the panel and of its elements, laid out and labelled. The editor
// (panel_editor.h) fills them and turns their changes into edits.
#pragma once

#include <QTabWidget>
#include <array>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSlider;

namespace corvane::ui {

class PanelProperties : public QTabWidget {
  Q_OBJECT

 public:
  explicit PanelProperties(QWidget* parent = nullptr);
  void CambiaIdioma();

  // "Panel"
  QLineEdit* init_method;
  QLineEdit* refresh_method;
  QLineEdit* final_method;
  QLineEdit* panel_name;
  QComboBox* icon_collection;  // editable
  std::array<QCheckBox*, 5> languages{};
  QComboBox* default_language;
  QComboBox* language_shown;
  QComboBox* palette;

  // "Elem. (visual)"
  QLineEdit* x;
  QLineEdit* y;
  QLineEdit* width;
  QLineEdit* height;
  QLabel* x1_hex;
  QLabel* y1_hex;
  QLabel* x2_hex;
  QLabel* y2_hex;
  QComboBox* font;
  QComboBox* size;  // editable
  QComboBox* justification;
  QComboBox* style_shown;
  QPushButton* new_style;
  QPushButton* delete_style;
  QComboBox* border_kind;
  QSlider* width1;
  QSlider* width2;
  QLabel* width2_label;
  std::array<QPushButton*, 3> colours{};  // text, border, background
  QLabel* content_label;
  QPlainTextEdit* text;
  QPushButton* keyboard;
  QComboBox* content_list;

  // "Elem. (otros)"
  QLineEdit* element_name;
  QComboBox* kind;
  QLineEdit* variable;
  QComboBox* next_panel;  // editable
  QComboBox* key;
  QComboBox* priority;
  QLineEdit* next_page;
  QLineEdit* array_index;
  QLineEdit* position;
  QLineEdit* method;
  std::array<QCheckBox*, 8> status{};
  QPushButton* visibility;

 private:
  // A label, box or button relabelled from a message row.
  QLabel* Label(int row);
  std::vector<std::pair<QWidget*, int>> texts_;
};

}  // namespace corvane::ui
