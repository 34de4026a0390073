#include "resource_editor.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QUndoStack>

#include "base/message_rows.h"
#include "prompts.h"
#include "ui_text.h"

namespace corvane::ui {

namespace {
constexpr int kUndoRow = 89;   // "&Deshacer"
constexpr int kRedoRow = 623;  // "&Rehacer"
}  // namespace

ResourceEditor::ResourceEditor(TMainForm& main, TNodo& node, QWidget* parent)
    : EditorChild(main, node, parent),
      undo_stack_(new QUndoStack(this)),
      ok_(new QPushButton(this)),
      cancel_(new QPushButton(this)),
      undo_(new QAction(this)),
      redo_(new QAction(this)) {
  // Own actions rather than the stack's: their texts are rows of the message table.
  undo_->setEnabled(false);
  redo_->setEnabled(false);
  connect(undo_, &QAction::triggered, undo_stack_, &QUndoStack::undo);
  connect(redo_, &QAction::triggered, undo_stack_, &QUndoStack::redo);
  connect(undo_stack_, &QUndoStack::canUndoChanged, undo_, &QAction::setEnabled);
  connect(undo_stack_, &QUndoStack::canRedoChanged, redo_, &QAction::setEnabled);
  undo_->setShortcut(QKeySequence::Undo);
  redo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
  // The shortcuts work inside the window even when it has no menu bar.
  undo_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  redo_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  addAction(undo_);
  addAction(redo_);
  connect(ok_, &QPushButton::clicked, this, &ResourceEditor::Accept);
  connect(cancel_, &QPushButton::clicked, this, &ResourceEditor::CloseWindow);
  ResourceEditor::CambiaIdioma();
}

ResourceEditor::~ResourceEditor() = default;

bool ResourceEditor::Changed() const { return changed_ || !undo_stack_->isClean(); }

void ResourceEditor::SetChanged(bool changed) {
  changed_ = changed;
  if (!changed) undo_stack_->setClean();
}

void ResourceEditor::Push(QUndoCommand* command) { undo_stack_->push(command); }

void ResourceEditor::Accept() {
  if (!GuardaDatos()) return;
  SetChanged(false);
  CloseWindow();
}

void ResourceEditor::CloseWindow() {
  // The MDI frame asks this window (closeEvent) before it goes.
  if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
    frame->close();
  } else {
    close();
  }
}

void ResourceEditor::CambiaIdioma() {
  ok_->setText(Msg(rows::kOk));
  cancel_->setText(Msg(rows::kCancel));
  undo_->setText(Msg(kUndoRow));
  redo_->setText(Msg(kRedoRow));
}

void ResourceEditor::AddUndoCommands(QMenu* edit_menu) {
  edit_menu->addAction(undo_);
  edit_menu->addAction(redo_);
}

void ResourceEditor::closeEvent(QCloseEvent* event) {
  if (Changed()) {
    switch (Prompts::YesNoCancel(this, Msg(rows::kSaveChanges))) {
      case Answer::Yes:
        if (!GuardaDatos()) {
          event->ignore();
          return;
        }
        SetChanged(false);
        break;
      case Answer::No:
        break;
      default:
        event->ignore();
        return;
    }
  }
  event->accept();
}

}  // namespace corvane::ui
