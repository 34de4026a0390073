// The main window's frame: menus, toolbar, the "Ventana" menu, texts that follow the language,
// the title, tree icons, the editor dispatch of double click and the busy state of long
// operations.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QSet>
#include <QWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

#include "editor_registry.h"
#include "file_dialogs.h"
#include "icons.h"
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

  // The About box, the open dialog's first entry and Qt's own buttons follow the language in
  // use; the About box shows the one version of the title.
  void TextsFollowTheLanguage() {
    TestInis inis;
    TMainForm form;
    struct Case {
      int slot;
      QString about_title, description, detect, yes;
    } cases[] = {
        {1, QStringLiteral("Acerca de..."), QStringLiteral("Editor de firmware para receptores de satélite MHW"),
         QStringLiteral("Detectar el modelo (*.bin *.rcu *.rsc)"), QStringLiteral("&Sí")},
        {2, QStringLiteral("About..."), QStringLiteral("Firmware editor for MHW satellite receivers"),
         QStringLiteral("Detect the model (*.bin *.rcu *.rsc)"), QStringLiteral("&Yes")},
    };
    for (const Case& c : cases) {
      form.LanguageSlot(c.slot)->trigger();
      QCOMPARE(FirmwareFilters().front(), c.detect);
      QMessageBox box;
      box.setStandardButtons(QMessageBox::Yes);
      QCOMPARE(box.button(QMessageBox::Yes)->text(), c.yes);
      QStringList labels;
      bool modal = false;
      QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(about != nullptr);
        modal = about->isModal();
        labels << about->windowTitle();
        for (QLabel* l : about->findChildren<QLabel*>()) labels << l->text();
        about->findChild<QPushButton*>()->click();
      });
      form.Action(Item::About)->trigger();
      QVERIFY(modal);
      QCOMPARE(labels.front(), c.about_title);
      QVERIFY(labels.contains(c.description));
      QVERIFY(labels.join(QLatin1Char('\n')).contains(QStringLiteral("Corvane v2.62")));
      QVERIFY(!labels.join(QLatin1Char('\n')).contains(QStringLiteral("0.1.0")));
    }
  }

  void TitleIsTheFileAndTheProgram() {
    TestInis inis;
    FakeUser user;
    TMainForm form;
    form.show();
    QCOMPARE(form.windowHandle()->title(), QStringLiteral("Corvane v2.62"));
    QVERIFY(form.OpenFile(QString::fromStdString(WriteDemo(inis.Folder().parent_path()).string()), 2));
    QCOMPARE(form.windowHandle()->title(), QStringLiteral("demo.bin - Corvane v2.62"));
    QVERIFY(QGuiApplication::applicationDisplayName() != QStringLiteral("Corvane v2.62"));
  }

  // Every file kind has an icon of its own, drawn without any icon theme.
  void TreeIconsTellTheKindsApart() {
    QSet<QString> seen;
    for (int kind = 0; kind <= static_cast<int>(FileKind::Other); ++kind) {
      const QImage image = NodeIcon(kind).pixmap(16, 16).toImage();
      QVERIFY(!image.isNull());
      QByteArray bytes(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
      seen.insert(QString::fromLatin1(bytes.toBase64()));
    }
    QCOMPARE(seen.size(), static_cast<int>(FileKind::Other) + 1);
  }

  void DoubleClickOpensEditorOnceAndOnlyForKnownTypes() {
    EditorRegistry::Register(FileKind::Image, [](TMainForm& main, TNodo& node) -> EditorChild* {
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
    EditorRegistry::Register(FileKind::Image, {});
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
