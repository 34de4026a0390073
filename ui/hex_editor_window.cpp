#include "hex_editor_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>

#include "base/file_io.h"
#include "document/hex_text.h"
#include "file_dialogs.h"
#include "firmware/codec.h"
#include "hex_document.h"
#include "hex_editor_widget.h"
#include "hex_search_dialog.h"
#include "main_window.h"
#include "prompts.h"
#include "ui_text.h"

namespace corvane::ui {

namespace {

// Rows of the hex editor's own texts.
enum HexRow {
  kRowOneByte = 620,  // 621 "2 bytes", 622 "4 bytes"
  kRowRedo = 623,
  kRowGoToOffset = 624,
  kRowGoToOffsetTitle = 625,
  kRowOffsetPrompt = 626,
  kRowOffsetOutside = 627,
  kRowInsert = 628,
  kRowOverwrite = 629,
  kRowInspector = 630,
  kRowInspect8 = 631,  // 632..635: 16 BE, 16 LE, 32 BE, 32 LE
  kRowWriteFailed = 636,
  kRowEmptyFile = 637,
  kRowInsertMode = 638,
};

constexpr int kOpenFailedRow = 3;     // "¡ El fichero no se ha podido abrir !"
constexpr int kAllFilesRow = 44;      // "Todos los archivos (*.*)|*.*"
constexpr int kSaveChangesRow = 226;  // "¿ Guardar los cambios ?"
constexpr int kDefaultHeight = 480;

QString Utf8(const std::string& s) { return QString::fromStdString(s); }

QString MenuText(const TMainForm& main, MainWindowItem item) {
  return Utf8(main.Config().language.Texts().ItemText(item, TextRole::Caption));
}

int ValidColumnWidth(int bytes) { return bytes == 1 || bytes == 2 || bytes == 4 ? bytes : 4; }

}  // namespace

TForm7::TForm7(TMainForm& main, TNodo& node, bool decompress)
    : EditorChild(main, node),
      decompress_(decompress),
      grid_(new THexEditor),
      search_(nullptr),
      menu_bar_(new QMenuBar),
      bytes_per_line_group_(new QActionGroup(this)),
      column_group_(new QActionGroup(this)),
      position_(new QLabel),
      value_be_(new QLabel),
      value_le_(new QLabel),
      mode_(new QLabel),
      inspector_(new QLabel),
      ok_(new QPushButton),
      cancel_(new QPushButton) {
  setObjectName(QStringLiteral("TForm7"));
  search_ = new TForm8(*grid_, this);

  const Settings& settings = main.Config().settings;
  grid_->SetBytesPerLine(settings.bytes_per_line);
  grid_->SetGroupSize(ValidColumnWidth(settings.column_width));

  BuildMenus();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 0, 4, 4);
  layout->setMenuBar(menu_bar_);
  layout->addWidget(grid_, 1);
  auto* status = new QHBoxLayout;
  status->setSpacing(24);
  for (QLabel* label : {position_, value_be_, value_le_}) {
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    status->addWidget(label);
  }
  status->addStretch(1);
  status->addWidget(mode_);
  layout->addLayout(status);
  inspector_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  inspector_->setWordWrap(true);
  layout->addWidget(inspector_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  layout->addLayout(buttons);

  // The bytes: with decompression what the codec yields for the stored bytes.
  const ByteView stored = node.Data.View();
  grid_->Document().Load(decompress ? Decompress(stored) : Bytes(stored.span().begin(),
                                                                  stored.span().end()));
  grid_->SetCursor(0);
  connect(&grid_->Document(), &HexDocument::Changed, this, [this] { changed_ = true; });
  connect(grid_, &THexEditor::StateChanged, this, [this] { RefreshStatus(false); });
  connect(grid_, &THexEditor::UserActed, this, [this] { RefreshStatus(true); });
  connect(ok_, &QPushButton::clicked, this, [this] {
    if (!GuardarDatos()) return;
    changed_ = false;
    CloseWindow();
  });
  connect(cancel_, &QPushButton::clicked, this, &TForm7::CloseWindow);
  grid_->setFocus();
  CambiaIdioma();
}

TForm7::~TForm7() = default;

void TForm7::BuildMenus() {
  const auto add = [this](Command command, QMenu* menu, QKeySequence key,
                          void (TForm7::*slot)()) {
    auto* action = new QAction(this);
    if (!key.isEmpty()) {
      action->setShortcut(key);
      action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    }
    if (slot != nullptr) connect(action, &QAction::triggered, this, slot);
    menu->addAction(action);
    addAction(action);
    actions_[static_cast<std::size_t>(command)] = action;
    return action;
  };

  QMenu* file = menus_[0] = menu_bar_->addMenu(QString());
  QMenu* edit = menus_[1] = menu_bar_->addMenu(QString());
  QMenu* config = menus_[2] = menu_bar_->addMenu(QString());

  add(Command::Import, file, {}, &TForm7::Import);
  add(Command::Export, file, {}, &TForm7::Export);
  file->addSeparator();
  add(Command::CloseWithoutSaving, file, {}, nullptr);

  add(Command::Undo, edit, QKeySequence::Undo, nullptr);
  add(Command::Redo, edit, QKeySequence::Redo, nullptr);
  edit->addSeparator();
  add(Command::Copy, edit, QKeySequence(Qt::CTRL | Qt::Key_C), nullptr);
  add(Command::Cut, edit, QKeySequence(Qt::CTRL | Qt::Key_X), nullptr);
  add(Command::Paste, edit, QKeySequence(Qt::CTRL | Qt::Key_V), nullptr);
  add(Command::Delete, edit, {}, nullptr);
  add(Command::SelectAll, edit, QKeySequence(Qt::CTRL | Qt::Key_A), nullptr);
  edit->addSeparator();
  add(Command::FindText, edit, QKeySequence(Qt::Key_F3), nullptr);
  add(Command::FindHex, edit, {}, nullptr);
  add(Command::GoToOffset, edit, QKeySequence(Qt::CTRL | Qt::Key_G), &TForm7::AskOffset);
  edit->addSeparator();
  QAction* insert = add(Command::InsertMode, edit, {}, nullptr);
  insert->setCheckable(true);

  connect(Action(Command::CloseWithoutSaving), &QAction::triggered, this, &TForm7::CloseWindow);
  connect(Action(Command::Undo), &QAction::triggered, this, [this] { grid_->Undo(); });
  connect(Action(Command::Redo), &QAction::triggered, this, [this] { grid_->Redo(); });
  connect(Action(Command::Copy), &QAction::triggered, this, [this] { grid_->Copy(); });
  connect(Action(Command::Cut), &QAction::triggered, this, [this] { grid_->Cut(); });
  connect(Action(Command::Paste), &QAction::triggered, this, [this] { grid_->Paste(); });
  connect(Action(Command::Delete), &QAction::triggered, this,
          [this] { grid_->DeleteSelection(); });
  connect(Action(Command::SelectAll), &QAction::triggered, this, [this] { grid_->SelectAll(); });
  connect(Action(Command::FindText), &QAction::triggered, this,
          [this] { search_->Open(TForm8::Mode::Text); });
  connect(Action(Command::FindHex), &QAction::triggered, this,
          [this] { search_->Open(TForm8::Mode::Hex); });
  connect(insert, &QAction::toggled, grid_, &THexEditor::SetInsertMode);
  connect(grid_, &THexEditor::StateChanged, insert,
          [this, insert] { insert->setChecked(grid_->InsertMode()); });

  // Bytes per line and column width: radio items ticked from the grid's values.
  QMenu* per_line = menus_[3] = config->addMenu(QString());
  for (int n = THexEditor::kMinBytesPerLine; n <= THexEditor::kMaxBytesPerLine; ++n) {
    QAction* item = per_line->addAction(QString::number(n));
    item->setCheckable(true);
    item->setChecked(n == grid_->BytesPerLine());
    item->setData(n);
    bytes_per_line_group_->addAction(item);
    connect(item, &QAction::triggered, this, [this, n] { grid_->SetBytesPerLine(n); });
  }
  QMenu* columns = menus_[4] = config->addMenu(QString());
  for (int n : {1, 2, 4}) {
    QAction* item = columns->addAction(QString());
    item->setCheckable(true);
    item->setChecked(n == grid_->GroupSize());
    item->setData(n);
    column_group_->addAction(item);
    connect(item, &QAction::triggered, this, [this, n] { grid_->SetGroupSize(n); });
  }
  QAction* font = add(Command::SelectFont, config, {}, nullptr);
  connect(font, &QAction::triggered, this, [this] {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, grid_->font(), this);
    if (ok) grid_->setFont(chosen);
  });
}

