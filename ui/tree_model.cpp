#include "tree_model.h"

#include <QCoreApplication>
#include <QMimeData>

#include "icons.h"
#include "ui_text.h"

namespace corvane::ui {

const char* const FirmwareTreeModel::kMimeType = "application/x-corvane-tree-node";

FirmwareTreeModel::FirmwareTreeModel(QObject* parent) : QAbstractItemModel(parent) {}
FirmwareTreeModel::~FirmwareTreeModel() = default;

void FirmwareTreeModel::SetTree(const TArbol* tree) {
  tree_ = tree;
  Sync();
}

void FirmwareTreeModel::Mirror(const TNodo& node, Item& item) {
  item.node = const_cast<TNodo*>(&node);
  item.text = NodeName(node.Text, node.Parent() == nullptr);
  item.editable = can_rename && can_rename(node);
  item.image = node.IsDirectory() ? 0 : node.ImageIndex;
  item.children.clear();
  // Iterative over the depth too: a crafted tree may be deep.
  struct Pending {
    const TNodo* node;
    Item* item;
  };
  std::vector<Pending> stack{{&node, &item}};
  while (!stack.empty()) {
    const Pending p = stack.back();
    stack.pop_back();
    p.item->children.reserve(p.node->ChildCount());
    for (std::size_t i = 0; i < p.node->ChildCount(); ++i) {
      const TNodo* child = p.node->Child(i);
      auto c = std::make_unique<Item>();
      c->node = const_cast<TNodo*>(child);
      c->text = NodeName(child->Text);
      c->editable = can_rename && can_rename(*child);
      c->image = child->IsDirectory() ? 0 : child->ImageIndex;
      c->parent = p.item;
      c->row = static_cast<int>(i);
      stack.push_back({child, c.get()});
      p.item->children.push_back(std::move(c));
    }
  }
}

void FirmwareTreeModel::Sync() {
  beginResetModel();
  holder_.children.clear();
  if (tree_ != nullptr) {
    for (std::size_t i = 0; i < tree_->TopCount(); ++i) {
      auto top = std::make_unique<Item>();
      Mirror(*tree_->Top(i), *top);
      top->parent = &holder_;
      top->row = static_cast<int>(i);
      holder_.children.push_back(std::move(top));
    }
  }
  endResetModel();
}

FirmwareTreeModel::Item* FirmwareTreeModel::ItemAt(const QModelIndex& index) const {
  if (!index.isValid()) return const_cast<Item*>(&holder_);
  return static_cast<Item*>(index.internalPointer());
}

QModelIndex FirmwareTreeModel::IndexOfItem(const Item* item) const {
  if (item == nullptr || item == &holder_) return {};
  return createIndex(item->row, 0, const_cast<Item*>(item));
}

TNodo* FirmwareTreeModel::NodeAt(const QModelIndex& index) const {
  return index.isValid() ? ItemAt(index)->node : nullptr;
}

QModelIndex FirmwareTreeModel::IndexOf(const TNodo* node) const {
  if (node == nullptr) return {};
  // The chain of positions from the top level down to the node.
  std::vector<std::size_t> rows;
  for (const TNodo* n = node; n != nullptr; n = n->Parent()) rows.push_back(n->Index());
  const Item* item = &holder_;
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
    if (*it >= item->children.size()) return {};
    item = item->children[*it].get();
  }
  return item->node == node ? IndexOfItem(item) : QModelIndex();
}

QModelIndex FirmwareTreeModel::index(int row, int column, const QModelIndex& parent) const {
  const Item* p = ItemAt(parent);
  if (column != 0 || row < 0 || static_cast<std::size_t>(row) >= p->children.size()) return {};
  return IndexOfItem(p->children[static_cast<std::size_t>(row)].get());
}

QModelIndex FirmwareTreeModel::parent(const QModelIndex& index) const {
  if (!index.isValid()) return {};
  return IndexOfItem(ItemAt(index)->parent);
}

int FirmwareTreeModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() && parent.column() != 0) return 0;
  return static_cast<int>(ItemAt(parent)->children.size());
}

int FirmwareTreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant FirmwareTreeModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const Item* item = ItemAt(index);
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return item->text;
    case Qt::DecorationRole:
      return NodeIcon(item->image);
    default:
      return {};
  }
}

bool FirmwareTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole || !rename) return false;
  Item* item = ItemAt(index);
  if (!rename(*item->node, value.toString())) return false;
  item->text = NodeName(item->node->Text, item->node->Parent() == nullptr);
  item->image = item->node->IsDirectory() ? 0 : item->node->ImageIndex;
  emit dataChanged(index, index);
  return true;
}

Qt::ItemFlags FirmwareTreeModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::ItemIsDropEnabled;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled |
                    Qt::ItemIsDropEnabled;
  if (ItemAt(index)->editable) f |= Qt::ItemIsEditable;
  return f;
}

Qt::DropActions FirmwareTreeModel::supportedDragActions() const { return Qt::MoveAction; }
Qt::DropActions FirmwareTreeModel::supportedDropActions() const { return Qt::MoveAction; }

QStringList FirmwareTreeModel::mimeTypes() const { return {QString::fromLatin1(kMimeType)}; }

QByteArray FirmwareTreeModel::DragToken() const {
  return QByteArray::number(QCoreApplication::applicationPid()) + ':' +
         QByteArray::number(reinterpret_cast<quintptr>(this));
}

QMimeData* FirmwareTreeModel::mimeData(const QModelIndexList&) const {
  // The drop takes the dragged node from the view's selection; the data names the process and
  // the model, so that only a drag that started in this tree is ever accepted.
  auto* mime = new QMimeData;
  mime->setData(QString::fromLatin1(kMimeType), DragToken());
  return mime;
}

}  // namespace corvane::ui
