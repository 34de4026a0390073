// The tree view of the main window (HETreeView1): in-place rename, drag and drop of the selected
// node with the drop rules of the window, and scrolling near the edges while dragging.
#pragma once

#include <QTreeView>

class QMimeData;
#include <functional>

#include "firmware/tree.h"

namespace corvane::ui {

class FirmwareTreeModel;

// The main window's tree view: rename in place, drag and drop, edge scrolling.
class FirmwareTreeView : public QTreeView {
  Q_OBJECT

 public:
  explicit FirmwareTreeView(QWidget* parent = nullptr);

  void SetModel(FirmwareTreeModel* model);
  FirmwareTreeModel* Model() const { return model_; }

  TNodo* SelectedNode() const;
  void SelectNode(const TNodo* node);

  // Drop rules and the move itself, given the dragged (selected) node and the node under the
  // pointer. Set by the window.
  std::function<bool(const TNodo& dragged, const TNodo& target)> can_drop;
  std::function<void(TNodo& dragged, TNodo& target)> drop;

  // Pixels from the top or bottom edge within which a drag scrolls the view.
  static constexpr int kScrollMargin = 20;

 signals:
  // A click or a released key: the window updates its commands.
  void SelectionTouched();
  // Double click on a node.
  void NodeOpened(corvane::TNodo* node);

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // A drag that started in this tree (the only kind accepted).
  bool IsOwnDrag(const QMimeData* mime) const;
  // The dragged and target nodes of a drag event; false when the drop is refused.
  bool Accepts(const QDropEvent* event, TNodo** dragged, TNodo** target) const;

  FirmwareTreeModel* model_ = nullptr;
};

}  // namespace corvane::ui
