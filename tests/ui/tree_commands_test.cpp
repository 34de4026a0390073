// The tree commands driven through the real window on the demo and on a patch: which commands
// the selection enables, renaming in place, drag and drop, delete and new directory.
#include <QAction>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollBar>
#include <QtTest>

#include "base/file_io.h"
#include "main_window.h"
#include "support/patch_builder.h"
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
  std::unique_ptr<TestInis> inis_;
  std::unique_ptr<FakeUser> user_;
  std::unique_ptr<TMainForm> form_;

  void OpenDemo() {
    OpenThroughDialog(*form_, *user_, WriteDemo(inis_->Folder().parent_path()), 2);
    QVERIFY(form_->Doc().IsOpen());
  }

 private slots:
  void init() {
    inis_ = std::make_unique<TestInis>();
    user_ = std::make_unique<FakeUser>();
    form_ = std::make_unique<TMainForm>();
    form_->show();
  }
  void cleanup() {
    form_.reset();
    user_.reset();
    inis_.reset();
  }

  void OpenShowsTheDemoTree() {
    OpenDemo();
    TNodo* root = form_->Doc().Root();
    QCOMPARE(root->Text, std::string("demo.bin"));
    QStringList dirs;
    for (TNodo* c : root->Children()) dirs << QString::fromStdString(c->Text);
    QCOMPARE(dirs, (QStringList{"boot", "panels", "texts", "code", "extra", "void"}));
    QCOMPARE(form_->TreeView()->Model()->rowCount(form_->TreeView()->Model()->IndexOf(root)), 6);
    QVERIFY(form_->windowTitle().startsWith(QStringLiteral("demo.bin")));
    // Right after opening: nothing selected, node commands wait, firmware commands act.
    QVERIFY(form_->Action(Item::SaveAs)->isEnabled());
    QVERIFY(!form_->Action(Item::DeleteNode)->isEnabled());
    QVERIFY(form_->Action(Item::Information)->isEnabled());
    QVERIFY(form_->Action(Item::ImportFileOrder)->isEnabled());
    QVERIFY(form_->Action(Item::FontEditor)->isEnabled());  // model 2 carries fonts
    // The open dialog offered "detect the model" and the 27 models, model 1 preselected.
    QCOMPARE(user_->file_requests.front().filters.size(), 28);
    QCOMPARE(user_->file_requests.front().filter_index, 1);  // LastFirmwareTypeOpened
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
    Click(*form_, NodeAt(*form_, path.toStdString()));
    const Enabled e = StatesOf(*form_);
    QCOMPARE(e.delete_node, delete_node);
    QCOMPARE(e.new_directory, new_directory);
    QCOMPARE(e.hex, hex);
    QVERIFY(e.insert && e.extract);
    QVERIFY(form_->StatusText().startsWith(QStringLiteral("Tamaño del nodo :")));
  }

  void NewDirectoryNeedsRoomInTheDirectoryTable() {
    OpenDemo();
    TNodo* boot = NodeAt(*form_, "boot");
    // Six directories of twelve slots: room for six more, then none.
    for (int i = 0; i < 6; ++i) {
      Click(*form_, boot);
      QVERIFY(form_->Action(Item::NewDirectory)->isEnabled());
      user_->texts.push_back(QStringLiteral("dir%1").arg(i));
      form_->Action(Item::NewDirectory)->trigger();
    }
    QCOMPARE(form_->Doc().Root()->ChildCount(), 12u);
    QCOMPARE(form_->Doc().Root()->Child(0)->Text, std::string("dir0"));
    Click(*form_, boot);
    QVERIFY(!form_->Action(Item::NewDirectory)->isEnabled());
    QCOMPARE(user_->text_requests.front().title, QStringLiteral("Nuevo directorio"));
    QCOMPARE(user_->text_requests.front().prompt,
             QStringLiteral("Introduce el nombre del nuevo directorio : "));
    QCOMPARE(user_->text_requests.front().initial, QStringLiteral("nuevo"));
    QVERIFY(form_->FirmwareModificado());
    QVERIFY(form_->isWindowModified());
  }

  void NewDirectoryWithABadNameIsRefused() {
    OpenDemo();
    Click(*form_, NodeAt(*form_, "boot"));
    user_->texts.push_back(QStringLiteral("panels"));
    form_->Action(Item::NewDirectory)->trigger();
    QCOMPARE(user_->ShownTexts(), QStringList{QStringLiteral("¡ Nombre de directorio incorrecto !")});
    QCOMPARE(form_->Doc().Root()->ChildCount(), 6u);
    QVERIFY(!form_->FirmwareModificado());
  }

  void SelectionEnablesCommandsOfPatchModels() {
    using corvane::test::PatchDirSpec;
    using corvane::test::PatchSectionSpec;
    PatchSectionSpec canal;
    canal.canal = corvane::test::CanalFile(400, 1);
    PatchSectionSpec menus;
    menus.dirs = {PatchDirSpec{"menu", {{"a.cpz", corvane::test::Pattern(100, 2)}}}};
    const auto file = inis_->Folder().parent_path() / "patch.rsc";
    WriteFileAtomic(file, corvane::test::PlainPatch({canal, menus}, corvane::test::Endian::Little));
    OpenThroughDialog(*form_, *user_, file, 4);
    QVERIFY2(form_->Doc().IsOpen(), qPrintable(user_->ShownTexts().join('\n')));
    TNodo* root = form_->Doc().Root();
    TNodo* canal_section = root->Child(0);
    TNodo* menu_section = root->Child(1);

    // A section: never deleted; a new directory fits in it.
    Click(*form_, menu_section);
    QVERIFY(!form_->Action(Item::DeleteNode)->isEnabled());
    QVERIFY(form_->Action(Item::NewDirectory)->isEnabled());
    QVERIFY(form_->StatusText().contains(QStringLiteral("Espacio libre en la sección")));
    // The section that holds CANAL_P.RCU takes no directory.
    Click(*form_, canal_section);
    QVERIFY(!form_->Action(Item::NewDirectory)->isEnabled());
    // A directory inside a section: deleted, but no directory below it.
    Click(*form_, menu_section->Child(0));
    QVERIFY(form_->Action(Item::DeleteNode)->isEnabled());
    QVERIFY(!form_->Action(Item::NewDirectory)->isEnabled());
    // File-order lists are for firmware models only.
    QVERIFY(!form_->Action(Item::ImportFileOrder)->isEnabled());
    // A section cannot be renamed in place.
    QVERIFY(!(form_->TreeView()->Model()->flags(form_->TreeView()->Model()->IndexOf(menu_section)) &
              Qt::ItemIsEditable));
  }

  void RenameInPlace_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("message");
    QTest::newRow("8.3 shortening") << "verylongname.text" << "verylong.tex" << "";
    QTest::newRow("plus and underscore") << "a+b_c.pan" << "a+b_c.pan" << "";
    QTest::newRow("space") << "bad name.cpi" << "menu.cpi" << "¡ El nombre nuevo no es valido !";
    QTest::newRow("leading dot") << ".cpi" << "menu.cpi" << "¡ El nombre nuevo no es valido !";
    QTest::newRow("same name, other case") << "MENU.CPI" << "menu.cpi" << "";
    QTest::newRow("sibling's name") << "logo.imz" << "menu.cpi"
                                    << "¡ Ya existe un nodo con ese nombre !";
  }
  void RenameInPlace() {
    QFETCH(QString, typed);
    QFETCH(QString, result);
    QFETCH(QString, message);
    OpenDemo();
    TNodo* node = NodeAt(*form_, "boot/menu.cpi");
    form_->TreeView()->expandAll();
    TypeNewName(*form_, node, typed);
    QCOMPARE(QString::fromStdString(node->Text), result);
    QCOMPARE(form_->TreeView()->Model()->data(form_->TreeView()->Model()->IndexOf(node),
                                                Qt::DisplayRole)
                 .toString(),
             result);
    QCOMPARE(user_->ShownTexts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(form_->FirmwareModificado(), result != QStringLiteral("menu.cpi"));
  }

  void RootCannotBeRenamed() {
    OpenDemo();
    FirmwareTreeModel* model = form_->TreeView()->Model();
    QVERIFY(!(model->flags(model->IndexOf(form_->Doc().Root())) & Qt::ItemIsEditable));
    QVERIFY(model->flags(model->IndexOf(NodeAt(*form_, "boot"))) & Qt::ItemIsEditable);
  }

  void DragAFileOntoAnotherDirectory() {
    OpenDemo();
    form_->TreeView()->expandAll();
    TNodo* readme = NodeAt(*form_, "extra/readme.txt");
    TNodo* boot = NodeAt(*form_, "boot");
    QVERIFY(DragOnto(*form_, readme, boot, true));
    QCOMPARE(NodeAt(*form_, "extra/readme.txt"), nullptr);
    QCOMPARE(NodeAt(*form_, "boot/readme.txt"), readme);
    QCOMPARE(boot->Children().back(), readme);  // a file dropped on a directory goes last
    QVERIFY(form_->FirmwareModificado());
    // The view follows: the moved node sits below its new parent.
    FirmwareTreeModel* model = form_->TreeView()->Model();
    QCOMPARE(model->parent(model->IndexOf(readme)), model->IndexOf(boot));
    QCOMPARE(form_->SelectedNode(), readme);
  }

  void DropsThatBreakTheRulesAreRefused() {
    OpenDemo();
    form_->TreeView()->expandAll();
    // A directory onto a file, anything onto the root, a name clash.
    QVERIFY(!DragOnto(*form_, NodeAt(*form_, "void"), NodeAt(*form_, "boot/menu.cpi"), false));
    QVERIFY(!DragOnto(*form_, NodeAt(*form_, "boot/menu.cpi"), form_->Doc().Root(), false));
    // Same name (any letter case) at the destination: a clash.
    QVERIFY(form_->Doc().Rename(NodeAt(*form_, "texts/help.mpz"), "MENU.CPI").changed);
    form_->TreeChanged();
    QVERIFY(!DragOnto(*form_, NodeAt(*form_, "texts/MENU.CPI"), NodeAt(*form_, "boot"), false));
    form_->Doc().ClearModified();
    QVERIFY(DragOnto(*form_, NodeAt(*form_, "texts/menu.mpz"), NodeAt(*form_, "void"), false));
    // A drag that did not start in this tree is never accepted.
    QMimeData foreign;
    foreign.setData(QString::fromLatin1(FirmwareTreeModel::kMimeType), "1:2");
    const QPoint at = form_->TreeView()->visualRect(
        form_->TreeView()->Model()->IndexOf(NodeAt(*form_, "void"))).center();
    QVERIFY(!DragMoveTo(form_->TreeView(), &foreign, at));
    QVERIFY(!form_->FirmwareModificado());
  }

  void DraggingNearTheBottomEdgeScrolls() {
    OpenDemo();
    form_->resize(400, 260);
    form_->TreeView()->expandAll();
    QCoreApplication::processEvents();
    FirmwareTreeView* view = form_->TreeView();
    QScrollBar* bar = view->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    bar->setValue(0);
    TNodo* dragged = NodeAt(*form_, "extra/readme.txt");
    form_->SelectNode(dragged);
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
    TNodo* root = form_->Doc().Root();
    TNodo* loose = NodeAt(*form_, "texts/help.mpz");
    QVERIFY(form_->Doc().Tree()->Move(loose, root, root->ChildCount()));
    QVERIFY(form_->Doc().Rename(loose, "menu.cpi").changed);
    form_->TreeChanged();
    form_->TreeView()->expandAll();
    QVERIFY(!DragOnto(*form_, loose, NodeAt(*form_, "boot"), true));  // boot has a menu.cpi
    QCOMPARE(NodeAt(*form_, "menu.cpi"), loose);
    QVERIFY(DragOnto(*form_, loose, NodeAt(*form_, "void"), true));
    QCOMPARE(NodeAt(*form_, "void/menu.cpi"), loose);
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
    Click(*form_, NodeAt(*form_, deleted.toStdString()));
    form_->Action(Item::DeleteNode)->trigger();
    QVERIFY(user_->shown.empty());
    QCOMPARE(NodeAt(*form_, deleted.toStdString()), nullptr);
    QVERIFY(form_->FirmwareModificado());
    TNodo* next = NodeAt(*form_, selected.toStdString());
    QCOMPARE(form_->SelectedNode(), next);
    const QString status = form_->StatusText();
    const Enabled states = StatesOf(*form_);
    Click(*form_, next);
    QCOMPARE(status, form_->StatusText());
    QCOMPARE(states.delete_node, StatesOf(*form_).delete_node);
    QCOMPARE(states.new_directory, StatesOf(*form_).new_directory);
    QCOMPARE(states.hex, StatesOf(*form_).hex);
  }
};

QTEST_MAIN(TreeCommandsTest)
#include "tree_commands_test.moc"
