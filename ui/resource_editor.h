// The common frame of the editors with "OK" and "Cancelar": a changed flag, an undo stack for the
// edits, the close question "¿ Guardar los cambios ?", and the Edit menu's undo/redo commands.
#pragma once

#include "editor_registry.h"

class QAction;
class QCloseEvent;
class QMenu;
class QPushButton;
class QUndoCommand;
class QUndoStack;

namespace corvane::ui {

// An editor child whose edits stay in the window until "OK" writes them (GuardaDatos).
class ResourceEditor : public EditorChild {
  Q_OBJECT

 public:
  ResourceEditor(TMainForm& main, TNodo& node, QWidget* parent = nullptr);
  ~ResourceEditor() override;

  // Writes the window's edits into the node and tells the main window what changed. False (after
  // showing why) when the edits cannot be written: the window then stays open.
  virtual bool GuardaDatos() = 0;

  // True after an edit that "OK" has not written yet: a change made without the undo stack, or
  // an undo stack away from where it was last written.
  bool Changed() const;
  void SetChanged(bool changed = true);

  QUndoStack* UndoStack() const { return undo_stack_; }
  // Does the edit and keeps it for undo (the stack takes the command).
  void Push(QUndoCommand* command);

  // "OK": GuardaDatos, then the window closes without a question.
  void Accept();
  // "Cancelar" and the close box: closes the window through its frame (the question applies).
  void CloseWindow();

  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }
  QAction* UndoAction() const { return undo_; }
  QAction* RedoAction() const { return redo_; }

  // Relabels "OK", "Cancelar" and the undo commands; windows call it from their CambiaIdioma.
  void CambiaIdioma() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Puts the undo and redo commands (Ctrl+Z, Ctrl+Y) into a window's Edit menu.
  void AddUndoCommands(QMenu* edit_menu);

 private:
  QUndoStack* undo_stack_;
  QPushButton* ok_;
  QPushButton* cancel_;
  QAction* undo_;
  QAction* redo_;
  bool changed_ = false;
};

}  // namespace corvane::ui