QAction* TForm7::BytesPerLineItem(int bytes) const {
  for (QAction* a : bytes_per_line_group_->actions())
    if (a->data().toInt() == bytes) return a;
  return nullptr;
}

QAction* TForm7::ColumnWidthItem(int bytes) const {
  for (QAction* a : column_group_->actions())
    if (a->data().toInt() == bytes) return a;
  return nullptr;
}

void TForm7::CambiaIdioma() {
  const TNodo* node = Node();
  const TNodo* parent = node->Parent();
  const QString parent_name = parent ? NodeName(parent->Text, parent->Parent() == nullptr)
                                     : QString();
  setWindowTitle(Msg(41) + QLatin1Char(' ') + parent_name + QLatin1Char(':') +
                 NodeName(node->Text));
  menus_[0]->setTitle(MenuText(Main(), MainWindowItem::FileMenu));
  menus_[1]->setTitle(MenuText(Main(), MainWindowItem::EditMenu));
  menus_[2]->setTitle(MenuText(Main(), MainWindowItem::ConfigurationMenu));
  menus_[3]->setTitle(Msg(97));
  menus_[4]->setTitle(Msg(98));
  const std::pair<Command, int> rows[] = {
      {Command::Import, 86},     {Command::Export, 87},          {Command::CloseWithoutSaving, 88},
      {Command::Undo, 89},       {Command::Redo, kRowRedo},      {Command::Copy, 90},
      {Command::Cut, 91},        {Command::Paste, 92},           {Command::Delete, 93},
      {Command::SelectAll, 94},  {Command::FindText, 95},        {Command::FindHex, 96},
      {Command::GoToOffset, kRowGoToOffset}, {Command::InsertMode, kRowInsertMode},
      {Command::SelectFont, 99},
  };
  for (const auto& [command, row] : rows) Action(command)->setText(Msg(row));
  for (QAction* a : column_group_->actions())
    a->setText(Msg(kRowOneByte + (a->data().toInt() == 1 ? 0 : a->data().toInt() == 2 ? 1 : 2)));
  ok_->setText(Msg(53));
  cancel_->setText(Msg(72));
  search_->CambiaIdioma();
  RefreshStatus(false);
}

