#include "class_editor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "code_editor_rows.h"
#include "code_editor_support.h"
#include "main_window.h"
#include "prompts.h"
#include "ui_text.h"

namespace corvane::ui {

namespace {

constexpr int kClassEditorRow = 239;   // "Editor de clases"
constexpr int kNewVariableRow = 241;   // "Nueva variable"
constexpr int kDeleteVariableRow = 242;  // "Borrar variable"
constexpr int kLowerCaseRow = 245;     // "Minúsculas"
constexpr int kPrecisionRow = 246;     // "Precisión"
constexpr int kDimension1Row = 248;    // "Dimensión 1 :"
constexpr int kDimension2Row = 249;    // "Dimensión 2 :"
constexpr int kLengthRow = 250;        // "Longitud 1 :"
constexpr int kClassRow = 251;         // "Clase"
constexpr int kDeclarationRow = 252;   // "Declaración de la variable"
constexpr int kNameRow = 293;          // "Nombre"
constexpr int kTypeRow = 294;          // "Tipo"

// Names are raw 8-bit.
QString Raw(const std::string& latin1) {
  return QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size()));
}
std::string ToRaw(const QString& text) { return text.toLatin1().toStdString(); }

}  // namespace

TForm16::TForm16(TMainForm& main, TNodo& node)
    : ResourceEditor(main, node),
      class_(TMHWClass::Create(node)),
      grid_(new QTableWidget(this)),
      declaration_(new QGroupBox(this)),
      class_group_(new QGroupBox(this)),
      name_label_(new QLabel(this)),
      type_label_(new QLabel(this)),
      dimension1_label_(new QLabel(this)),
      dimension2_label_(new QLabel(this)),
      length_label_(new QLabel(this)),
      precision_label_(new QLabel(this)),
      name_(new QLineEdit(this)),
      type_(new QComboBox(this)),
      dimension1_(new QLineEdit(this)),
      dimension2_(new QLineEdit(this)),
      length_(new QLineEdit(this)),
      precision_(new QLineEdit(this)),
      lower_case_(new QCheckBox(this)),
      class_name_(new QLineEdit(this)),
      new_(new QToolButton(this)),
      delete_(new QToolButton(this)) {
  grid_->setColumnCount(2);
  grid_->setColumnWidth(0, 117);
  grid_->setColumnWidth(1, 117);
  grid_->verticalHeader()->setFixedWidth(40);
  grid_->verticalHeader()->setSectionsMovable(true);  // drag a row to move the variable
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setFixedWidth(40 + 117 + 117 + 2 * grid_->frameWidth() + 20);
  connect(grid_, &QTableWidget::currentCellChanged, this, [this](int row, int, int, int) {
    if (showing_ || row < 0) return;
    selected_ = row;
    ShowVariable();
  });
  connect(grid_->verticalHeader(), &QHeaderView::sectionMoved, this,
          [this](int, int from, int to) {
            // The grid shows the class's order: the move goes to the class, the header back.
            const QSignalBlocker blocker(grid_->verticalHeader());
            grid_->verticalHeader()->moveSection(to, from);
            MoveVariable(from, to);
          });

  for (QLineEdit* field : {dimension1_, dimension2_, length_, precision_})
    field->setMaxLength(kClassFieldDigits);
  name_->setMaxLength(kClassNameFieldChars);
  class_name_->setMaxLength(kClassNameFieldChars);
  const VarTypeTable& types = main.Config().var_types;
  for (int i = 0; i < kVarTypeCount; ++i)
    type_->addItem(QString::number(i, 16).toUpper() + QStringLiteral(" - ") +
                   QString::fromStdString(types[static_cast<std::size_t>(i)].type));

  // Typing the name shows in the grid at once; leaving the field stores it.
  connect(name_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (QTableWidgetItem* item = grid_->item(selected_, 0)) item->setText(text);
  });
  connect(name_, &QLineEdit::editingFinished, this, &TForm16::StoreName);
  const std::pair<QLineEdit*, VariableField> numbers[] = {
      {dimension1_, VariableField::Dimension1}, {dimension2_, VariableField::Dimension2},
      {length_, VariableField::Length}, {precision_, VariableField::Option}};
  for (const auto& [field, which] : numbers) {
    connect(field, &QLineEdit::textEdited, this, [this, field = field, which = which](const QString& t) {
      const std::string digits = DigitsOnly(t.toStdString());
      if (digits.empty() && !class_.variables.empty()) {
        field->setText(QString::number(FieldOf(class_.variables[static_cast<std::size_t>(selected_)], which)));
      } else if (digits.size() != static_cast<std::size_t>(t.size())) {
        field->setText(QString::fromStdString(digits));
      }
    });
    connect(field, &QLineEdit::editingFinished, this,
            [this, field = field, which = which] { StoreNumber(field, which); });
  }
  connect(type_, &QComboBox::activated, this, [this](int type) {
    Edit([this, type](TMHWClass& c) {
      SetVariableType(c.variables[static_cast<std::size_t>(selected_)], type);
    }, selected_);
  });
  connect(lower_case_, &QCheckBox::clicked, this, [this](bool on) {
    Edit([this, on](TMHWClass& c) { c.variables[static_cast<std::size_t>(selected_)].option = on ? 1 : 0; },
         selected_);
  });
  connect(class_name_, &QLineEdit::editingFinished, this, [this] {
    const std::string name = ToRaw(class_name_->text());
    if (name.empty()) {
      class_name_->setText(Raw(class_.name));
      return;
    }
    Edit([name](TMHWClass& c) { c.name = name; }, selected_);
  });
  new_->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
  delete_->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
  connect(new_, &QToolButton::clicked, this, &TForm16::NewVariable);
  connect(delete_, &QToolButton::clicked, this, &TForm16::DeleteVariable);

  // Layout: the grid on the left, the declaration and the class on the right, buttons below.
  auto* fields = new QGridLayout(declaration_);
  fields->addWidget(name_label_, 0, 0);
  fields->addWidget(name_, 0, 1);
  fields->addWidget(type_label_, 1, 0);
  fields->addWidget(type_, 1, 1);
  fields->addWidget(dimension1_label_, 2, 0);
  fields->addWidget(dimension1_, 2, 1);
  fields->addWidget(dimension2_label_, 3, 0);
  fields->addWidget(dimension2_, 3, 1);
  fields->addWidget(length_label_, 4, 0);
  fields->addWidget(length_, 4, 1);
  fields->addWidget(precision_label_, 5, 0);
  fields->addWidget(precision_, 5, 1);
  fields->addWidget(lower_case_, 6, 1);
  fields->setRowStretch(7, 1);
  auto* class_layout = new QHBoxLayout(class_group_);
  class_layout->addWidget(class_name_);
  auto* right = new QVBoxLayout;
  right->addWidget(declaration_, 1);
  right->addWidget(class_group_);
  auto* top = new QHBoxLayout;
  top->addWidget(grid_);
  top->addLayout(right, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(new_);
  buttons->addWidget(delete_);
  buttons->addStretch();
  buttons->addWidget(OkButton());
  buttons->addWidget(CancelButton());
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addLayout(buttons);
  setFixedSize(680, 400);

  ShowGrid();
  Select(0);
  CambiaIdioma();
}

