#include "tree_view.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QScrollBar>

#include "tree_model.h"

namespace corvane::ui {

FirmwareTreeView::FirmwareTreeView(QWidget* parent) : QTreeView(parent) {
  setHeaderHidden(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(true);
  setDragDropMode(QAbstractItemView::DragDrop);
  setDefaultDropAction(Qt::MoveAction);
  // The view scrolls by itself only where a drop would be accepted (dragMoveEvent).
  setAutoScroll(false);
  setExpandsOnDoubleClick(true);
}

void FirmwareTreeView::SetModel(FirmwareTreeModel* model) {
  model_ = model;
  setModel(model);
}

TNodo* FirmwareTreeView::SelectedNode() const {
  if (model_ == nullptr || selectionModel() == nullptr) return nullptr;
  const QModelIndexList rows = selectionModel()->selectedIndexes();
  return rows.isEmpty() ? nullptr : model_->NodeAt(rows.front());
}

void FirmwareTreeView::SelectNode(const TNodo* node) {
  if (model_ == nullptr) return;
  const QModelIndex index = model_->IndexOf(node);
  if (!index.isValid()) {
    selectionModel()->clearSelection();
    return;
  }
  scrollTo(index);
  selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
}

void FirmwareTreeView::mouseReleaseEvent(QMouseEvent* event) {
  QTreeView::mouseReleaseEvent(event);
  emit SelectionTouched();
}

void FirmwareTreeView::keyReleaseEvent(QKeyEvent* event) {
  QTreeView::keyReleaseEvent(event);
  emit SelectionTouched();
}

void FirmwareTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
  QTreeView::mouseDoubleClickEvent(event);
  if (TNodo* node = model_ ? model_->NodeAt(indexAt(event->position().toPoint())) : nullptr)
    emit NodeOpened(node);
}

bool FirmwareTreeView::Accepts(const QDropEvent* event, TNodo** dragged, TNodo** target) const {
  if (model_ == nullptr || !IsOwnDrag(event->mimeData())) return false;
  *dragged = SelectedNode();
  *target = model_->NodeAt(indexAt(event->position().toPoint()));
  return *dragged != nullptr && *target != nullptr && can_drop && can_drop(**dragged, **target);
}

bool FirmwareTreeView::IsOwnDrag(const QMimeData* mime) const {
  const QString format = QString::fromLatin1(FirmwareTreeModel::kMimeType);
  return model_ != nullptr && mime != nullptr && mime->hasFormat(format) &&
         mime->data(format) == model_->DragToken();
}

void FirmwareTreeView::dragEnterEvent(QDragEnterEvent* event) {
  if (IsOwnDrag(event->mimeData())) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void FirmwareTreeView::dragMoveEvent(QDragMoveEvent* event) {
  TNodo* dragged = nullptr;
  TNodo* target = nullptr;
  if (!Accepts(event, &dragged, &target)) {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::MoveAction);
  event->accept();
  const int y = event->position().toPoint().y();
  QScrollBar* bar = verticalScrollBar();
  if (y > viewport()->height() - kScrollMargin) {
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  } else if (y < kScrollMargin) {
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
  }
}

void FirmwareTreeView::dropEvent(QDropEvent* event) {
  TNodo* dragged = nullptr;
  TNodo* target = nullptr;
  if (!Accepts(event, &dragged, &target)) {
    event->ignore();
    return;
  }
  // A copy action keeps the base view from removing the dragged rows itself: the move is ours.
  event->setDropAction(Qt::CopyAction);
  event->accept();
  if (drop) drop(*dragged, *target);
}

}  // namespace corvane::ui
