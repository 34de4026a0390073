// What the script, class and application editors share: the caption, the centred "OK" /
// "Cancelar" row, and an undo step that swaps a window's whole state.
#pragma once

#include <QString>
#include <QUndoCommand>

#include "firmware/tree.h"

class QHBoxLayout;

namespace corvane::ui {

class ResourceEditor;

// The title row, " - ", the parent's name, ":" and the node's name.
QString CodeEditorCaption(int title_row, const TNodo& node);

// A row with the window's "OK" and "Cancelar" centred.
QHBoxLayout* CentredButtons(const ResourceEditor& editor);

// One edit of a window whose state is small enough to keep whole: redo shows `after`, undo
// `before` (Window::Apply(const Window::State&)).
template <typename Window>
class StateEdit : public QUndoCommand {
 public:
  using State = typename Window::State;
  StateEdit(Window& window, State before, State after)
      : window_(window), before_(std::move(before)), after_(std::move(after)) {}
  void redo() override { window_.Apply(after_); }
  void undo() override { window_.Apply(before_); }

 private:
  Window& window_;
  State before_, after_;
};

}  // namespace corvane::ui