void TForm16::CambiaIdioma() {
  ResourceEditor::CambiaIdioma();
  setWindowTitle(CodeEditorCaption(kClassEditorRow, *Node()));
  grid_->setHorizontalHeaderLabels({Msg(kNameRow), Msg(kTypeRow)});
  declaration_->setTitle(QLatin1Char(' ') + Msg(kDeclarationRow) + QLatin1Char(' '));
  class_group_->setTitle(QLatin1Char(' ') + Msg(kClassRow) + QLatin1Char(' '));
  name_label_->setText(Msg(kNameRow));
  type_label_->setText(Msg(kTypeRow));
  dimension1_label_->setText(Msg(kDimension1Row));
  dimension2_label_->setText(Msg(kDimension2Row));
  length_label_->setText(Msg(kLengthRow));
  precision_label_->setText(Msg(kPrecisionRow));
  lower_case_->setText(Msg(kLowerCaseRow));
  new_->setToolTip(Msg(kNewVariableRow));
  delete_->setToolTip(Msg(kDeleteVariableRow));
}

TForm16::State TForm16::Current() const { return {class_.name, class_.variables, selected_}; }

void TForm16::Apply(const State& state) {
  class_.name = state.name;
  class_.variables = state.variables;
  selected_ = state.selected;
  ShowGrid();
  Select(selected_);
}

void TForm16::Edit(const std::function<void(TMHWClass&)>& change, int select_after) {
  TMHWClass changed = class_;
  change(changed);
  const State before = Current();
  const int last = static_cast<int>(changed.variables.size()) - 1;
  const State after{changed.name, changed.variables, std::clamp(select_after, 0, std::max(last, 0))};
  if (after.name == before.name && after.variables == before.variables) {
    ShowVariable();  // nothing to keep: the stored values show again
    return;
  }
  Push(new StateEdit<TForm16>(*this, before, after));
}

