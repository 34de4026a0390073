// The hex editor window (TForm7): the bytes of one file of the firmware in the grid, with or
// without decompression, written back into the file's node by "OK" (GuardarDatos).
#pragma once

#include <QPointer>
#include <array>

#include "editor_registry.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;

namespace corvane::ui {

class THexEditor;
class TForm8;

// MDI child editing one node's bytes as a hexadecimal grid.
class TForm7 : public EditorChild {
  Q_OBJECT

 public:
  // The window's commands, for the menu and for tests.
  enum class Command {
    Import, Export, CloseWithoutSaving, Undo, Redo, Copy, Cut, Paste, Delete, SelectAll,
    FindText, FindHex, GoToOffset, InsertMode, SelectFont, Count
  };

  static constexpr int kMinWidth = 601;
  static constexpr int kMinHeight = 401;

  TForm7(TMainForm& main, TNodo& node, bool decompress);
  ~TForm7() override;

  void CambiaIdioma() override;
  // Writes the grid's bytes into the node (compressed when the window decompressed them) and
  // marks the firmware changed. Refused (false, with a message) for empty data.
  bool GuardarDatos();

  THexEditor* Grid() const { return grid_; }
  TForm8* SearchDialog() const { return search_; }
  QAction* Action(Command command) const { return actions_[static_cast<std::size_t>(command)]; }
  QAction* BytesPerLineItem(int bytes) const;  // 12..32
  QAction* ColumnWidthItem(int bytes) const;   // 1, 2, 4
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }
  bool Changed() const { return changed_; }
  bool Decompressed() const { return decompress_; }
  // The status panel's texts: position, big-endian value, little-endian value, mode, inspector.
  QString StatusLine() const;
  QString InspectorLine() const;

  // "Go to offset" with the offset typed (hexadecimal); false with a message when outside.
  bool GoToOffset(const QString& text);
  // Closes the window with its frame (the close question applies).
  void CloseWindow();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildMenus();
  void RefreshStatus(bool user_acted);
  void Import();
  void Export();
  void AskOffset();
  void StoreSettings();

  bool decompress_;
  bool changed_ = false;
  bool sized_ = false;
  THexEditor* grid_;
  TForm8* search_;
  QMenuBar* menu_bar_;
  std::array<QMenu*, 5> menus_{};  // file, edit, configuration, bytes per line, column width
  std::array<QAction*, static_cast<std::size_t>(Command::Count)> actions_{};
  QActionGroup* bytes_per_line_group_;
  QActionGroup* column_group_;
  QLabel* position_;
  QLabel* value_be_;
  QLabel* value_le_;
  QLabel* mode_;
  QLabel* inspector_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

// Makes the main window's two hex-editor commands open TForm7.
void RegisterHexEditor();

}  // namespace corvane::ui
