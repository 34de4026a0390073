#include "main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

#include "about_dialog.h"
#include "editor_registry.h"
#include "firmware/firmware.h"
#include "icons.h"
#include "tree_model.h"
#include "tree_view.h"
#include "ui_text.h"

namespace corvane::ui {

namespace {

constexpr int kTreeWidth = 177;
constexpr int kSplitterWidth = 2;

struct CommandInfo {
  Command command;
  const char* theme_icon;
  QStyle::StandardPixmap fallback_icon;
  bool on_toolbar;
  bool in_menu;
  bool enabled_at_start;
};

// In toolbar order.
constexpr CommandInfo kCommands[] = {
    {Command::Open, "document-open", QStyle::SP_DialogOpenButton, true, true, true},
    {Command::Save, "document-save-as", QStyle::SP_DialogSaveButton, true, true, false},
    {Command::Exit, "application-exit", QStyle::SP_DialogCloseButton, false, true, true},
    {Command::Delete, "edit-delete", QStyle::SP_TrashIcon, true, true, false},
    {Command::NewDirectory, "folder-new", QStyle::SP_FileDialogNewFolder, true, true, false},
    {Command::ExtractDecompressed, "document-export", QStyle::SP_ArrowUp, true, true, false},
    {Command::InsertCompressed, "document-import", QStyle::SP_ArrowDown, true, true, false},
    {Command::ExtractRaw, "go-up", QStyle::SP_ArrowUp, true, true, false},
    {Command::InsertRaw, "go-down", QStyle::SP_ArrowDown, true, true, false},
    {Command::FontEditor, "preferences-desktop-font", QStyle::SP_FileDialogDetailedView, true, true,
     false},
    {Command::FontListImport, "format-text-bold", QStyle::SP_FileDialogStart, true, false, false},
    {Command::FontListExport, "format-text-italic", QStyle::SP_FileDialogEnd, true, false, false},
    {Command::HexDecompressed, "accessories-text-editor", QStyle::SP_FileDialogContentsView, true,
     true, false},
    {Command::HexRaw, "text-x-generic", QStyle::SP_FileDialogInfoView, true, true, false},
    {Command::ImportOrder, "view-sort-ascending", QStyle::SP_FileDialogListView, true, true,
     false},
    {Command::ExportOrder, "view-sort-descending", QStyle::SP_FileDialogListView, true, true,
     false},
    {Command::Information, "dialog-information", QStyle::SP_MessageBoxInformation, true, true,
     false},
    {Command::Search, "edit-find", QStyle::SP_FileDialogContentsView, true, true, false},
    {Command::ExportCode, "document-save-all", QStyle::SP_DriveHDIcon, true, true, false},
    {Command::Compare, "edit-copy", QStyle::SP_BrowserReload, true, true, true},
    {Command::About, "help-about", QStyle::SP_TitleBarContextHelpButton, false, true, true},
};

// Built-in captions and hints (the texts a language file replaces).
struct Caption {
  Command command;
  const char* menu;
  const char* hint;
};
constexpr Caption kCaptions[] = {
    {Command::Open, "&Abrir...", "Abrir un archivo de firmware o un parche"},
    {Command::Save, "&Guardar como...", "Guardar el firmware o parche"},
    {Command::Exit, "&Salir", "Salir de Corvane"},
    {Command::Delete, "&Borrar nodo", "Borrar el nodo seleccionado"},
    {Command::NewDirectory, "&Nuevo directorio...", "Crear un nuevo directorio"},
    {Command::ExtractDecompressed, "&Extraer con descompresión",
     "Extraer el nodo seleccionado con descompresión"},
    {Command::InsertCompressed, "&Insertar con compresión", "Insertar un nodo con compresión"},
    {Command::ExtractRaw, "E&xtraer sin descompresión",
     "Extraer el nodo seleccionado sin descompresión"},
    {Command::InsertRaw, "In&sertar sin compresión", "Insertar un nodo sin compresión"},
    {Command::FontEditor, "Editor de &tipos de letra", "Editar los tipos de letra del firmware"},
    {Command::FontListImport, "Inserta lista de tipos de letra...",
     "Inserta lista de tipos de letra..."},
    {Command::FontListExport, "Extrae lista de tipos de letra...",
     "Extrae lista de tipos de letra..."},
    {Command::HexDecompressed, "Editor Hexadecimal con descompresión",
     "Editar hexadecimalmente con descompresion"},
    {Command::HexRaw, "Editor Hexadecimal sin descompresión",
     "Editar hexadecimalmente sin descompresion"},
    {Command::ImportOrder, "Importar orden de archivos", "Importar orden de archivos"},
    {Command::ExportOrder, "Exportar orden de archivos", "Exportar orden de archivos"},
    {Command::Information, "Información", "Información"},
    {Command::Search, "Buscar...", "Buscar..."},
    {Command::ExportCode, "Extraer todo el código...", "Extraer todo el código..."},
    {Command::Compare, "Comparar firmwares...", "Comparar firmwares..."},
    {Command::About, "&Acerca de...", ""},
};

constexpr const char* kOptionCaptions[] = {
    "T&abla de longitudes al principio",
    "&Usar archivos externos",
    "No guardar paneles con mas de 183 elementos",
    "Cambiar a minusculas cuando se importan archivos",
    "Abrir resultados de busqueda automáticamente",
    "Comprimir insertando archivos desde *.def o *.glu",
};

constexpr const char* kWindowCaptions[] = {"Cascada", "&Minimizar todas", "&Restaurar todas",
                                           "&Cerrar todas"};

std::size_t At(Command c) { return static_cast<std::size_t>(c); }
std::size_t At(Option o) { return static_cast<std::size_t>(o); }
std::size_t At(WindowCommand w) { return static_cast<std::size_t>(w); }

}  // namespace

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent),
      mdi_area_(new QMdiArea),
      splitter_(new QSplitter(Qt::Horizontal)),
      tree_view_(new FirmwareTreeView),
      tree_model_(new FirmwareTreeModel(this)),
      status_label_(new QLabel),
      cancel_button_(new QPushButton),
      tree_(std::make_unique<TArbol>()) {
  setObjectName(QStringLiteral("TMainForm"));
  tree_view_->setObjectName(QStringLiteral("HETreeView1"));
  tree_view_->SetModel(tree_model_);
  tree_model_->SetTree(tree_.get());

  splitter_->addWidget(tree_view_);
  splitter_->addWidget(mdi_area_);
  splitter_->setHandleWidth(kSplitterWidth);
  splitter_->setStretchFactor(0, 0);
  splitter_->setStretchFactor(1, 1);
  splitter_->setSizes({kTreeWidth, 800});
  setCentralWidget(splitter_);

  mdi_area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

  status_label_->setObjectName(QStringLiteral("StatusText"));
  statusBar()->addWidget(status_label_, 1);
  cancel_button_->setText(Msg(72));
  cancel_button_->setVisible(false);
  statusBar()->addPermanentWidget(cancel_button_);

  BuildActions();
  BuildMenus();
  BuildToolBar();
  ApplyDefaultCaptions();

  connect(tree_view_, &FirmwareTreeView::NodeOpened, this, &TMainForm::AbreHijo);
  connect(cancel_button_, &QPushButton::clicked, this, &TMainForm::RequestCancel);
  cancel_shortcut_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  cancel_shortcut_->setEnabled(false);
  connect(cancel_shortcut_, &QShortcut::activated, this, &TMainForm::RequestCancel);
  connect(window_menu_, &QMenu::aboutToShow, this, &TMainForm::UpdateWindowMenu);

  UpdateTitle();
  resize(1000, 700);
}

