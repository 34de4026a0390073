// The main window (TMainForm): an MDI frame with the toolbar, the five menus, the status bar and
// the tree of the opened firmware. It turns commands into operations of the document layer and
// shows their results; the rules live in the document layer.
#pragma once

#include <QMainWindow>
#include <array>
#include <filesystem>
#include <map>
#include <memory>
#include <vector>

#include "config/configuration.h"
#include "document/document.h"

class QAction;
class QActionGroup;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPushButton;
class QShortcut;
class QSplitter;
class QToolBar;
class QTranslator;

namespace corvane::ui {

class EditorChild;
class FirmwareTreeModel;
class FirmwareTreeView;
class TForm20;

// The main window: menus, toolbar, tree and editor children of the open firmware.
class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  // "Extrae lista de tipos de letra..." (true) / "Inserta lista de tipos de letra...".
  void FontList(bool export_list);
  // Reads the configuration from the INIs folder (InisFolder(): CORVANE_INIS or the program's).
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  // Commands, option items and "Ventana" items by the item their texts label.
  QAction* Action(MainWindowItem item) const;
  QMenu* Menu(MainWindowItem item) const;
  QAction* LanguageSlot(int slot) const;  // 1..9
  QToolBar* ToolBar() const { return tool_bar_; }
  QMdiArea* MdiArea() const { return mdi_area_; }
  FirmwareTreeView* TreeView() const { return tree_view_; }
  TForm20* Search() const { return search_window_; }
  QString StatusText() const;
  void SetStatusText(const QString& text);

  Document& Doc() { return document_; }
  Configuration& Config() { return config_; }
  const Configuration& Config() const { return config_; }
  const std::filesystem::path& InisFolder() const { return inis_folder_; }
  bool OptionChecked(MainWindowItem option) const;

  TNodo* SelectedNode() const;
  void SelectNode(const TNodo* node);

  bool FirmwareModificado() const { return document_.Modified(); }
  // An editor wrote into a node: the document is changed, the title says so and the other open
  // editors hear of it (NodeWrittenElsewhere).
  void NodeWritten(TNodo* node);
  // Passed to every open editor: a palette ("parent:name"), an image ("parent:name") or an icon
  // collection (its file name) was written, or the font set was replaced.
  void CambioColorPaleta(const QString& palette);
  void CambioImagen(const QString& image);
  void CambioIcono(const QString& collection);
  void CambioFuentes();
  // The open editor children, in window order.
  std::vector<EditorChild*> Editors() const;

  // Opens a file at start (command line): model 1..27, or 0 to detect it.
  bool OpenFile(const QString& path, int model);
  // Takes a firmware loaded elsewhere (its Tree must be `tree`) as the open document.
  void OpenDocument(std::unique_ptr<TFirmware> firmware, std::unique_ptr<TArbol> tree);

  // The selection update (ActualizaBotones): commands and status text for the selected node.
  void ActualizaBotones();
  // Loads language slot 0..9 and relabels the window and every open child (CambiaIdioma).
  void CargaIdioma(int slot);

  // Opens (or brings forward) the editor of a node; a node without an editor opens nothing.
  void AbreHijo(TNodo* node);
  EditorChild* EditorOf(const TNodo* node) const;
  // True when an editor child holds this node or a node below it.
  bool NodeInUse(const TNodo* node) const;
  QMdiSubWindow* AddChild(EditorChild* child);

  // The tree changed: rebuild the view, keep the open branches and the selection.
  void TreeChanged();

  // A long operation runs (see LongOperation): commands are disabled and Cancel is offered.
  void BeginBusy();
  void EndBusy();
  bool Busy() const { return busy_depth_ > 0; }
  bool CancelRequested() const { return cancel_requested_; }
  void RequestCancel();

  // The commands (menu items and toolbar buttons run the same handler).
  void ChooseAndOpen();
  bool SaveAs();  // true when saved
  void DeleteSelected();
  void NewDirectory();
  void Extract(bool decompress);
  void Insert(bool compress);
  void OpenHexEditor(bool decompress);
  void ImportOrder();
  void ExportOrder();
  void ShowInformation();
  void ShowSearch();
  void ExtractAllCode();
  void ShowCompare();
  void ShowAbout();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildCommands();
  void BuildOptions();
  void ApplyLanguageTexts();
  void ApplyStates(const CommandStates& states);
  void ApplySettings();
  void CollectSettings();
  void UpdateWindowMenu();
  void UpdateTitle();
  void AfterOpen();
  // The states of the commands while nothing is selected.
  CommandStates StatesWithoutSelection() const;
  // Error boxes of a command, then its notes.
  void ReportCommand(const CommandResult& result);
  void DocumentChanged(const CommandResult& result);
  QMenu* AddMenu(MainWindowItem item, QMenu* parent);
  // Loads Qt's own translations (dialog buttons and labels) for the language in use.
  void LoadQtTranslations();

  QMdiArea* mdi_area_;
  QSplitter* splitter_;
  FirmwareTreeView* tree_view_;
  FirmwareTreeModel* tree_model_;
  QToolBar* tool_bar_ = nullptr;
  QLabel* status_label_;
  QPushButton* cancel_button_;
  QShortcut* cancel_shortcut_ = nullptr;
  TForm20* search_window_ = nullptr;

  std::map<MainWindowItem, QAction*> actions_;
  std::map<MainWindowItem, QMenu*> menus_;
  std::array<QAction*, kLanguageSlots> language_slots_{};
  QActionGroup* language_group_ = nullptr;
  QTranslator* qt_translator_ = nullptr;

  Document document_;
  Configuration config_;
  std::filesystem::path inis_folder_;
  CommandStates states_ = CommandsWithoutFirmware();
  int busy_depth_ = 0;
  bool cancel_requested_ = false;
};

}  // namespace corvane::ui
