// An undoable edit kept as the state before and after it: redo applies the one, undo the other.
#pragma once

#include <QUndoCommand>
#include <functional>
#include <utility>

namespace corvane::ui {

template <typename State>
class SnapshotCommand : public QUndoCommand {
 public:
  SnapshotCommand(State before, State after, std::function<void(const State&)> apply)
      : before_(std::move(before)), after_(std::move(after)), apply_(std::move(apply)) {}
  void redo() override { apply_(after_); }
  void undo() override { apply_(before_); }

 private:
  State before_;
  State after_;
  std::function<void(const State&)> apply_;
};

}  // namespace corvane::ui
