// The main window's frame: menus, toolbar, commands enabled at start, the "Ventana" menu, the
// About box and the editor dispatch of double click.
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
#include "main_window.h"
#include "tree_view.h"
#include "ui_test_support.h"

using namespace corvane;
using namespace corvane::ui;

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
    TMainForm form;
    QStringList titles;
    for (QAction* a : form.menuBar()->actions()) titles << a->text();
    QCOMPARE(titles, (QStringList{QStringLiteral("&Archivo"), QStringLiteral("&Edición"),
                                  QStringLiteral("&Configuración"), QStringLiteral("&Ventana"),
                                  QStringLiteral("A&yuda")}));
  }

  void CommandsEnabledAtStart() {
    TMainForm form;
    const QList<Command> enabled = {Command::Open, Command::Exit, Command::Compare,
                                    Command::About};
    for (int i = 0; i < static_cast<int>(Command::kCount); ++i) {
      const auto c = static_cast<Command>(i);
      QCOMPARE(form.Action(c)->isEnabled(), enabled.contains(c));
    }
  }

  void ToolbarShowsHintsAsTooltips() {
    TMainForm form;
    auto* bar = form.findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    QVERIFY(bar != nullptr);
    QStringList tips;
    for (QAction* a : bar->actions()) tips << a->toolTip();
    QVERIFY(tips.contains(QStringLiteral("Abrir un archivo de firmware o un parche")));
    QVERIFY(tips.contains(QStringLiteral("Inserta lista de tipos de letra...")));
    // Exit and About live in the menus only.
    QVERIFY(!bar->actions().contains(form.Action(Command::Exit)));
    QVERIFY(!bar->actions().contains(form.Action(Command::About)));
  }

  void TreeBesideSplitter() {
    TMainForm form;
    form.show();
    auto* splitter = qobject_cast<QSplitter*>(form.centralWidget());
    QVERIFY(splitter != nullptr);
    QCOMPARE(splitter->handleWidth(), 2);
    QCOMPARE(splitter->widget(0), form.TreeView());
    QCOMPARE(splitter->sizes().front(), 177);
  }

  void WindowMenuFollowsChildren() {
    TMainForm form;
    emit form.WindowMenu()->aboutToShow();
    for (auto w : {WindowCommand::Cascade, WindowCommand::MinimizeAll, WindowCommand::RestoreAll,
                   WindowCommand::CloseAll})
      QVERIFY(!form.WindowAction(w)->isEnabled());
    TArbol& tree = form.Tree();
    TNodo* node = AnadeNodo(ByteView(), "dir", tree, nullptr);
    auto* editor = new FakeEditor(form, *node);
    form.AddChild(editor);
    emit form.WindowMenu()->aboutToShow();
    for (auto w : {WindowCommand::Cascade, WindowCommand::MinimizeAll, WindowCommand::RestoreAll,
                   WindowCommand::CloseAll})
      QVERIFY(form.WindowAction(w)->isEnabled());
    // The list of children follows the own items.
    QVERIFY(form.WindowMenu()->actions().last()->text().contains(QStringLiteral("dir")));
    form.WindowAction(WindowCommand::CloseAll)->trigger();
    QCOMPARE(form.MdiArea()->subWindowList().size(), 0);
  }

  void AboutBoxIsModalWithOk() {
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
    form.Action(Command::About)->trigger();
    QCOMPARE(caption, QStringLiteral("Acerca de..."));
    QCOMPARE(button, QStringLiteral("OK"));
    QVERIFY(modal);
  }

  void DoubleClickOpensEditorOnceAndOnlyForKnownTypes() {
    EditorRegistry::Register(".im", [](TMainForm& main, TNodo& node) -> EditorChild* {
      return new FakeEditor(main, node);
    });
    TMainForm form;
    TArbol& tree = form.Tree();
    TNodo* dir = AnadeNodo(ByteView(), "images", tree, nullptr);
    const Bytes one{1};
    TNodo* logo = AnadeNodo(ByteView(one), "logo.imz", tree, dir);
    TNodo* readme = AnadeNodo(ByteView(one), "readme.txt", tree, dir);
    form.TreeChanged();
    form.AbreHijo(logo);
    QCOMPARE(form.MdiArea()->subWindowList().size(), 1);
    form.AbreHijo(logo);
    QCOMPARE(form.MdiArea()->subWindowList().size(), 1);
    QCOMPARE(form.EditorOf(logo)->Node(), logo);
    QVERIFY(form.NodeInUse(dir));
    QVERIFY(!form.NodeInUse(readme));
    form.AbreHijo(readme);
    QCOMPARE(form.MdiArea()->subWindowList().size(), 1);
    form.AbreHijo(dir);
    QCOMPARE(form.MdiArea()->subWindowList().size(), 1);
    EditorRegistry::Register(".im", {});
  }

  void EditorKeyIsTheThreeCharactersBeforeTheLast() {
    QCOMPARE(EditorRegistry::KeyOf("menu.cpi"), std::string(".cp"));
    QCOMPARE(EditorRegistry::KeyOf("LOGO.IMZ"), std::string(".im"));
    QCOMPARE(EditorRegistry::KeyOf("a.b"), std::string());
  }
};

QTEST_MAIN(FrameTest)
#include "frame_test.moc"
