// The main window's frame: menus, toolbar, commands enabled at start, the "Ventana" menu, the
// About box, the editor dispatch of double click and the busy state of long operations.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

#include "editor_registry.h"
#include "long_operation.h"
#include "main_window.h"
#include "tree_view.h"
#include "ui_test_support.h"

using namespace corvane;
using namespace corvane::ui;
using namespace corvane::ui::test;
using Item = MainWindowItem;

namespace {

class FakeEditor : public EditorChild {
 public:
  FakeEditor(TMainForm& main, TNodo& node) : EditorChild(main, node) {
    setWindowTitle(QString::fromStdString(node.Text));
  }
  void CambiaIdioma() override { ++relabels; }
  int relabels = 0;
};

}  // namespace

class FrameTest : public QObject {
  Q_OBJECT

 private slots:
  void MenusInOrder() {
    TestInis inis;
    TMainForm form;
    QStringList titles;
    for (QAction* a : form.menuBar()->actions()) titles << a->text();
    QCOMPARE(titles, (QStringList{QStringLiteral("&Archivo"), QStringLiteral("&Edición"),
                                  QStringLiteral("&Configuración"), QStringLiteral("&Ventana"),
                                  QStringLiteral("A&yuda")}));
  }

  void CommandsEnabledAtStart() {
    TestInis inis;
    TMainForm form;
    const QList<Item> enabled = {Item::Open, Item::Exit, Item::CompareFirmwares, Item::About};
    for (Item item : {Item::Open, Item::SaveAs, Item::Exit, Item::DeleteNode, Item::NewDirectory,
                      Item::ExtractDecompressed, Item::InsertCompressed, Item::ExtractRaw,
                      Item::InsertRaw, Item::FontEditor, Item::InsertFontList,
                      Item::ExtractFontList, Item::HexEditorDecompressed, Item::HexEditorRaw,
                      Item::ImportFileOrder, Item::ExportFileOrder, Item::Information,
                      Item::Search, Item::ExtractAllCode, Item::CompareFirmwares, Item::About})
      QCOMPARE(form.Action(item)->isEnabled(), enabled.contains(item));
  }

  void ToolbarShowsHintsAsTooltips() {
    TestInis inis;
    TMainForm form;
    QToolBar* bar = form.ToolBar();
    QStringList tips;
    for (QAction* a : bar->actions()) tips << a->toolTip();
    QVERIFY(tips.contains(QStringLiteral("Abrir un archivo de firmware o un parche")));
    QVERIFY(tips.contains(QStringLiteral("Inserta lista de tipos de letra...")));
    QVERIFY(tips.contains(QStringLiteral("Editar hexadecimalmente sin descompresion")));
    // Exit and About live in the menus only; the font-list buttons on the toolbar only.
    QVERIFY(!bar->actions().contains(form.Action(Item::Exit)));
    QVERIFY(!bar->actions().contains(form.Action(Item::About)));
    QVERIFY(!form.Menu(Item::EditMenu)->actions().contains(form.Action(Item::InsertFontList)));
    for (QAction* a : bar->actions()) QVERIFY(!a->icon().isNull());
  }

  void TreeBesideSplitter() {
    TestInis inis;
    TMainForm form;
    form.show();
    auto* splitter = qobject_cast<QSplitter*>(form.centralWidget());
    QVERIFY(splitter != nullptr);
    QCOMPARE(splitter->handleWidth(), 2);
    QCOMPARE(splitter->widget(0), form.TreeView());
    QCOMPARE(splitter->sizes().front(), 177);
  }

  void WindowMenuFollowsChildren() {
    TestInis inis;
    FakeUser user;
    TMainForm form;
    QVERIFY(form.OpenFile(QString::fromStdString(WriteDemo(inis.Folder().parent_path()).string()), 2));
    emit form.Menu(Item::WindowMenu)->aboutToShow();
    const Item own[] = {Item::WindowCascade, Item::WindowMinimizeAll, Item::WindowRestoreAll,
                        Item::WindowCloseAll};
    for (Item w : own) QVERIFY(!form.Action(w)->isEnabled());
    form.AddChild(new FakeEditor(form, *NodeAt(form, "boot/menu.cpi")));
    emit form.Menu(Item::WindowMenu)->aboutToShow();
    for (Item w : own) QVERIFY(form.Action(w)->isEnabled());
    // The list of children follows the own items.
    QVERIFY(form.Menu(Item::WindowMenu)->actions().last()->text().contains(QStringLiteral("menu.cpi")));
    form.Action(Item::WindowMinimizeAll)->trigger();
    QVERIFY(form.MdiArea()->subWindowList().front()->isMinimized());
    form.Action(Item::WindowRestoreAll)->trigger();
    QVERIFY(!form.MdiArea()->subWindowList().front()->isMinimized());
    form.Action(Item::WindowCloseAll)->trigger();
    QCOMPARE(form.MdiArea()->subWindowList().size(), 0);
  }

