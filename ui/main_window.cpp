#include "main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
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
#include <QTranslator>
#include <QLibraryInfo>
#include <optional>

#include "about_dialog.h"
#include "document/code_export.h"
#include "resources/instruction_table.h"
#include "compare_window.h"
#include "config/paths.h"
#include "editor_registry.h"
#include "file_dialogs.h"
#include "font_editor.h"
#include "document/detection.h"
#include "firmware/kinds.h"
#include "firmware/models.h"
#include "icons.h"
#include "info_window.h"
#include "long_operation.h"
#include "resources/font_messages.h"
#include "prompts.h"
#include "search_window.h"
#include "tree_model.h"
#include "tree_view.h"
#include "ui_interaction.h"
#include "message_rows.h"
#include "ui_text.h"

namespace corvane::ui {

namespace {

using Item = MainWindowItem;

constexpr int kTreeWidth = 177;
constexpr int kSplitterWidth = 2;

constexpr Item kOptions[] = {Item::OptionLengthTableFirst,  Item::OptionUseExternalFonts,
                             Item::OptionLimitPanels,       Item::OptionLowercaseFiles,
                             Item::OptionOpenSearchResults, Item::OptionCompressWhenInsert};

constexpr Item kWindowCommands[] = {Item::WindowCascade, Item::WindowMinimizeAll,
                                    Item::WindowRestoreAll, Item::WindowCloseAll};

// Every command of the window once: its icon, the menu that lists it (in this order, after a
// separator when asked), whether the toolbar shows it (in this order), the state that enables it
// (always enabled without one) and what it runs.
struct Command {
  Item item;
  const char* theme_icon;
  QStyle::StandardPixmap fallback_icon;
  std::optional<Item> menu;
  bool separator_before;
  bool on_toolbar;
  bool CommandStates::*enabled_by;
  void (*run)(TMainForm&);
};

const Command kCommands[] = {
    {Item::Open, "document-open", QStyle::SP_DialogOpenButton, Item::FileMenu, false, true,
     &CommandStates::open, [](TMainForm& w) { w.ChooseAndOpen(); }},
    {Item::SaveAs, "document-save-as", QStyle::SP_DialogSaveButton, Item::FileMenu, false, true,
     &CommandStates::save, [](TMainForm& w) { w.SaveAs(); }},
    {Item::Exit, "application-exit", QStyle::SP_DialogCloseButton, Item::FileMenu, true, false,
     nullptr, [](TMainForm& w) { w.close(); }},
    {Item::DeleteNode, "edit-delete", QStyle::SP_TrashIcon, Item::EditMenu, false, true,
     &CommandStates::delete_node, [](TMainForm& w) { w.DeleteSelected(); }},
    {Item::NewDirectory, "folder-new", QStyle::SP_FileDialogNewFolder, Item::EditMenu, false, true,
     &CommandStates::new_directory, [](TMainForm& w) { w.NewDirectory(); }},
    {Item::ExtractDecompressed, "document-export", QStyle::SP_ArrowUp, Item::EditMenu, true, true,
     &CommandStates::extract_decompress, [](TMainForm& w) { w.Extract(true); }},
    {Item::InsertCompressed, "document-import", QStyle::SP_ArrowDown, Item::EditMenu, false, true,
     &CommandStates::insert_compress, [](TMainForm& w) { w.Insert(true); }},
    {Item::ExtractRaw, "go-up", QStyle::SP_ArrowUp, Item::EditMenu, false, true,
     &CommandStates::extract_plain, [](TMainForm& w) { w.Extract(false); }},
    {Item::InsertRaw, "go-down", QStyle::SP_ArrowDown, Item::EditMenu, false, true,
     &CommandStates::insert_plain, [](TMainForm& w) { w.Insert(false); }},
    {Item::FontEditor, "preferences-desktop-font", QStyle::SP_FileDialogDetailedView,
     Item::EditMenu, true, true, &CommandStates::font_editor,
     [](TMainForm& w) { OpenFontEditor(w); }},
    {Item::InsertFontList, "go-bottom", QStyle::SP_FileDialogStart, std::nullopt, false, true,
     &CommandStates::font_lists, [](TMainForm& w) { w.FontList(false); }},
    {Item::ExtractFontList, "go-top", QStyle::SP_FileDialogEnd, std::nullopt, false, true,
     &CommandStates::font_lists, [](TMainForm& w) { w.FontList(true); }},
    {Item::HexEditorDecompressed, "accessories-text-editor", QStyle::SP_FileDialogContentsView,
     Item::EditMenu, false, true, &CommandStates::hex_decompress,
     [](TMainForm& w) { w.OpenHexEditor(true); }},
    {Item::HexEditorRaw, "text-x-generic", QStyle::SP_FileDialogInfoView, Item::EditMenu, false,
     true, &CommandStates::hex_plain, [](TMainForm& w) { w.OpenHexEditor(false); }},
    {Item::ImportFileOrder, "view-sort-ascending", QStyle::SP_FileDialogListView, Item::EditMenu,
     true, true, &CommandStates::import_order, [](TMainForm& w) { w.ImportOrder(); }},
    {Item::ExportFileOrder, "view-sort-descending", QStyle::SP_FileDialogListView, Item::EditMenu,
     false, true, &CommandStates::export_order, [](TMainForm& w) { w.ExportOrder(); }},
    {Item::Information, "dialog-information", QStyle::SP_MessageBoxInformation, Item::EditMenu,
     true, true, &CommandStates::information, [](TMainForm& w) { w.ShowInformation(); }},
    {Item::Search, "edit-find", QStyle::SP_FileDialogContentsView, Item::EditMenu, false, true,
     &CommandStates::search, [](TMainForm& w) { w.ShowSearch(); }},
    {Item::ExtractAllCode, "document-save-all", QStyle::SP_DriveHDIcon, Item::EditMenu, false,
     true, &CommandStates::extract_code, [](TMainForm& w) { w.ExtractAllCode(); }},
    {Item::CompareFirmwares, "edit-copy", QStyle::SP_BrowserReload, Item::EditMenu, false, true,
     &CommandStates::compare, [](TMainForm& w) { w.ShowCompare(); }},
    {Item::About, "help-about", QStyle::SP_TitleBarContextHelpButton, Item::HelpMenu, false, false,
     nullptr, [](TMainForm& w) { w.ShowAbout(); }},
};

QString Utf8(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent),
      mdi_area_(new QMdiArea),
      splitter_(new QSplitter(Qt::Horizontal)),
      tree_view_(new FirmwareTreeView),
      tree_model_(new FirmwareTreeModel(this)),
      status_label_(new QLabel),
      cancel_button_(new QPushButton) {
  setObjectName(QStringLiteral("TMainForm"));
  tree_view_->setObjectName(QStringLiteral("HETreeView1"));
  tree_view_->SetModel(tree_model_);

  splitter_->addWidget(tree_view_);
  splitter_->addWidget(mdi_area_);
  splitter_->setHandleWidth(kSplitterWidth);
  splitter_->setChildrenCollapsible(false);
  splitter_->setStretchFactor(0, 0);
  splitter_->setStretchFactor(1, 1);
  splitter_->setSizes({kTreeWidth, 800});
  setCentralWidget(splitter_);
  mdi_area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

  status_label_->setObjectName(QStringLiteral("StatusText"));
  statusBar()->addWidget(status_label_, 1);
  cancel_button_->setVisible(false);
  statusBar()->addPermanentWidget(cancel_button_);
  cancel_shortcut_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  cancel_shortcut_->setEnabled(false);
  connect(cancel_shortcut_, &QShortcut::activated, this, &TMainForm::RequestCancel);
  connect(cancel_button_, &QPushButton::clicked, this, &TMainForm::RequestCancel);

  BuildCommands();
  BuildOptions();

  // The document layer holds every rule; the tree view asks it.
  document_.SetInUse([this](const TNodo& node) { return EditorOf(&node) != nullptr; });
  tree_model_->can_rename = [this](const TNodo& node) { return document_.CanRename(&node); };
  tree_model_->rename = [this](TNodo& node, const QString& text) {
    const CommandResult result = document_.Rename(&node, text.toStdString());
    ReportCommand(result);
    if (result.changed) UpdateTitle();
    return result.changed;
  };
  tree_view_->can_drop = [this](const TNodo& dragged, const TNodo& target) {
    return document_.CanDrop(&dragged, &target);
  };
  tree_view_->drop = [this](TNodo& dragged, TNodo& target) {
    const CommandResult result = document_.Drop(&dragged, &target);
    DocumentChanged(result);
    if (result.changed) SelectNode(&dragged);
    ActualizaBotones();
  };
  connect(tree_view_, &FirmwareTreeView::SelectionTouched, this, &TMainForm::ActualizaBotones);
  connect(tree_view_, &FirmwareTreeView::NodeOpened, this, &TMainForm::AbreHijo);
  connect(Menu(Item::WindowMenu), &QMenu::aboutToShow, this, &TMainForm::UpdateWindowMenu);

  // Start-up (FormCreate): the INIs folder is checked, then the configuration read in any case.
  inis_folder_ = corvane::InisFolder();
  const Result inis = CheckInisFolder(inis_folder_);
  if (!inis.ok()) Prompts::Report(this, inis);
  const Result instructions =
      LeeConfiguracion(inis_folder_, ProgramFolderText(), config_, [](const auto& asm_inst_ini) {
        return Instructions().ReadFile(asm_inst_ini);
      });
  ApplySettings();
  CargaIdioma(config_.language.LoadedSlot());
  // Reported in the language just loaded.
  if (!instructions.ok()) Prompts::Report(this, instructions);

  ApplyStates(states_);
  UpdateTitle();
  resize(1000, 700);
}

TMainForm::~TMainForm() {
  // Children hold nodes of the tree: they go before the document.
  delete search_window_;
  search_window_ = nullptr;
  for (QMdiSubWindow* sub : mdi_area_->subWindowList()) delete sub;
}

// ---- Building ----

QMenu* TMainForm::AddMenu(Item item, QMenu* parent) {
  QMenu* menu = parent ? parent->addMenu(QString()) : menuBar()->addMenu(QString());
  menus_[item] = menu;
  return menu;
}

void TMainForm::BuildCommands() {
  // The menu bar in its order; the commands fill the menus from their table.
  AddMenu(Item::FileMenu, nullptr);
  AddMenu(Item::EditMenu, nullptr);
  AddMenu(Item::ConfigurationMenu, nullptr);
  AddMenu(Item::WindowMenu, nullptr);
  AddMenu(Item::HelpMenu, nullptr);

  tool_bar_ = addToolBar(QStringLiteral("Corvane"));
  tool_bar_->setObjectName(QStringLiteral("ToolBar1"));
  tool_bar_->setMovable(false);
  tool_bar_->setIconSize(QSize(20, 20));

  for (const Command& c : kCommands) {
    auto* action = new QAction(ThemeIcon(c.theme_icon, c.fallback_icon), QString(), this);
    action->setEnabled(false);
    actions_[c.item] = action;
    if (c.menu) {
      QMenu* menu = Menu(*c.menu);
      if (c.separator_before) menu->addSeparator();
      menu->addAction(action);
    }
    if (c.on_toolbar) tool_bar_->addAction(action);
    if (c.run) connect(action, &QAction::triggered, this, [this, run = c.run] { run(*this); });
  }

  QMenu* window = Menu(Item::WindowMenu);
  for (Item w : kWindowCommands) window->addAction(actions_[w] = new QAction(this));
  connect(Action(Item::WindowCascade), &QAction::triggered, mdi_area_,
          &QMdiArea::cascadeSubWindows);
  connect(Action(Item::WindowMinimizeAll), &QAction::triggered, this, [this] {
    QMdiSubWindow* active = mdi_area_->activeSubWindow();
    const QList<QMdiSubWindow*> children = mdi_area_->subWindowList();
    for (auto it = children.rbegin(); it != children.rend(); ++it) (*it)->showMinimized();
    if (active != nullptr) mdi_area_->setActiveSubWindow(active);
  });
  connect(Action(Item::WindowRestoreAll), &QAction::triggered, this, [this] {
    for (QMdiSubWindow* child : mdi_area_->subWindowList()) child->showNormal();
  });
  connect(Action(Item::WindowCloseAll), &QAction::triggered, mdi_area_,
          &QMdiArea::closeAllSubWindows);
}

void TMainForm::BuildOptions() {
  QMenu* config = Menu(Item::ConfigurationMenu);
  QMenu* fonts = AddMenu(Item::FontsMenu, config);
  for (Item option : kOptions) {
    auto* action = new QAction(this);
    action->setCheckable(true);
    actions_[option] = action;
    const bool font_option =
        option == Item::OptionLengthTableFirst || option == Item::OptionUseExternalFonts;
    (font_option ? fonts : config)->addAction(action);
  }
  Action(Item::OptionLengthTableFirst)->setChecked(true);
  // Options take effect at once; the document reads its copy of them.
  connect(Action(Item::OptionLengthTableFirst), &QAction::toggled, this,
          [this](bool on) { document_.Options().length_table_first = on; });
  connect(Action(Item::OptionUseExternalFonts), &QAction::toggled, this, [this](bool on) {
    document_.Options().use_external_fonts = on;
  });
  connect(Action(Item::OptionLowercaseFiles), &QAction::toggled, this,
          [this](bool on) { document_.Options().lowercase_on_import = on; });
  connect(Action(Item::OptionOpenSearchResults), &QAction::toggled, this,
          [this](bool on) { document_.Options().open_search_results = on; });
  connect(Action(Item::OptionCompressWhenInsert), &QAction::toggled, this,
          [this](bool on) { document_.Options().compress_from_def = on; });

  config->addSeparator();
  QMenu* language = AddMenu(Item::LanguageMenu, config);
  language_group_ = new QActionGroup(this);
  language_group_->setExclusive(true);
  for (int i = 0; i < kLanguageSlots; ++i) {
    auto* action = new QAction(this);
    action->setCheckable(true);
    language_group_->addAction(action);
    language_slots_[static_cast<std::size_t>(i)] = action;
    language->addAction(action);
    connect(action, &QAction::triggered, this, [this, i] {
      config_.language.Choose(i + 1);
      CargaIdioma(config_.language.LoadedSlot());
    });
  }
}

// ---- Texts ----

void TMainForm::ApplyLanguageTexts() {
  const LanguageTexts& texts = config_.language.Texts();
  for (const auto& [item, action] : actions_) {
    const std::string& caption = texts.ItemText(item, TextRole::Caption);
    const std::string& hint = texts.ItemText(item, TextRole::Hint);
    // The two font-list buttons have a hint only; it names them in menus and tooltips alike.
    action->setText(Utf8(caption.empty() ? hint : caption));
    action->setToolTip(Utf8(hint.empty() ? caption : hint));
    action->setStatusTip(Utf8(hint));
  }
  for (const auto& [item, menu] : menus_)
    menu->setTitle(Utf8(texts.ItemText(item, TextRole::Caption)));
  for (int i = 1; i <= kLanguageSlots; ++i) {
    const corvane::LanguageSlot& slot = config_.language.Slot(i);
    QAction* action = LanguageSlot(i);
    action->setText(Utf8(slot.caption));
    action->setEnabled(slot.enabled);
    action->setChecked(config_.language.TickedSlot() == i);
  }
  cancel_button_->setText(Msg(row::kCancel));
}

void TMainForm::LoadQtTranslations() {
  // The language's code ("es", "en") names Qt's own translation file (qtbase_es.qm).
  const QString code = Msg(row::kQtLanguage).trimmed();
  if (qt_translator_ != nullptr) {
    QCoreApplication::removeTranslator(qt_translator_);
    delete qt_translator_;
    qt_translator_ = nullptr;
  }
  if (code.isEmpty()) return;
  auto* translator = new QTranslator(this);
  if (translator->load(QStringLiteral("qtbase_") + code,
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(translator);
    qt_translator_ = translator;
  } else {
    delete translator;
  }
}

void TMainForm::CargaIdioma(int slot) {
  if (slot != config_.language.LoadedSlot()) config_.language.Load(slot);
  Messages() = config_.language.Messages();
  document_.SetSectionWord(Messages().Text(row::kSectionWord));
  LoadQtTranslations();
  ApplyLanguageTexts();
  // Every open child relabels itself at once.
  for (QMdiSubWindow* sub : mdi_area_->subWindowList())
    if (auto* editor = qobject_cast<EditorChild*>(sub->widget())) editor->CambiaIdioma();
  if (search_window_) search_window_->CambiaIdioma();
  if (document_.IsOpen()) SetStatusText(Render(document_.StatusText(SelectedNode())));
}

// ---- Configuration ----

void TMainForm::ApplySettings() {
  const Settings& s = config_.settings;
  Action(Item::OptionLimitPanels)->setChecked(s.limit_panels_with_183_widgets);
  Action(Item::OptionLowercaseFiles)->setChecked(s.lowercase_files);
  Action(Item::OptionOpenSearchResults)->setChecked(s.open_search_results);
  Action(Item::OptionCompressWhenInsert)->setChecked(s.compress_when_insert);
}

void TMainForm::CollectSettings() {
  Settings& s = config_.settings;
  s.limit_panels_with_183_widgets = OptionChecked(Item::OptionLimitPanels);
  s.lowercase_files = OptionChecked(Item::OptionLowercaseFiles);
  s.open_search_results = OptionChecked(Item::OptionOpenSearchResults);
  s.compress_when_insert = OptionChecked(Item::OptionCompressWhenInsert);
}

// ---- Accessors ----

QAction* TMainForm::Action(Item item) const {
  const auto it = actions_.find(item);
  return it == actions_.end() ? nullptr : it->second;
}

QMenu* TMainForm::Menu(Item item) const {
  const auto it = menus_.find(item);
  return it == menus_.end() ? nullptr : it->second;
}

QAction* TMainForm::LanguageSlot(int slot) const {
  return slot >= 1 && slot <= kLanguageSlots ? language_slots_[static_cast<std::size_t>(slot - 1)]
                                             : nullptr;
}

bool TMainForm::OptionChecked(Item option) const {
  QAction* a = Action(option);
  return a != nullptr && a->isChecked();
}

QString TMainForm::StatusText() const { return status_label_->text(); }
void TMainForm::SetStatusText(const QString& text) { status_label_->setText(text); }

TNodo* TMainForm::SelectedNode() const { return tree_view_->SelectedNode(); }
void TMainForm::SelectNode(const TNodo* node) { tree_view_->SelectNode(node); }

void TMainForm::NodeWritten(TNodo* node) {
  document_.NodeChanged(node);
  UpdateTitle();
  for (EditorChild* editor : Editors())
    if (node != nullptr && editor->Node() != node) editor->NodeWrittenElsewhere(*node);
}

std::vector<EditorChild*> TMainForm::Editors() const {
  std::vector<EditorChild*> editors;
  for (QMdiSubWindow* sub : mdi_area_->subWindowList())
    if (auto* editor = qobject_cast<EditorChild*>(sub->widget())) editors.push_back(editor);
  return editors;
}

void TMainForm::CambioColorPaleta(const QString& palette) {
  for (EditorChild* editor : Editors()) editor->Redibuja(palette);
}

void TMainForm::CambioImagen(const QString& image) {
  for (EditorChild* editor : Editors()) editor->RedibujaImagen(image);
}

void TMainForm::CambioIcono(const QString& collection) {
  for (EditorChild* editor : Editors()) editor->RedibujaIcono(collection);
}

void TMainForm::CambioFuentes() {
  for (EditorChild* editor : Editors()) editor->RedibujaFuentes();
}

// ---- Commands enabling ----

void TMainForm::ApplyStates(const CommandStates& s) {
  states_ = s;
  for (const Command& c : kCommands) Action(c.item)->setEnabled(!c.enabled_by || s.*c.enabled_by);
}

CommandStates TMainForm::StatesWithoutSelection() const {
  if (!document_.IsOpen()) return CommandsWithoutFirmware();
  CommandStates states = CommandsAfterOpen(document_.Model());
  if (OptionChecked(Item::OptionUseExternalFonts)) states.font_editor = states.font_lists = false;
  return states;
}

void TMainForm::ActualizaBotones() {
  TNodo* selected = SelectedNode();
  if (selected == nullptr) {
    // Nothing selected (the selected node was deleted): the commands of no selection.
    ApplyStates(StatesWithoutSelection());
    SetStatusText(QString());
    return;
  }
  ApplyStates(document_.Commands(states_, selected));
  SetStatusText(Render(document_.StatusText(selected)));
}

// ---- Title, children, tree ----

void TMainForm::UpdateTitle() {
  // "demo.bin - Corvane v2.62": the window sets its whole title (no application display name is
  // set, so the platform adds nothing).
  const QString program = QString::fromLatin1(kApplicationTitle);
  if (document_.IsOpen()) {
    setWindowTitle(NodeName(document_.Firmware()->RootName, true) + QStringLiteral("[*] - ") +
                   program);
  } else {
    setWindowTitle(program + QStringLiteral("[*]"));
  }
  setWindowModified(document_.Modified());
}

void TMainForm::UpdateWindowMenu() {
  QMenu* menu = Menu(Item::WindowMenu);
  const QList<QMdiSubWindow*> children = mdi_area_->subWindowList();
  for (Item i : {Item::WindowCascade, Item::WindowMinimizeAll, Item::WindowRestoreAll,
                 Item::WindowCloseAll})
    Action(i)->setEnabled(!children.isEmpty());
  for (QAction* action : menu->actions())
    if (action->property("corvane-child").isValid()) {
      menu->removeAction(action);
      action->deleteLater();
    }
  if (children.isEmpty()) return;
  QAction* separator = menu->addSeparator();
  separator->setProperty("corvane-child", true);
  int n = 1;
  for (QMdiSubWindow* child : children) {
    QAction* item = menu->addAction(QStringLiteral("&%1 %2").arg(n++).arg(child->windowTitle()),
                                    this, [this, child] { mdi_area_->setActiveSubWindow(child); });
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
  return node != nullptr && document_.InUse(*node);
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
        if (sub->isMinimized()) sub->showNormal();
      }
    return;
  }
  const EditorFactory factory = EditorRegistry::Find(KindOfName(node->Text));
  if (!factory) return;
  if (EditorChild* child = factory(*this, *node)) AddChild(child);
}

void TMainForm::TreeChanged() {
  const TNodo* selected = SelectedNode();
  const TArbol* tree = document_.Tree();
  // The open branches by node identity; only nodes still in the tree are opened again.
  std::vector<const TNodo*> expanded;
  bool selected_alive = false;
  if (tree != nullptr) {
    tree->ForEach([&](TNodo& n) {
      selected_alive = selected_alive || &n == selected;
      const QModelIndex i = tree_model_->IndexOf(&n);
      if (i.isValid() && tree_view_->isExpanded(i)) expanded.push_back(&n);
    });
  }
  tree_model_->SetTree(tree);
  for (const TNodo* n : expanded) tree_view_->expand(tree_model_->IndexOf(n));
  if (selected_alive) tree_view_->SelectNode(selected);
}

void TMainForm::ReportCommand(const CommandResult& result) {
  for (const Message& m : result.messages) Prompts::Error(this, m);
  // Things the command changed on its own (a name's characters replaced by "_"), after it.
  for (const Message& m : result.notes) Prompts::Inform(this, Render(m));
}

void TMainForm::DocumentChanged(const CommandResult& result) {
  if (result.changed) TreeChanged();
  UpdateTitle();
  ReportCommand(result);
}

// ---- Long operations ----

void TMainForm::BeginBusy() {
  if (busy_depth_++ > 0) return;
  cancel_requested_ = false;
  menuBar()->setEnabled(false);
  tool_bar_->setEnabled(false);
  tree_view_->setEnabled(false);
  mdi_area_->setEnabled(false);
  if (search_window_) search_window_->setEnabled(false);
  cancel_button_->setVisible(true);
  cancel_shortcut_->setEnabled(true);
  QApplication::setOverrideCursor(Qt::BusyCursor);
}

void TMainForm::EndBusy() {
  if (busy_depth_ == 0 || --busy_depth_ > 0) return;
  QApplication::restoreOverrideCursor();
  cancel_shortcut_->setEnabled(false);
  cancel_button_->setVisible(false);
  if (search_window_) search_window_->setEnabled(true);
  mdi_area_->setEnabled(true);
  tree_view_->setEnabled(true);
  tool_bar_->setEnabled(true);
  menuBar()->setEnabled(true);
}

void TMainForm::RequestCancel() {
  if (Busy()) cancel_requested_ = true;
}

// ---- Opening and saving ----

void TMainForm::ChooseAndOpen() {
  if (document_.Modified()) {
    const Answer answer = Prompts::YesNoCancel(this, Msg(row::kSaveChanges));
    if (answer == Answer::Cancel) return;
    // Changes are never dropped silently: a save that did not happen stops the open.
    if (answer == Answer::Yes && !SaveAs()) return;
  }
  const std::optional<FirmwareChoice> choice =
      ChooseFirmware(this, config_.settings.last_firmware_type_opened,
                     Utf8(config_.settings.last_opened_directory));
  if (!choice) return;
  OpenFile(choice->file, choice->model);
}

bool TMainForm::OpenFile(const QString& path, int model) {
  // The children hold nodes of the tree that is about to be replaced.
  mdi_area_->closeAllSubWindows();
  if (!mdi_area_->subWindowList().isEmpty()) return false;
  const QFileInfo info(path);
  config_.settings.last_opened_directory = info.absolutePath().toStdString();
  const std::filesystem::path file = ToPath(info.absoluteFilePath());
  auto firmware = std::make_unique<TFirmware>();
  auto tree = std::make_unique<TArbol>();
  const Result result = OpenWithDetection(file, model, *firmware, *tree, Messages());
  if (model >= 1 && model <= kModelCount)
    config_.settings.last_firmware_type_opened = static_cast<std::uint8_t>(model);
  if (!result.ok()) {
    // The loader's message; the firmware open before (if any) stays open.
    Prompts::Report(this, result);
    UpdateTitle();
    return false;
  }
  document_.Adopt(std::move(firmware), std::move(tree));
  AfterOpen();
  return true;
}

void TMainForm::OpenDocument(std::unique_ptr<TFirmware> firmware, std::unique_ptr<TArbol> tree) {
  mdi_area_->closeAllSubWindows();
  document_.Adopt(std::move(firmware), std::move(tree));
  AfterOpen();
}

void TMainForm::AfterOpen() {
  TFirmware* firmware = document_.Firmware();
  if (firmware->ForceExternalFonts) Action(Item::OptionUseExternalFonts)->setChecked(true);
  TreeChanged();
  if (TNodo* root = document_.Root()) tree_view_->expand(tree_model_->IndexOf(root));
  ApplyStates(StatesWithoutSelection());
  SetStatusText(QString());
  UpdateTitle();
}

bool TMainForm::SaveAs() {
  if (!document_.IsOpen()) return false;
  const ModelDescriptor* model = FindModel(document_.Model());
  if (model == nullptr) return false;
  const std::optional<QString> file = ChooseSaveFile(
      this, QString(), model->save_filter_row,
      QString::fromLatin1(model->extension.data(), static_cast<qsizetype>(model->extension.size())),
      Utf8(config_.settings.last_saved_directory));
  if (!file) return false;
  config_.settings.last_saved_directory = QFileInfo(*file).absolutePath().toStdString();
  const Result result = document_.Save(ToPath(*file));
  Prompts::Report(this, result);
  UpdateTitle();
  return result.ok();
}

// ---- Tree commands ----

void TMainForm::DeleteSelected() {
  TNodo* node = SelectedNode();
  if (node == nullptr) return;
  // The node that takes the deleted one's place is selected next: the following sibling, else
  // the one before, else the parent.
  TNodo* parent = node->Parent();
  const std::size_t index = node->Index();
  const CommandResult result = document_.Delete(node);
  DocumentChanged(result);
  if (result.changed && parent != nullptr)
    SelectNode(index < parent->ChildCount() ? parent->Child(index)
               : index > 0                  ? parent->Child(index - 1)
                                            : parent);
  ActualizaBotones();
}

void TMainForm::NewDirectory() {
  TNodo* node = SelectedNode();
  if (node == nullptr) return;
  const std::optional<QString> name =
      Prompts::AskText(this, {Msg(row::kNewDirCaption), Msg(row::kNewDirPrompt) + QLatin1Char(' '),
                              Msg(row::kNewDirDefault)});
  if (!name) return;
  const CommandResult result = document_.NewDirectory(node, name->toStdString());
  DocumentChanged(result);
  ActualizaBotones();
}

void TMainForm::Extract(bool decompress) {
  TNodo* node = SelectedNode();
  if (node == nullptr) return;
  QString folder = Utf8(config_.settings.last_export_directory);
  const std::optional<QString> chosen = ChooseFolder(this, folder);
  config_.settings.last_export_directory = folder.toStdString();
  if (!chosen) return;
  CommandResult result;
  {
    LongOperation operation(*this);
    UiInteraction interaction(this, operation);
    result = document_.Extract(node, ToPath(*chosen), decompress, interaction);
  }
  ActualizaBotones();
  ReportCommand(result);
}

void TMainForm::Insert(bool compress) {
  TNodo* node = SelectedNode();
  if (node == nullptr) return;
  QString folder = Utf8(config_.settings.last_insert_directory);
  const std::optional<QStringList> files = ChooseFilesToInsert(this, folder);
  config_.settings.last_insert_directory = folder.toStdString();
  if (!files) return;
  std::vector<std::string> names;
  for (const QString& f : *files) names.push_back(QFileInfo(f).fileName().toStdString());
  CommandResult result;
  {
    LongOperation operation(*this);
    UiInteraction interaction(this, operation);
    result = document_.Insert(node, ToPath(folder), names, compress, interaction);
  }
  DocumentChanged(result);
  ActualizaBotones();
}

void TMainForm::OpenHexEditor(bool decompress) {
  TNodo* node = SelectedNode();
  if (node == nullptr || node->IsDirectory()) return;
  if (EditorOf(node) != nullptr) {
    AbreHijo(node);
    return;
  }
  if (const auto& factory = EditorRegistry::Hex())
    if (EditorChild* child = factory(*this, *node, decompress)) AddChild(child);
}

void TMainForm::ImportOrder() {
  if (!document_.IsOpen()) return;
  const std::optional<QString> file =
      ChooseOpenFile(this, QString(), row::kOrderFileFilter, Utf8(config_.settings.last_opened_directory));
  if (!file) return;
  CommandResult result;
  {
    LongOperation operation(*this);
    UiInteraction interaction(this, operation);
    result = document_.ImportOrder(ToPath(*file), interaction);
  }
  DocumentChanged(result);
  ActualizaBotones();
}

void TMainForm::ExportOrder() {
  if (!document_.IsOpen()) return;
  const std::optional<QString> file =
      ChooseSaveFile(this, QString(), row::kOrderFileFilter, QStringLiteral("def"),
                     Utf8(config_.settings.last_saved_directory));
  if (!file) return;
  CommandResult result;
  {
    LongOperation operation(*this);
    UiInteraction interaction(this, operation);
    result = document_.ExportOrder(ToPath(*file), interaction);
  }
  ActualizaBotones();
  ReportCommand(result);
}

// "Extrae lista de tipos de letra..." / "Inserta lista de tipos de letra...".
void TMainForm::FontList(bool export_list) {
  if (!document_.IsOpen()) return;
  const QString folder = Utf8(export_list ? config_.settings.last_saved_directory
                                          : config_.settings.last_opened_directory);
  const std::optional<QString> file =
      export_list ? ChooseSaveFile(this, QString(), font_rows::kFontListFilter,
                                   QStringLiteral("ini"), folder)
                  : ChooseOpenFile(this, QString(), font_rows::kFontListFilter, folder);
  if (!file) return;
  FontListResult list;
  {
    LongOperation operation(*this);
    UiInteraction interaction(this, operation);
    list = export_list ? document_.ExportFontList(ToPath(*file), interaction)
                       : document_.ImportFontList(ToPath(*file), interaction);
  }
  SetStatusText(QString());
  // An insertion may have replaced glyphs even where it stopped on a refusal.
  if (!export_list) CambioFuentes();
  CommandResult result;
  result.outcome = list.outcome;
  result.messages = list.messages;
  ReportCommand(result);
  UpdateTitle();
}

void TMainForm::ShowInformation() {
  if (!document_.IsOpen()) return;
  TForm19 window(document_.Information(), this);
  window.exec();
}

void TMainForm::ShowSearch() {
  if (!document_.IsOpen()) return;
  if (!search_window_) search_window_ = new TForm20(*this);
  search_window_->show();
  search_window_->raise();
  search_window_->activateWindow();
}

void TMainForm::ExtractAllCode() {
  if (!document_.IsOpen()) return;
  QString folder = Utf8(config_.settings.last_export_directory);
  const std::optional<QString> chosen = ChooseFolder(this, folder);
  config_.settings.last_export_directory = folder.toStdString();
  if (!chosen) return;
  CommandResult result;
  {
    LongOperation operation(*this);
    const CodeTables tables{Instructions(), config_.var_types, Messages()};
    result = ExtraeTodoElCodigo(document_, ToPath(*chosen), tables, [&operation](int percent) {
      return operation.Progress(Msg(row::kSaving), percent);
    });
  }
  ActualizaBotones();
  ReportCommand(result);
}

void TMainForm::ShowCompare() {
  TForm21 window(*this);
  window.exec();
}

void TMainForm::ShowAbout() {
  AboutDialog dialog(this);
  dialog.exec();
}

// ---- Closing ----

void TMainForm::closeEvent(QCloseEvent* event) {
  if (Busy()) {
    // Never leave in the middle of a long operation: ask it to stop instead.
    RequestCancel();
    event->ignore();
    return;
  }
  if (document_.Modified()) {
    const Answer answer = Prompts::YesNoCancel(this, Msg(row::kSaveBeforeExit));
    // A save that did not happen keeps the program open: changes are never lost silently.
    if (answer == Answer::Cancel || (answer == Answer::Yes && !SaveAs())) {
      event->ignore();
      return;
    }
  }
  mdi_area_->closeAllSubWindows();
  if (!mdi_area_->subWindowList().isEmpty()) {
    event->ignore();
    return;
  }
  if (search_window_) search_window_->close();
  document_.Close();
  TreeChanged();
  // The configuration is written back only when INIs/Corvane.ini exists.
  CollectSettings();
  Prompts::Report(this, GuardaConfiguracion(inis_folder_, config_));
  event->accept();
}

}  // namespace corvane::ui
