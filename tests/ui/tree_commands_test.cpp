// The tree commands driven through the real window on the demo and on a patch: which commands
// the selection enables, renaming in place, drag and drop, delete and new directory.
#include <QAction>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollBar>
#include <QtTest>

#include "main_window.h"
#include "tree_model.h"
#include "tree_view.h"
#include "ui_test_support.h"

using namespace corvane;
using namespace corvane::ui;
using namespace corvane::ui::test;
using Item = MainWindowItem;

namespace {

struct Enabled {
  bool delete_node, new_directory, hex, insert, extract;
};

Enabled StatesOf(TMainForm& form) {
  return {form.Action(Item::DeleteNode)->isEnabled(), form.Action(Item::NewDirectory)->isEnabled(),
          form.Action(Item::HexEditorDecompressed)->isEnabled() &&
              form.Action(Item::HexEditorRaw)->isEnabled(),
          form.Action(Item::InsertCompressed)->isEnabled(),
          form.Action(Item::ExtractDecompressed)->isEnabled()};
}

// Renames through the in-place editor, as a user typing and pressing Enter.
void TypeNewName(TMainForm& form, TNodo* node, const QString& text) {
  FirmwareTreeView* view = form.TreeView();
  const QModelIndex index = view->Model()->IndexOf(node);
  view->setCurrentIndex(index);
  view->edit(index);
  auto* editor = view->viewport()->findChild<QLineEdit*>();
  QVERIFY(editor != nullptr);
  editor->setText(text);
  QTest::keyClick(editor, Qt::Key_Return);
  QCoreApplication::processEvents();
}

// A drag entering the tree and moving to `at`; true when the view accepts a drop there.
bool DragMoveTo(FirmwareTreeView* view, const QMimeData* mime, QPoint at) {
  QDragEnterEvent enter(at, Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view->viewport(), &enter);
  QDragMoveEvent move(at, Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view->viewport(), &move);
  return move.isAccepted();
}

// A drag of the selected node over `target`, then (when `drop`) the drop.
bool DragOnto(TMainForm& form, TNodo* dragged, TNodo* target, bool drop) {
  FirmwareTreeView* view = form.TreeView();
  form.SelectNode(dragged);
  const QModelIndex t = view->Model()->IndexOf(target);
  view->scrollTo(t);
  const QPoint at = view->visualRect(t).center();
  std::unique_ptr<QMimeData> mime(view->Model()->mimeData({view->Model()->IndexOf(dragged)}));
  const bool accepted = DragMoveTo(view, mime.get(), at);
  if (drop && accepted) {
    QDropEvent event(QPointF(at), Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &event);
  }
  return accepted;
}

}  // namespace

class TreeCommandsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<DemoWindow> w_;

  void OpenDemo() { QVERIFY(w_->Open()); }

 private slots:
  void init() { w_ = std::make_unique<DemoWindow>(); }
  void cleanup() { w_.reset(); }

  void OpenShowsTheDemoTree() {
    OpenDemo();
    TNodo* root = w_->form.Doc().Root();
    QCOMPARE(root->Text, std::string("demo.bin"));
    QStringList dirs;
    for (TNodo* c : root->Children()) dirs << QString::fromStdString(c->Text);
    QCOMPARE(dirs, (QStringList{"boot", "panels", "texts", "code", "extra", "void"}));
    QCOMPARE(w_->form.TreeView()->Model()->rowCount(w_->form.TreeView()->Model()->IndexOf(root)), 6);
    QVERIFY(w_->form.windowTitle().startsWith(QStringLiteral("demo.bin")));
    // Right after opening: nothing selected, node commands wait, firmware commands act.
    QVERIFY(w_->form.Action(Item::SaveAs)->isEnabled());
    QVERIFY(!w_->form.Action(Item::DeleteNode)->isEnabled());
    QVERIFY(w_->form.Action(Item::Information)->isEnabled());
    QVERIFY(w_->form.Action(Item::ImportFileOrder)->isEnabled());
    QVERIFY(w_->form.Action(Item::FontEditor)->isEnabled());  // model 2 carries fonts
    // The open dialog offered "detect the model" and the 27 models, model 1 preselected.
    QCOMPARE(w_->user.file_requests.front().filters.size(), 28);
    QCOMPARE(w_->user.file_requests.front().filter_index, 1);  // LastFirmwareTypeOpened
  }

  void SelectionEnablesCommandsOfFirmwareModels_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("delete_node");
    QTest::addColumn<bool>("new_directory");
    QTest::addColumn<bool>("hex");
    QTest::newRow("root") << "" << false << false << false;
    QTest::newRow("directory") << "boot" << true << true << false;
    QTest::newRow("empty directory") << "void" << true << true << false;
    QTest::newRow("file") << "boot/menu.cpi" << true << false << true;
  }
  void SelectionEnablesCommandsOfFirmwareModels() {
    QFETCH(QString, path);
    QFETCH(bool, delete_node);
    QFETCH(bool, new_directory);
    QFETCH(bool, hex);
    OpenDemo();
    Click(w_->form, NodeAt(w_->form, path.toStdString()));
    const Enabled e = StatesOf(w_->form);
    QCOMPARE(e.delete_node, delete_node);
    QCOMPARE(e.new_directory, new_directory);
    QCOMPARE(e.hex, hex);
    QVERIFY(e.insert && e.extract);
    QVERIFY(w_->form.StatusText().startsWith(QStringLiteral("Tamaño del nodo :")));
  }

  void NewDirectoryNeedsRoomInTheDirectoryTable() {
    OpenDemo();
    TNodo* boot = NodeAt(w_->form, "boot");
    // Six directories of twelve slots: room for six more, then none.
    for (int i = 0; i < 6; ++i) {
      Click(w_->form, boot);
      QVERIFY(w_->form.Action(Item::NewDirectory)->isEnabled());
      w_->user.texts.push_back(QStringLiteral("dir%1").arg(i));
      w_->form.Action(Item::NewDirectory)->trigger();
    }
    QCOMPARE(w_->form.Doc().Root()->ChildCount(), 12u);
    QCOMPARE(w_->form.Doc().Root()->Child(0)->Text, std::string("dir0"));
    Click(w_->form, boot);
    QVERIFY(!w_->form.Action(Item::NewDirectory)->isEnabled());
    QCOMPARE(w_->user.text_requests.front().title, QStringLiteral("Nuevo directorio"));
    QCOMPARE(w_->user.text_requests.front().prompt,
             QStringLiteral("Introduce el nombre del nuevo directorio : "));
    QCOMPARE(w_->user.text_requests.front().initial, QStringLiteral("nuevo"));
    QVERIFY(w_->form.FirmwareModificado());
    QVERIFY(w_->form.isWindowModified());
  }

  void RenameInPlace_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("message");
    QTest::newRow("8.3 shortening") << "verylongname.text" << "verylong.tex" << "";
    QTest::newRow("space") << "bad name.cpi" << "menu.cpi" << "¡ El nombre nuevo no es valido !";
    QTest::newRow("sibling's name") << "logo.imz" << "menu.cpi"
                                    << "¡ Ya existe un nodo con ese nombre !";
  }
  void RenameInPlace() {
    QFETCH(QString, typed);
    QFETCH(QString, result);
    QFETCH(QString, message);
    OpenDemo();
    TNodo* node = NodeAt(w_->form, "boot/menu.cpi");
    w_->form.TreeView()->expandAll();
    TypeNewName(w_->form, node, typed);
    QCOMPARE(QString::fromStdString(node->Text), result);
    QCOMPARE(w_->form.TreeView()->Model()->data(w_->form.TreeView()->Model()->IndexOf(node),
                                                Qt::DisplayRole)
                 .toString(),
             result);
    QCOMPARE(w_->user.ShownTexts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(w_->form.FirmwareModificado(), result != QStringLiteral("menu.cpi"));
  }

  void RootCannotBeRenamed() {
    OpenDemo();
    FirmwareTreeModel* model = w_->form.TreeView()->Model();
    QVERIFY(!(model->flags(model->IndexOf(w_->form.Doc().Root())) & Qt::ItemIsEditable));
    QVERIFY(model->flags(model->IndexOf(NodeAt(w_->form, "boot"))) & Qt::ItemIsEditable);
  }

  void DragAFileOntoAnotherDirectory() {
    OpenDemo();
    w_->form.TreeView()->expandAll();
    TNodo* readme = NodeAt(w_->form, "extra/readme.txt");
    TNodo* boot = NodeAt(w_->form, "boot");
    QVERIFY(DragOnto(w_->form, readme, boot, true));
    QCOMPARE(NodeAt(w_->form, "extra/readme.txt"), nullptr);
    QCOMPARE(NodeAt(w_->form, "boot/readme.txt"), readme);
    QCOMPARE(boot->Children().back(), readme);  // a file dropped on a directory goes last
    QVERIFY(w_->form.FirmwareModificado());
    // The view follows: the moved node sits below its new parent.
    FirmwareTreeModel* model = w_->form.TreeView()->Model();
    QCOMPARE(model->parent(model->IndexOf(readme)), model->IndexOf(boot));
    QCOMPARE(w_->form.SelectedNode(), readme);
  }

  void DropsThatBreakTheRulesAreRefused() {
    OpenDemo();
    w_->form.TreeView()->expandAll();
    // A directory onto a file, anything onto the root.
    QVERIFY(!DragOnto(w_->form, NodeAt(w_->form, "void"), NodeAt(w_->form, "boot/menu.cpi"), false));
    QVERIFY(!DragOnto(w_->form, NodeAt(w_->form, "boot/menu.cpi"), w_->form.Doc().Root(), false));
    // A drag that did not start in this tree is never accepted.
    QMimeData foreign;
    foreign.setData(QString::fromLatin1(FirmwareTreeModel::kMimeType), "1:2");
    const QPoint at = w_->form.TreeView()->visualRect(
        w_->form.TreeView()->Model()->IndexOf(NodeAt(w_->form, "void"))).center();
    QVERIFY(!DragMoveTo(w_->form.TreeView(), &foreign, at));
    QVERIFY(!w_->form.FirmwareModificado());
  }

  void DraggingNearTheBottomEdgeScrolls() {
    OpenDemo();
    w_->form.resize(400, 260);
    w_->form.TreeView()->expandAll();
    QCoreApplication::processEvents();
    FirmwareTreeView* view = w_->form.TreeView();
    QScrollBar* bar = view->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    bar->setValue(0);
    TNodo* dragged = NodeAt(w_->form, "extra/readme.txt");
    w_->form.SelectNode(dragged);
    bar->setValue(0);
    const QPoint at(10, view->viewport()->height() - 5);
    QVERIFY(view->Model()->NodeAt(view->indexAt(at)) != nullptr);
    std::unique_ptr<QMimeData> mime(view->Model()->mimeData({view->Model()->IndexOf(dragged)}));
    QVERIFY(DragMoveTo(view, mime.get(), at));
    QVERIFY(bar->value() > 0);
  }

  // A file beside directories (as a crafted image can hold one), dropped onto one of them: the
  // directory it lands in is checked for its name like any other destination.
  void DropOntoASiblingDirectoryChecksTheClash() {
    OpenDemo();
    TNodo* root = w_->form.Doc().Root();
    TNodo* loose = NodeAt(w_->form, "texts/help.mpz");
    QVERIFY(w_->form.Doc().Tree()->Move(loose, root, root->ChildCount()));
    QVERIFY(w_->form.Doc().Rename(loose, "menu.cpi").changed);
    w_->form.TreeChanged();
    w_->form.TreeView()->expandAll();
    QVERIFY(!DragOnto(w_->form, loose, NodeAt(w_->form, "boot"), true));  // boot has a menu.cpi
    QCOMPARE(NodeAt(w_->form, "menu.cpi"), loose);
    QVERIFY(DragOnto(w_->form, loose, NodeAt(w_->form, "void"), true));
    QCOMPARE(NodeAt(w_->form, "void/menu.cpi"), loose);
  }

  // After a delete the node that took its place is selected, and the status text and the
  // commands are those of that node.
  void DeleteSelectsTheNextNode_data() {
    QTest::addColumn<QString>("deleted");
    QTest::addColumn<QString>("selected");
    QTest::newRow("a file: the next one") << "boot/main.luz" << "boot/menu.cpi";
    QTest::newRow("the last file: the one before") << "boot/menu.cpi" << "boot/main.luz";
    QTest::newRow("a directory") << "panels" << "texts";
    QTest::newRow("the first file: the next one") << "extra/readme.txt" << "extra/notes.dat";
  }
  void DeleteSelectsTheNextNode() {
    QFETCH(QString, deleted);
    QFETCH(QString, selected);
    OpenDemo();
    Click(w_->form, NodeAt(w_->form, deleted.toStdString()));
    w_->form.Action(Item::DeleteNode)->trigger();
    QVERIFY(w_->user.shown.empty());
    QCOMPARE(NodeAt(w_->form, deleted.toStdString()), nullptr);
    QVERIFY(w_->form.FirmwareModificado());
    TNodo* next = NodeAt(w_->form, selected.toStdString());
    QCOMPARE(w_->form.SelectedNode(), next);
    const QString status = w_->form.StatusText();
    const Enabled states = StatesOf(w_->form);
    Click(w_->form, next);
    QCOMPARE(status, w_->form.StatusText());
    QCOMPARE(states.delete_node, StatesOf(w_->form).delete_node);
    QCOMPARE(states.new_directory, StatesOf(w_->form).new_directory);
    QCOMPARE(states.hex, StatesOf(w_->form).hex);
  }
};

QTEST_MAIN(TreeCommandsTest)
#include "tree_commands_test.moc"