void TForm16::ShowGrid() {
  showing_ = true;
  const VarTypeTable& types = Main().Config().var_types;
  grid_->setRowCount(static_cast<int>(class_.variables.size()));
  for (int r = 0; r < grid_->rowCount(); ++r) {
    const ClassVariable& v = class_.variables[static_cast<std::size_t>(r)];
    grid_->setVerticalHeaderItem(
        r, new QTableWidgetItem(QStringLiteral("%1").arg(r, 4, 16, QLatin1Char('0')).toUpper()));
    grid_->setItem(r, 0, new QTableWidgetItem(Raw(v.name)));
    const QString type = v.type < kVarTypeCount ? QString::fromStdString(types[v.type].type)
                                                : QStringLiteral("???");
    grid_->setItem(r, 1, new QTableWidgetItem(type));
  }
  class_name_->setText(Raw(class_.name));
  showing_ = false;
}

void TForm16::Select(int variable) {
  if (class_.variables.empty()) {
    selected_ = 0;
    ShowVariable();
    return;
  }
  selected_ = std::clamp(variable, 0, static_cast<int>(class_.variables.size()) - 1);
  showing_ = true;
  grid_->setCurrentCell(selected_, 0);
  grid_->selectRow(selected_);
  showing_ = false;
  ShowVariable();
}

void TForm16::ShowVariable() {
  const bool any = !class_.variables.empty();
  declaration_->setEnabled(any);
  delete_->setEnabled(class_.variables.size() >= 2);
  if (!any) return;
  const ClassVariable& v = class_.variables[static_cast<std::size_t>(selected_)];
  name_->setText(Raw(v.name));
  type_->setCurrentIndex(v.type);
  dimension1_->setText(QString::number(v.dimension1));
  dimension2_->setText(QString::number(v.dimension2));
  length_->setText(QString::number(v.length));
  precision_->setText(QString::number(v.option));
  lower_case_->setChecked(v.option == 1);
  const VariableOption option = OptionOf(v.type);
  precision_->setVisible(option == VariableOption::Precision);
  precision_label_->setVisible(option == VariableOption::Precision);
  lower_case_->setVisible(option == VariableOption::LowerCase);
  if (QTableWidgetItem* item = grid_->item(selected_, 0)) item->setText(Raw(v.name));
}

int& TForm16::FieldOf(ClassVariable& v, VariableField which) const {
  switch (which) {
    case VariableField::Dimension1: return v.dimension1;
    case VariableField::Dimension2: return v.dimension2;
    case VariableField::Length: return v.length;
    default: return v.option;
  }
}

void TForm16::StoreName() {
  if (class_.variables.empty()) return;
  const std::string name = ToRaw(name_->text());
  if (!IsValidVariableName(name)) {
    ShowVariable();  // the stored name comes back
    return;
  }
  Edit([this, name](TMHWClass& c) { c.variables[static_cast<std::size_t>(selected_)].name = name; },
       selected_);
}

void TForm16::StoreNumber(QLineEdit* field, VariableField which) {
  if (class_.variables.empty()) return;
  const int type = class_.variables[static_cast<std::size_t>(selected_)].type;
  const std::optional<int> value = VariableFieldValue(field->text().toStdString(), type, which);
  if (!value) {
    ShowVariable();
    return;
  }
  Edit([this, which, v = *value](TMHWClass& c) {
    FieldOf(c.variables[static_cast<std::size_t>(selected_)], which) = v;
  }, selected_);
}

void TForm16::NewVariable() {
  const int at = class_.variables.empty() ? -1 : selected_;
  Edit([at](TMHWClass& c) { c.NuevaVariable(at, Messages()); }, at + 1);
}

void TForm16::DeleteVariable() {
  if (class_.variables.size() < 2) return;  // the last variable stays
  const int at = selected_;
  Edit([at](TMHWClass& c) { c.BorraVariable(at); }, at - 1);
}

void TForm16::MoveVariable(int from, int to) {
  Edit([from, to](TMHWClass& c) { c.MueveVariable(from, to); }, to);
}

bool TForm16::GuardaDatos() {
  // A field still being edited counts as left.
  StoreName();
  StoreNumber(dimension1_, VariableField::Dimension1);
  StoreNumber(dimension2_, VariableField::Dimension2);
  StoreNumber(length_, VariableField::Length);
  if (precision_->isVisibleTo(this)) StoreNumber(precision_, VariableField::Option);
  if (!class_.Guarda(*Node())) {
    Prompts::Error(this, Msg(row::kCannotStore) + QLatin1Char(' ') + NodeName(Node()->Text));
    return false;
  }
  Main().NodeWritten(Node());
  return true;
}

void RegisterClassEditor() {
  EditorRegistry::Register(FileKind::Class, [](TMainForm& main, TNodo& node) -> EditorChild* {
    return new TForm16(main, node);
  });
}

}  // namespace corvane::ui
