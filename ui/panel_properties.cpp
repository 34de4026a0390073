#include "panel_properties.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "resources/panel.h"
#include "ui_text.h"

namespace corvane::ui {

namespace {

// Message rows of the pages.
enum Row : int {
  kTexto = 48,
  kPaleta = 76,
  kAncho = 77,
  kAlto = 78,
  kPanelPage = 107,
  kVisualPage = 108,
  kOtherPage = 109,
  kInitMethod = 110,
  kRefreshMethod = 111,
  kFinalMethod = 112,
  kPanelName = 113,
  kIconCollection = 114,
  kLanguages = 115,
  kLanguage0 = 116,
  kDefaultLanguage = 121,
  kKind = 123,
  kElementName = 124,
  kLanguageShown = 125,
  kCoordinates = 126,
  kFontGroup = 127,
  kFont = 128,
  kSize = 129,
  kJustification = 130,
  kStyles = 131,
  kStyleShown = 132,
  kBorderKind = 133,
  kWidth1 = 134,
  kWidth2 = 135,
  kColours = 136,
  kVisibility = 137,
  kFirstBorderKind = 138,
  kKey = 144,
  kMethod = 145,
  kPriority = 146,
  kNextPage = 147,
  kPosition = 148,
  kArrayIndex = 149,
  kVariable = 150,
  kNextPanel = 151,
  kFirstStatusBit = 152,
  kStatusBits = 160,
  kKeyboard = 162,
  kLeft = 201,
  kNewStyle = 204,
  kDeleteStyle = 205,
};

QLineEdit* Box(QWidget* parent, int max_length = 255) {
  auto* box = new QLineEdit(parent);
  box->setMaxLength(max_length);
  return box;
}

}  // namespace

QLabel* PanelProperties::Label(int row) {
  auto* label = new QLabel(this);
  texts_.emplace_back(label, row);
  return label;
}

PanelProperties::PanelProperties(QWidget* parent) : QTabWidget(parent) {
  // ---- "Panel" ----
  auto* panel_page = new QWidget(this);
  auto* panel_form = new QFormLayout(panel_page);
  init_method = Box(panel_page, 4);
  refresh_method = Box(panel_page, 4);
  final_method = Box(panel_page, 4);
  panel_name = Box(panel_page, 8);
  icon_collection = new QComboBox(panel_page);
  icon_collection->setEditable(true);
  panel_form->addRow(Label(kInitMethod), init_method);
  panel_form->addRow(Label(kRefreshMethod), refresh_method);
  panel_form->addRow(Label(kFinalMethod), final_method);
  panel_form->addRow(Label(kPanelName), panel_name);
  panel_form->addRow(Label(kIconCollection), icon_collection);
  auto* languages_box = new QGroupBox(panel_page);
  texts_.emplace_back(languages_box, kLanguages);
  auto* languages_layout = new QHBoxLayout(languages_box);
  for (int i = 0; i < kPanelLanguages; ++i) {
    languages[static_cast<std::size_t>(i)] = new QCheckBox(languages_box);
    texts_.emplace_back(languages[static_cast<std::size_t>(i)], kLanguage0 + i);
    languages_layout->addWidget(languages[static_cast<std::size_t>(i)]);
  }
  panel_form->addRow(languages_box);
  default_language = new QComboBox(panel_page);
  language_shown = new QComboBox(panel_page);
  for (int i = 0; i < kPanelLanguages; ++i) {
    default_language->addItem(QString::number(i));
    language_shown->addItem(QString::number(i));
  }
  panel_form->addRow(Label(kDefaultLanguage), default_language);
  panel_form->addRow(Label(kLanguageShown), language_shown);
  palette = new QComboBox(panel_page);
  panel_form->addRow(Label(kPaleta), palette);
  addTab(panel_page, QString());

  // ---- "Elem. (visual)" ----
  auto* visual_page = new QWidget(this);
  auto* visual = new QVBoxLayout(visual_page);
  auto* coordinates = new QGroupBox(visual_page);
  texts_.emplace_back(coordinates, kCoordinates);
  auto* coords = new QGridLayout(coordinates);
  x = Box(coordinates, 3);
  y = Box(coordinates, 3);
  width = Box(coordinates, 3);
  height = Box(coordinates, 3);
  x1_hex = new QLabel(coordinates);
  y1_hex = new QLabel(coordinates);
  x2_hex = new QLabel(coordinates);
  y2_hex = new QLabel(coordinates);
  auto literal = [coordinates](const char* text) {
    return new QLabel(QString::fromLatin1(text), coordinates);
  };
  coords->addWidget(literal("x :"), 0, 0);
  coords->addWidget(x, 0, 1);
  coords->addWidget(literal("x1 :"), 0, 2);
  coords->addWidget(x1_hex, 0, 3);
  coords->addWidget(literal("y :"), 1, 0);
  coords->addWidget(y, 1, 1);
  coords->addWidget(literal("y1 :"), 1, 2);
  coords->addWidget(y1_hex, 1, 3);
  coords->addWidget(Label(kAncho), 2, 0);
  coords->addWidget(width, 2, 1);
  coords->addWidget(literal("x2 :"), 2, 2);
  coords->addWidget(x2_hex, 2, 3);
  coords->addWidget(Label(kAlto), 3, 0);
  coords->addWidget(height, 3, 1);
  coords->addWidget(literal("y2 :"), 3, 2);
  coords->addWidget(y2_hex, 3, 3);
  visual->addWidget(coordinates);

  auto* font_group = new QGroupBox(visual_page);
  texts_.emplace_back(font_group, kFontGroup);
  auto* font_form = new QFormLayout(font_group);
  font = new QComboBox(font_group);
  size = new QComboBox(font_group);
  size->setEditable(true);
  justification = new QComboBox(font_group);
  for (int i = 0; i < 3; ++i) justification->addItem(QString());
  font_form->addRow(Label(kFont), font);
  font_form->addRow(Label(kSize), size);
  font_form->addRow(Label(kJustification), justification);
  visual->addWidget(font_group);

  auto* styles = new QGroupBox(visual_page);
  texts_.emplace_back(styles, kStyles);
  auto* style_form = new QFormLayout(styles);
  style_shown = new QComboBox(styles);
  new_style = new QPushButton(styles);
  delete_style = new QPushButton(styles);
  texts_.emplace_back(new_style, kNewStyle);
  texts_.emplace_back(delete_style, kDeleteStyle);
  auto* style_row = new QHBoxLayout;
  style_row->addWidget(style_shown);
  style_row->addWidget(new_style);
  style_row->addWidget(delete_style);
  style_form->addRow(Label(kStyleShown), style_row);
  border_kind = new QComboBox(styles);
  for (int i = 0; i < 6; ++i) border_kind->addItem(QString());
  style_form->addRow(Label(kBorderKind), border_kind);
  width1 = new QSlider(Qt::Horizontal, styles);
  width2 = new QSlider(Qt::Horizontal, styles);
  for (QSlider* s : {width1, width2}) s->setRange(0, 15);
  style_form->addRow(Label(kWidth1), width1);
  width2_label = Label(kWidth2);
  style_form->addRow(width2_label, width2);
  auto* colour_row = new QHBoxLayout;
  for (auto& button : colours) {
    button = new QPushButton(styles);
    button->setFixedSize(28, 22);
    colour_row->addWidget(button);
  }
  colour_row->addStretch();
  style_form->addRow(Label(kColours), colour_row);
  visual->addWidget(styles);

  content_label = Label(kTexto);
  text = new QPlainTextEdit(visual_page);
  keyboard = new QPushButton(visual_page);
  texts_.emplace_back(keyboard, kKeyboard);
  content_list = new QComboBox(visual_page);
  auto* content_row = new QHBoxLayout;
  content_row->addWidget(content_label);
  content_row->addStretch();
  content_row->addWidget(keyboard);
  visual->addLayout(content_row);
  visual->addWidget(text, 1);
  visual->addWidget(content_list);
  addTab(visual_page, QString());

  // ---- "Elem. (otros)" ----
  auto* other_page = new QWidget(this);
  auto* other = new QFormLayout(other_page);
  element_name = Box(other_page);
  kind = new QComboBox(other_page);
  for (int k = 1; k <= kElementKinds; ++k)
    kind->addItem(QString::fromLatin1(ElementKindName(k).data(),
                                      static_cast<int>(ElementKindName(k).size())));
  variable = Box(other_page);
  next_panel = new QComboBox(other_page);
  next_panel->setEditable(true);
  key = new QComboBox(other_page);
  priority = new QComboBox(other_page);
  for (int i = 0; i < 16; ++i) priority->addItem(QString::number(i));
  next_page = Box(other_page, 2);
  array_index = Box(other_page, 2);
  position = Box(other_page, 2);
  method = Box(other_page, 4);
  other->addRow(Label(kElementName), element_name);
  other->addRow(Label(kKind), kind);
  other->addRow(Label(kVariable), variable);
  other->addRow(Label(kNextPanel), next_panel);
  other->addRow(Label(kKey), key);
  other->addRow(Label(kPriority), priority);
  other->addRow(Label(kNextPage), next_page);
  other->addRow(Label(kArrayIndex), array_index);
  other->addRow(Label(kPosition), position);
  other->addRow(Label(kMethod), method);
  auto* bits = new QGroupBox(other_page);
  texts_.emplace_back(bits, kStatusBits);
  auto* bits_layout = new QGridLayout(bits);
  for (int b = 0; b < 8; ++b) {
    status[static_cast<std::size_t>(b)] = new QCheckBox(bits);
    texts_.emplace_back(status[static_cast<std::size_t>(b)], kFirstStatusBit + b);
    bits_layout->addWidget(status[static_cast<std::size_t>(b)], b % 4, b / 4);
  }
  other->addRow(bits);
  visibility = new QPushButton(other_page);
  texts_.emplace_back(visibility, kVisibility);
  other->addRow(visibility);
  addTab(other_page, QString());

  CambiaIdioma();
}

void PanelProperties::CambiaIdioma() {
  for (auto& [widget, row] : texts_) {
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      label->setText(Msg(row));
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
      group->setTitle(Msg(row));
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      button->setText(Msg(row));
    }
  }
  setTabText(0, Msg(kPanelPage));
  setTabText(1, Msg(kVisualPage));
  setTabText(2, Msg(kOtherPage));
  for (int i = 0; i < 3; ++i) justification->setItemText(i, Msg(kLeft + i));
  for (int i = 0; i < 6; ++i) border_kind->setItemText(i, Msg(kFirstBorderKind + i));
}

}  // namespace corvane::ui