QString TForm7::StatusLine() const {
  return position_->text() + QLatin1Char('|') + value_be_->text() + QLatin1Char('|') +
         value_le_->text() + QLatin1Char('|') + mode_->text();
}

QString TForm7::InspectorLine() const { return inspector_->text(); }

void TForm7::RefreshStatus(bool user_acted) {
  const std::size_t cursor = grid_->Cursor();
  position_->setText(Msg(83) + QLatin1Char(' ') +
                     QStringLiteral("%1").arg(cursor, 8, 16, QLatin1Char('0')).toUpper());
  QString be = Msg(84) + QLatin1Char(' ');
  QString le = Msg(85) + QLatin1Char(' ');
  if (grid_->HasSelection()) {
    const Bytes selection = grid_->SelectionBytes();
    be += QString::number(SelectionValueBE(selection));
    le += QString::number(SelectionValueLE(selection));
    // A selection made by the user also becomes the primary selection (middle-click paste),
    // so that the clipboard keeps what the user copied.
    QClipboard* clipboard = QApplication::clipboard();
    if (user_acted && clipboard->supportsSelection())
      clipboard->setText(QString::fromStdString(HexText(selection)), QClipboard::Selection);
  }
  value_be_->setText(be);
  value_le_->setText(le);
  mode_->setText(Msg(grid_->InsertMode() ? kRowInsert : kRowOverwrite));

  QString inspector = Msg(kRowInspector);
  for (const InspectedValue& v : InspectAt(grid_->Data(), cursor)) {
    const int row = v.bits == 8    ? kRowInspect8
                    : v.bits == 16 ? (v.big_endian ? kRowInspect8 + 1 : kRowInspect8 + 2)
                                   : (v.big_endian ? kRowInspect8 + 3 : kRowInspect8 + 4);
    inspector += QStringLiteral("   %1 : %2 / %3")
                     .arg(Msg(row))
                     .arg(v.signed_value)
                     .arg(v.unsigned_value);
  }
  inspector_->setText(inspector);
}

