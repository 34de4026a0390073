// The main window (TMainForm): an MDI frame with the toolbar, the five menus, the status bar and
// the tree of the opened firmware. It turns commands into operations of the document layer and
// shows their results; it holds no rules of its own.
#pragma once

#include <QMainWindow>
#include <array>
#include <memory>

#include "firmware/tree.h"

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

namespace corvane {
class TFirmware;
}

namespace corvane::ui {

class EditorChild;
class FirmwareTreeModel;
class FirmwareTreeView;

// Every command of the toolbar and the menus.
enum class Command {
  Open,
  Save,
  Exit,
  Delete,
  NewDirectory,
  ExtractDecompressed,
  InsertCompressed,
  ExtractRaw,
  InsertRaw,
  FontEditor,
  FontListImport,
  FontListExport,
  HexDecompressed,
  HexRaw,
  ImportOrder,
  ExportOrder,
  Information,
  Search,
  ExportCode,
  Compare,
  About,
  kCount
};

// The check items under "&Configuración".
enum class Option {
  LengthTableFirst,   // "T&abla de longitudes al principio"
  UseExternalFonts,   // "&Usar archivos externos"
  Limit183Widgets,    // "No guardar paneles con mas de 183 elementos"
  LowercaseFiles,     // "Cambiar a minusculas cuando se importan archivos"
  OpenSearchResults,  // "Abrir resultados de busqueda automáticamente"
  CompressWhenInsert, // "Comprimir insertando archivos desde *.def o *.glu"
  kCount
};

// The "&Ventana" menu's own items.
enum class WindowCommand { Cascade, MinimizeAll, RestoreAll, CloseAll, kCount };

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  QMdiArea* MdiArea() const { return mdi_area_; }
  FirmwareTreeView* TreeView() const { return tree_view_; }
  QAction* Action(Command command) const;
  QAction* OptionAction(Option option) const;
  bool OptionChecked(Option option) const;
  QAction* WindowAction(WindowCommand command) const;
  QMenu* WindowMenu() const { return window_menu_; }
  QString StatusText() const;
  void SetStatusText(const QString& text);

  // The open firmware (nullptr before the first open) and its tree.
  TFirmware* Firmware() const { return firmware_.get(); }
  TArbol& Tree() const { return *tree_; }
  TNodo* SelectedNode() const;
  void SelectNode(const TNodo* node);

  bool FirmwareModificado() const { return modified_; }
  void SetFirmwareModificado(bool modified);

  // Opens (or brings forward) the editor of a node; a node without an editor opens nothing.
  void AbreHijo(TNodo* node);
  // The editor child that holds this node, if any.
  EditorChild* EditorOf(const TNodo* node) const;
  // True when an editor child holds this node or a node below it.
  bool NodeInUse(const TNodo* node) const;
  // Adds an editor child to the MDI area and shows it.
  QMdiSubWindow* AddChild(EditorChild* child);

  // The tree changed structurally (or its texts did): rebuild the view, keep the selection.
  void TreeChanged();

  // A long operation runs (see LongOperation): commands are disabled and Cancel is offered.
  void BeginBusy();
  void EndBusy();
  bool Busy() const { return busy_depth_ > 0; }
  bool CancelRequested() const { return cancel_requested_; }
  void RequestCancel();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildActions();
  void BuildMenus();
  void BuildToolBar();
  void ApplyDefaultCaptions();
  void UpdateWindowMenu();
  void UpdateTitle();

  void OnAbout();

  QMdiArea* mdi_area_;
  QSplitter* splitter_;
  FirmwareTreeView* tree_view_;
  FirmwareTreeModel* tree_model_;
  QToolBar* tool_bar_ = nullptr;
  QLabel* status_label_;
  QPushButton* cancel_button_;
  QShortcut* cancel_shortcut_ = nullptr;

  std::array<QAction*, static_cast<std::size_t>(Command::kCount)> actions_{};
  std::array<QAction*, static_cast<std::size_t>(Option::kCount)> options_{};
  std::array<QAction*, static_cast<std::size_t>(WindowCommand::kCount)> window_actions_{};
  std::array<QAction*, 9> language_slots_{};
  QActionGroup* language_group_ = nullptr;
  QMenu* file_menu_ = nullptr;
  QMenu* edit_menu_ = nullptr;
  QMenu* config_menu_ = nullptr;
  QMenu* fonts_menu_ = nullptr;
  QMenu* language_menu_ = nullptr;
  QMenu* window_menu_ = nullptr;
  QMenu* help_menu_ = nullptr;

  std::unique_ptr<TArbol> tree_;
  std::unique_ptr<TFirmware> firmware_;
  bool modified_ = false;
  int busy_depth_ = 0;
  bool cancel_requested_ = false;
};

}  // namespace corvane::ui