  void AboutBoxIsModalWithOk() {
    TestInis inis;
    TMainForm form;
    QString caption;
    QString button;
    bool modal = false;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      QVERIFY(box != nullptr);
      caption = box->windowTitle();
      modal = box->isModal();
      auto* ok = box->findChild<QPushButton*>();
      button = ok->text();
      ok->click();
    });
    form.Action(Item::About)->trigger();
    QCOMPARE(caption, QStringLiteral("Acerca de..."));
    QCOMPARE(button, QStringLiteral("OK"));
    QVERIFY(modal);
  }

  void DoubleClickOpensEditorOnceAndOnlyForKnownTypes() {
    EditorRegistry::Register(".im", [](TMainForm& main, TNodo& node) -> EditorChild* {
      return new FakeEditor(main, node);
    });
    TestInis inis;
    FakeUser user;
    TMainForm form;
    QVERIFY(form.OpenFile(QString::fromStdString(WriteDemo(inis.Folder().parent_path()).string()), 2));
    TNodo* logo = NodeAt(form, "boot/logo.imz");
    TNodo* readme = NodeAt(form, "extra/readme.txt");
    QVERIFY(logo && readme);
    emit form.TreeView()->NodeOpened(logo);
    QCOMPARE(form.MdiArea()->subWindowList().size(), 1);
    emit form.TreeView()->NodeOpened(logo);
    QCOMPARE(form.MdiArea()->subWindowList().size(), 1);
    QCOMPARE(form.EditorOf(logo)->Node(), logo);
    QVERIFY(form.NodeInUse(NodeAt(form, "boot")));
    QVERIFY(!form.NodeInUse(readme));
    emit form.TreeView()->NodeOpened(readme);
    emit form.TreeView()->NodeOpened(NodeAt(form, "boot"));
    QCOMPARE(form.MdiArea()->subWindowList().size(), 1);
    // A node held by an editor cannot be deleted.
    Click(form, logo);
    form.Action(Item::DeleteNode)->trigger();
    QVERIFY(user.Showed(QStringLiteral("¡ No se puede borrar ese nodo porque esta en uso !")));
    QCOMPARE(NodeAt(form, "boot/logo.imz"), logo);
    EditorRegistry::Register(".im", {});
  }

  void EditorKeyIsTheThreeCharactersBeforeTheLast() {
    QCOMPARE(EditorRegistry::KeyOf("menu.cpi"), std::string(".cp"));
    QCOMPARE(EditorRegistry::KeyOf("LOGO.IMZ"), std::string(".im"));
    QCOMPARE(EditorRegistry::KeyOf("a.b"), std::string());
  }

  void LongOperationDisablesCommandsAndCancels() {
    TestInis inis;
    TMainForm form;
    {
      LongOperation operation(form);
      QVERIFY(!form.menuBar()->isEnabled());
      QVERIFY(!form.ToolBar()->isEnabled());
      QVERIFY(!form.TreeView()->isEnabled());
      QVERIFY(operation.Progress(QStringLiteral("Guardando archivos..."), 42));
      QCOMPARE(form.StatusText(), QStringLiteral("Guardando archivos... 42%"));
      // Closing the window during the operation cancels it instead.
      QVERIFY(!form.close());
      QVERIFY(operation.Cancelled());
      QVERIFY(!operation.Progress(QStringLiteral("Guardando archivos..."), 43));
    }
    QVERIFY(form.menuBar()->isEnabled());
    QVERIFY(form.TreeView()->isEnabled());
    QVERIFY(!form.CancelRequested() || !form.Busy());
  }
};

QTEST_MAIN(FrameTest)
#include "frame_test.moc"