TMainForm::~TMainForm() {
  // Children hold nodes of the tree: close them before the tree goes.
  mdi_area_->closeAllSubWindows();
}

void TMainForm::BuildActions() {
  for (const CommandInfo& info : kCommands) {
    auto* action = new QAction(ThemeIcon(info.theme_icon, info.fallback_icon), QString(), this);
    action->setEnabled(info.enabled_at_start);
    actions_[At(info.command)] = action;
  }
  for (std::size_t i = 0; i < options_.size(); ++i) {
    auto* action = new QAction(this);
    action->setCheckable(true);
    options_[i] = action;
  }
  options_[At(Option::LengthTableFirst)]->setChecked(true);
  for (std::size_t i = 0; i < window_actions_.size(); ++i)
    window_actions_[i] = new QAction(this);
  language_group_ = new QActionGroup(this);
  language_group_->setExclusive(true);
  for (std::size_t i = 0; i < language_slots_.size(); ++i) {
    auto* action = new QAction(QStringLiteral("%1 -").arg(i + 1), this);
    action->setCheckable(true);
    action->setEnabled(false);
    language_group_->addAction(action);
    language_slots_[i] = action;
  }

  connect(Action(Command::Exit), &QAction::triggered, this, &QWidget::close);
  connect(Action(Command::About), &QAction::triggered, this, &TMainForm::OnAbout);
  connect(WindowAction(WindowCommand::Cascade), &QAction::triggered, mdi_area_,
          &QMdiArea::cascadeSubWindows);
  connect(WindowAction(WindowCommand::MinimizeAll), &QAction::triggered, this, [this] {
    QMdiSubWindow* active = mdi_area_->activeSubWindow();
    const QList<QMdiSubWindow*> children = mdi_area_->subWindowList();
    for (auto it = children.rbegin(); it != children.rend(); ++it) (*it)->showMinimized();
    if (active != nullptr) mdi_area_->setActiveSubWindow(active);
  });
  connect(WindowAction(WindowCommand::RestoreAll), &QAction::triggered, this, [this] {
    for (QMdiSubWindow* child : mdi_area_->subWindowList()) child->showNormal();
  });
  connect(WindowAction(WindowCommand::CloseAll), &QAction::triggered, mdi_area_,
          &QMdiArea::closeAllSubWindows);
}

