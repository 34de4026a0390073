#include "application_editor.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "code_editor_rows.h"
#include "code_editor_support.h"
#include "firmware/kinds.h"
#include "main_window.h"
#include "prompts.h"
#include "ui_text.h"

namespace corvane::ui {

namespace {

constexpr int kApplicationEditorRow = 253;  // "Editor de aplicaciones"
constexpr int kInitialScriptRow = 254;      // "Script inicial :"
constexpr int kFinalScriptRow = 255;        // "Script final :"
constexpr int kPaletteRow = 256;            // "Paleta por defecto :"
constexpr int kCommentsRow = 257;           // "Comentarios :"
constexpr int kClassesRow = 258;            // "Clases"
constexpr int kAddRow = 259;                // "Añadir"
constexpr int kRemoveRow = 260;             // "Eliminar"

// Names are raw 8-bit.
QString Raw(const std::string& latin1) {
  return QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size()));
}
std::string ToRaw(const QString& text) { return text.toLatin1().toStdString(); }

}  // namespace

TForm18::TForm18(TMainForm& main, TNodo& node)
    : ResourceEditor(main, node),
      application_(TMHWApplication::Create(node)),
      initial_label_(new QLabel(this)),
      final_label_(new QLabel(this)),
      palette_label_(new QLabel(this)),
      comments_label_(new QLabel(this)),
      initial_(new QComboBox(this)),
      final_(new QComboBox(this)),
      palette_(new QComboBox(this)),
      class_group_(new QGroupBox(this)),
      chooser_(new QComboBox(this)),
      classes_(new QListWidget(this)),
      add_(new QPushButton(this)),
      remove_(new QPushButton(this)),
      comments_(new QPlainTextEdit(this)) {
  // The lists offer the files beside the application, each by its name before the first ".".
  if (const TNodo* parent = node.Parent()) {
    for (const auto& sibling : parent->Children()) {
      if (sibling->IsDirectory()) continue;
      const std::string& text = sibling->Text;
      const QString name = Raw(text.substr(0, text.find('.')));
      switch (KindOfName(text)) {
        case FileKind::Script: initial_->addItem(name); final_->addItem(name); break;
        case FileKind::Palette: palette_->addItem(name); break;
        case FileKind::Class: chooser_->addItem(name); break;
        default: break;
      }
    }
  }
  chooser_->setCurrentIndex(0);
  for (QComboBox* box : {initial_, final_, palette_}) {
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->lineEdit()->setMaxLength(static_cast<int>(kCountedTextLimit));
    connect(box->lineEdit(), &QLineEdit::editingFinished, this, &TForm18::StoreFields);
    connect(box, &QComboBox::activated, this, &TForm18::StoreFields);
  }
  classes_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  comments_->setLineWrapMode(QPlainTextEdit::NoWrap);
  comments_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  comments_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  comments_->installEventFilter(this);
  remove_->setEnabled(false);
  connect(classes_, &QListWidget::itemSelectionChanged, this,
          [this] { remove_->setEnabled(!classes_->selectedItems().isEmpty()); });
  connect(add_, &QPushButton::clicked, this, &TForm18::AddClass);
  connect(remove_, &QPushButton::clicked, this, &TForm18::RemoveClasses);

  auto* names = new QGridLayout;
  names->addWidget(initial_label_, 0, 0);
  names->addWidget(initial_, 0, 1);
  names->addWidget(final_label_, 1, 0);
  names->addWidget(final_, 1, 1);
  names->addWidget(palette_label_, 2, 0);
  names->addWidget(palette_, 2, 1);
  auto* class_layout = new QGridLayout(class_group_);
  class_layout->addWidget(chooser_, 0, 0);
  class_layout->addWidget(add_, 0, 1);
  class_layout->addWidget(classes_, 1, 0);
  class_layout->addWidget(remove_, 1, 1, Qt::AlignTop);
  auto* left = new QVBoxLayout;
  left->addLayout(names);
  left->addWidget(class_group_, 1);
  auto* right = new QVBoxLayout;
  right->addWidget(comments_label_);
  right->addWidget(comments_, 1);
  auto* top = new QHBoxLayout;
  top->addLayout(left, 1);
  top->addLayout(right, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addLayout(CentredButtons(*this));
  setFixedSize(640, 380);

  Show();
  CambiaIdioma();
}

void TForm18::CambiaIdioma() {
  ResourceEditor::CambiaIdioma();
  setWindowTitle(CodeEditorCaption(kApplicationEditorRow, *Node()));
  initial_label_->setText(Msg(kInitialScriptRow));
  final_label_->setText(Msg(kFinalScriptRow));
  palette_label_->setText(Msg(kPaletteRow));
  comments_label_->setText(Msg(kCommentsRow));
  class_group_->setTitle(QLatin1Char(' ') + Msg(kClassesRow) + QLatin1Char(' '));
  add_->setText(Msg(kAddRow));
  remove_->setText(Msg(kRemoveRow));
}

TForm18::State TForm18::Current() const {
  const TMHWApplication& a = application_;
  return {a.initial_script, a.final_script, a.palette, a.classes, a.comments};
}

void TForm18::Apply(const State& state) {
  application_.initial_script = state.initial;
  application_.final_script = state.final;
  application_.palette = state.palette;
  application_.classes = state.classes;
  application_.comments = state.comments;
  Show();
}

void TForm18::Edit(const State& after) {
  const State before = Current();
  if (after == before) return;
  Push(new StateEdit<TForm18>(*this, before, after));
}

void TForm18::Show() {
  initial_->setEditText(Raw(application_.initial_script));
  final_->setEditText(Raw(application_.final_script));
  palette_->setEditText(Raw(application_.palette));
  classes_->clear();
  for (const std::string& c : application_.classes) classes_->addItem(Raw(c));
  QStringList lines;
  for (const std::string& c : application_.comments) lines << Raw(c);
  const QString text = lines.join(QLatin1Char('\n'));
  if (comments_->toPlainText() != text) comments_->setPlainText(text);
  remove_->setEnabled(!classes_->selectedItems().isEmpty());
}

void TForm18::StoreFields() {
  State after = Current();
  after.initial = ToRaw(initial_->currentText());
  after.final = ToRaw(final_->currentText());
  after.palette = ToRaw(palette_->currentText());
  after.comments.clear();
  const QString text = comments_->toPlainText();
  if (!text.isEmpty())
    for (const QString& line : text.split(QLatin1Char('\n'))) after.comments.push_back(ToRaw(line));
  Edit(after);
}

bool TForm18::eventFilter(QObject* watched, QEvent* event) {
  if (watched == comments_ && event->type() == QEvent::FocusOut) StoreFields();
  return ResourceEditor::eventFilter(watched, event);
}

void TForm18::AddClass() {
  const std::string name = ToRaw(chooser_->currentText());
  if (name.empty()) return;
  TMHWApplication changed = application_;
  if (!changed.AnadeClase(name)) return;  // listed already
  State after = Current();
  after.classes = changed.classes;
  Edit(after);
}

void TForm18::RemoveClasses() {
  State after = Current();
  for (int r = classes_->count() - 1; r >= 0; --r)
    if (classes_->item(r)->isSelected())
      after.classes.erase(after.classes.begin() + r);
  Edit(after);
}

bool TForm18::GuardaDatos() {
  StoreFields();
  if (!application_.TextsFit()) {
    Prompts::Error(this, Msg(row::kTextTooLong));
    return false;
  }
  if (!application_.Guarda(*Node())) {
    Prompts::Error(this, Msg(row::kCannotStore) + QLatin1Char(' ') + NodeName(Node()->Text));
    return false;
  }
  Main().NodeWritten(Node());
  return true;
}

void RegisterApplicationEditor() {
  EditorRegistry::Register(FileKind::Application,
                           [](TMainForm& main, TNodo& node) -> EditorChild* {
                             return new TForm18(main, node);
                           });
}

}  // namespace corvane::ui