bool TForm7::GuardarDatos() {
  const Bytes& data = grid_->Data();
  if (data.empty()) {
    Prompts::Error(this, Msg(kRowEmptyFile));
    return false;
  }
  TNodo* node = Node();
  node->Data.Datos = decompress_ ? Compress(data) : data;
  node->Data.Tamano = static_cast<std::uint32_t>(node->Data.Datos.size());
  Main().NodeWritten(node);
  return true;
}

void TForm7::Import() {
  const std::optional<QString> file =
      ChooseOpenFile(this, Action(Command::Import)->text().remove(QLatin1Char('&')), kAllFilesRow,
                     Utf8(Main().Config().settings.last_opened_directory));
  if (!file) return;
  const std::optional<Bytes> bytes = ReadWholeFile(ToPath(*file));
  if (!bytes) {
    Prompts::Error(this, Msg(kOpenFailedRow));
    return;
  }
  grid_->Document().Replace(0, grid_->Data().size(), *bytes, QStringLiteral("Import"));
  changed_ = true;
  grid_->SetCursor(0);
}

void TForm7::Export() {
  const std::optional<QString> file =
      ChooseSaveFile(this, Action(Command::Export)->text().remove(QLatin1Char('&')), kAllFilesRow,
                     QString(), Utf8(Main().Config().settings.last_saved_directory));
  if (file && !WriteFileAtomic(ToPath(*file), grid_->Data()).empty())
    Prompts::Error(this, Msg(kRowWriteFailed));
}

void TForm7::AskOffset() {
  TextRequest request;
  request.title = Msg(kRowGoToOffsetTitle);
  request.prompt = Msg(kRowOffsetPrompt);
  request.initial = QStringLiteral("%1").arg(grid_->Cursor(), 8, 16, QLatin1Char('0')).toUpper();
  if (const std::optional<QString> text = Prompts::AskText(this, request)) GoToOffset(*text);
}

bool TForm7::GoToOffset(const QString& text) {
  const std::optional<std::uint64_t> offset = ParseOffset(text.toStdString());
  if (!offset || *offset > grid_->Data().size()) {
    Prompts::Error(this, Msg(kRowOffsetOutside));
    return false;
  }
  grid_->SetCursor(static_cast<std::size_t>(*offset), grid_->CursorArea());
  grid_->setFocus();
  return true;
}

void TForm7::CloseWindow() {
  // The MDI frame asks this window (closeEvent) before it goes.
  if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
    frame->close();
  } else {
    close();
  }
}

void TForm7::StoreSettings() {
  Settings& settings = Main().Config().settings;
  settings.bytes_per_line = static_cast<std::uint8_t>(grid_->BytesPerLine());
  settings.column_width = static_cast<std::uint8_t>(grid_->GroupSize());
  const QWidget* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
  settings.hex_editor_width = (frame ? frame : this)->width();
}

void TForm7::showEvent(QShowEvent* event) {
  EditorChild::showEvent(event);
  if (sized_) return;
  sized_ = true;
  // The frame around the window keeps at least 601 x 401 pixels and takes the remembered width.
  const int width = std::max(kMinWidth, Main().Config().settings.hex_editor_width);
  if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
    frame->setMinimumSize(kMinWidth, kMinHeight);
    frame->resize(width, std::max(kDefaultHeight, frame->height()));
  } else {
    setMinimumSize(kMinWidth, kMinHeight);
    resize(width, std::max(kDefaultHeight, height()));
  }
}

void TForm7::closeEvent(QCloseEvent* event) {
  if (changed_) {
    switch (Prompts::YesNoCancel(this, Msg(kSaveChangesRow))) {
      case Answer::Yes:
        if (!GuardarDatos()) {
          event->ignore();
          return;
        }
        changed_ = false;
        break;
      case Answer::No:
        break;
      default:
        event->ignore();
        return;
    }
  }
  search_->close();
  StoreSettings();
  event->accept();
}

void RegisterHexEditor() {
  EditorRegistry::RegisterHex([](TMainForm& main, TNodo& node, bool decompress) -> EditorChild* {
    return new TForm7(main, node, decompress);
  });
}

}  // namespace corvane::ui