void TMainForm::BuildMenus() {
  QMenuBar* bar = menuBar();
  file_menu_ = bar->addMenu(QString());
  file_menu_->addAction(Action(Command::Open));
  file_menu_->addAction(Action(Command::Save));
  file_menu_->addSeparator();
  file_menu_->addAction(Action(Command::Exit));

  edit_menu_ = bar->addMenu(QString());
  edit_menu_->addAction(Action(Command::Delete));
  edit_menu_->addAction(Action(Command::NewDirectory));
  edit_menu_->addSeparator();
  edit_menu_->addAction(Action(Command::ExtractDecompressed));
  edit_menu_->addAction(Action(Command::InsertCompressed));
  edit_menu_->addAction(Action(Command::ExtractRaw));
  edit_menu_->addAction(Action(Command::InsertRaw));
  edit_menu_->addSeparator();
  edit_menu_->addAction(Action(Command::FontEditor));
  edit_menu_->addAction(Action(Command::HexDecompressed));
  edit_menu_->addAction(Action(Command::HexRaw));
  edit_menu_->addSeparator();
  edit_menu_->addAction(Action(Command::ImportOrder));
  edit_menu_->addAction(Action(Command::ExportOrder));
  edit_menu_->addSeparator();
  edit_menu_->addAction(Action(Command::Information));
  edit_menu_->addAction(Action(Command::Search));
  edit_menu_->addAction(Action(Command::ExportCode));
  edit_menu_->addAction(Action(Command::Compare));

  config_menu_ = bar->addMenu(QString());
  fonts_menu_ = config_menu_->addMenu(QString());
  fonts_menu_->addAction(OptionAction(Option::LengthTableFirst));
  fonts_menu_->addAction(OptionAction(Option::UseExternalFonts));
  config_menu_->addAction(OptionAction(Option::Limit183Widgets));
  config_menu_->addAction(OptionAction(Option::LowercaseFiles));
  config_menu_->addAction(OptionAction(Option::OpenSearchResults));
  config_menu_->addAction(OptionAction(Option::CompressWhenInsert));
  config_menu_->addSeparator();
  language_menu_ = config_menu_->addMenu(QString());
  for (QAction* slot : language_slots_) language_menu_->addAction(slot);

  window_menu_ = bar->addMenu(QString());
  for (QAction* action : window_actions_) window_menu_->addAction(action);

  help_menu_ = bar->addMenu(QString());
  help_menu_->addAction(Action(Command::About));
}

