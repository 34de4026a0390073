// The firmware tree as an item model: a mirror of the core's TArbol (texts, icons, whether a node
// may be renamed, and node identities). The view only ever reads the mirror, so it may repaint
// safely while a command is changing the tree (a question box of an insertion); the window calls
// Sync after every command that changed the tree.
#pragma once

#include <QAbstractItemModel>
#include <functional>
#include <memory>
#include <vector>

#include "firmware/tree.h"

namespace corvane::ui {

// The item model of the firmware tree: a mirror of the core's tree.
class FirmwareTreeModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  explicit FirmwareTreeModel(QObject* parent = nullptr);
  ~FirmwareTreeModel() override;

  // The tree to mirror (nullptr: empty); rebuilds the mirror.
  void SetTree(const TArbol* tree);
  // Rebuilds the mirror from the tree after a structural change.
  void Sync();

  TNodo* NodeAt(const QModelIndex& index) const;
  QModelIndex IndexOf(const TNodo* node) const;

  // In-place rename: whether a node may be edited, and the rename itself (true when the node
  // took the new text). Set by the window.
  std::function<bool(const TNodo&)> can_rename;
  std::function<bool(TNodo&, const QString&)> rename;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& index) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  Qt::DropActions supportedDragActions() const override;
  Qt::DropActions supportedDropActions() const override;
  QStringList mimeTypes() const override;
  QMimeData* mimeData(const QModelIndexList& indexes) const override;

  static const char* const kMimeType;
  // What a drag that started in this model carries.
  QByteArray DragToken() const;

 private:
  struct Item {
    TNodo* node = nullptr;
    QString text;
    int image = 0;
    bool editable = false;  // an in-place edit may start (asked when the mirror was built)
    Item* parent = nullptr;
    int row = 0;
    std::vector<std::unique_ptr<Item>> children;
  };

  void Mirror(const TNodo& node, Item& item);
  Item* ItemAt(const QModelIndex& index) const;
  QModelIndex IndexOfItem(const Item* item) const;

  const TArbol* tree_ = nullptr;
  Item holder_;
};

}  // namespace corvane::ui