void TMainForm::BuildToolBar() {
  tool_bar_ = addToolBar(QStringLiteral("Corvane"));
  tool_bar_->setObjectName(QStringLiteral("ToolBar1"));
  tool_bar_->setMovable(false);
  for (const CommandInfo& info : kCommands)
    if (info.on_toolbar) tool_bar_->addAction(Action(info.command));
}

void TMainForm::ApplyDefaultCaptions() {
  for (const Caption& c : kCaptions) {
    QAction* action = Action(c.command);
    action->setText(QString::fromUtf8(c.menu));
    action->setToolTip(QString::fromUtf8(c.hint));
    action->setStatusTip(QString::fromUtf8(c.hint));
  }
  for (std::size_t i = 0; i < options_.size(); ++i)
    options_[i]->setText(QString::fromUtf8(kOptionCaptions[i]));
  for (std::size_t i = 0; i < window_actions_.size(); ++i)
    window_actions_[i]->setText(QString::fromUtf8(kWindowCaptions[i]));
  file_menu_->setTitle(QStringLiteral("&Archivo"));
  edit_menu_->setTitle(QStringLiteral("&Edición"));
  config_menu_->setTitle(QStringLiteral("&Configuración"));
  fonts_menu_->setTitle(QStringLiteral("&Tipos de letra"));
  language_menu_->setTitle(QStringLiteral("Idioma"));
  window_menu_->setTitle(QStringLiteral("&Ventana"));
  help_menu_->setTitle(QStringLiteral("A&yuda"));
}

QAction* TMainForm::Action(Command command) const { return actions_[At(command)]; }
QAction* TMainForm::OptionAction(Option option) const { return options_[At(option)]; }
bool TMainForm::OptionChecked(Option option) const { return OptionAction(option)->isChecked(); }
QAction* TMainForm::WindowAction(WindowCommand command) const {
  return window_actions_[At(command)];
}

QString TMainForm::StatusText() const { return status_label_->text(); }
void TMainForm::SetStatusText(const QString& text) { status_label_->setText(text); }

TNodo* TMainForm::SelectedNode() const { return tree_view_->SelectedNode(); }
void TMainForm::SelectNode(const TNodo* node) { tree_view_->SelectNode(node); }

void TMainForm::SetFirmwareModificado(bool modified) {
  modified_ = modified;
  UpdateTitle();
}

void TMainForm::UpdateTitle() {
  if (firmware_ != nullptr && firmware_->Loaded) {
    setWindowTitle(NodeName(firmware_->RootName) + QStringLiteral("[*] - Corvane"));
  } else {
    setWindowTitle(QStringLiteral("Corvane[*]"));
  }
  setWindowModified(modified_);
}

void TMainForm::UpdateWindowMenu() {
  // The own items act only while a child is open; the list of children follows them.
  const QList<QMdiSubWindow*> children = mdi_area_->subWindowList();
  for (QAction* action : window_actions_) action->setEnabled(!children.isEmpty());
  for (QAction* action : window_menu_->actions())
    if (action->property("corvane-child").isValid()) {
      window_menu_->removeAction(action);
      action->deleteLater();
    }
  if (children.isEmpty()) return;
  QAction* separator = window_menu_->addSeparator();
  separator->setProperty("corvane-child", true);
  int n = 1;
  for (QMdiSubWindow* child : children) {
    QAction* item = window_menu_->addAction(
        QStringLiteral("&%1 %2").arg(n++).arg(child->windowTitle()),
        [this, child] { mdi_area_->setActiveSubWindow(child); });
    item->setCheckable(true);
    item->setChecked(child == mdi_area_->activeSubWindow());
    item->setProperty("corvane-child", true);
  }
}

EditorChild* TMainForm::EditorOf(const TNodo* node) const {
  for (QMdiSubWindow* sub : mdi_area_->subWindowList())
    if (auto* editor = qobject_cast<EditorChild*>(sub->widget()); editor && editor->Node() == node)
      return editor;
  return nullptr;
}

bool TMainForm::NodeInUse(const TNodo* node) const {
  if (node == nullptr) return false;
  for (QMdiSubWindow* sub : mdi_area_->subWindowList())
    if (auto* editor = qobject_cast<EditorChild*>(sub->widget());
        editor && node->Contains(editor->Node()))
      return true;
  return false;
}

QMdiSubWindow* TMainForm::AddChild(EditorChild* child) {
  child->setAttribute(Qt::WA_DeleteOnClose);
  QMdiSubWindow* sub = mdi_area_->addSubWindow(child);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  child->CambiaIdioma();
  child->show();
  return sub;
}

void TMainForm::AbreHijo(TNodo* node) {
  if (node == nullptr || node->IsDirectory()) return;
  if (EditorChild* open = EditorOf(node)) {
    for (QMdiSubWindow* sub : mdi_area_->subWindowList())
      if (sub->widget() == open) {
        mdi_area_->setActiveSubWindow(sub);
        sub->showNormal();
        sub->raise();
      }
    return;
  }
  const EditorFactory factory = EditorRegistry::Find(node->Text);
  if (!factory) return;
  if (EditorChild* child = factory(*this, *node)) AddChild(child);
}

void TMainForm::TreeChanged() {
  const TNodo* selected = SelectedNode();
  // Remember the open branches by node identity; only nodes still in the tree are reopened.
  std::vector<const TNodo*> expanded;
  tree_->ForEach([&](TNodo& n) {
    const QModelIndex i = tree_model_->IndexOf(&n);
    if (i.isValid() && tree_view_->isExpanded(i)) expanded.push_back(&n);
  });
  tree_model_->Sync();
  for (const TNodo* n : expanded) tree_view_->expand(tree_model_->IndexOf(n));
  bool still_there = false;
  tree_->ForEach([&](TNodo& n) { still_there = still_there || &n == selected; });
  if (still_there) tree_view_->SelectNode(selected);
}

void TMainForm::OnAbout() {
  AboutDialog dialog(this);
  dialog.exec();
}

void TMainForm::BeginBusy() {
  if (busy_depth_++ > 0) return;
  cancel_requested_ = false;
  menuBar()->setEnabled(false);
  tool_bar_->setEnabled(false);
  tree_view_->setEnabled(false);
  mdi_area_->setEnabled(false);
  cancel_button_->setText(Msg(72));
  cancel_button_->setVisible(true);
  cancel_shortcut_->setEnabled(true);
  QApplication::setOverrideCursor(Qt::BusyCursor);
}

void TMainForm::EndBusy() {
  if (busy_depth_ == 0 || --busy_depth_ > 0) return;
  QApplication::restoreOverrideCursor();
  cancel_button_->setVisible(false);
  cancel_shortcut_->setEnabled(false);
  mdi_area_->setEnabled(true);
  tree_view_->setEnabled(true);
  tool_bar_->setEnabled(true);
  menuBar()->setEnabled(true);
}

void TMainForm::RequestCancel() {
  if (Busy()) cancel_requested_ = true;
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if (Busy()) {
    // Never leave in the middle of a long operation: ask it to stop instead.
    RequestCancel();
    event->ignore();
    return;
  }
  mdi_area_->closeAllSubWindows();
  event->accept();
}



}  // namespace corvane::ui
