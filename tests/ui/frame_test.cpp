// The main window's frame: the "Ventana" menu, the "Idioma" menu relabelling the window and its
// children, texts that follow the language, the title, tree icons, the editor dispatch of double
// click, the busy state of long operations, the exit question and Corvane.ini (read at start,
// written at exit only when it exists).
#include <QDialog>
#include <QMessageBox>
#include <QSet>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QWindow>

#include "config/ini.h"
#include "editor_registry.h"
#include "file_dialogs.h"
#include "icons.h"
#include "long_operation.h"
#include "tree_view.h"
#include "search_window.h"
#include "ui_test_support.h"

using namespace corvane;
using namespace corvane::ui;
using namespace corvane::ui::test;
namespace fs = std::filesystem;

namespace {

class FakeEditor : public EditorChild {
 public:
  FakeEditor(TMainForm& main, TNodo& node) : EditorChild(main, node) {}
  void CambiaIdioma() override { setWindowTitle(QString::fromStdString(Messages().Text(213))); }
};

}  // namespace

class FrameTest : public QObject {
  Q_OBJECT

 private slots:
  // The About box, the open dialog's first entry and Qt's own buttons follow the language in
  // use; the About box shows the one version of the title.
  void TextsFollowTheLanguage() {
    TestInis inis;
    TMainForm form;
    const struct {
      int slot;
      QString about_title, description, detect, yes;
    } cases[] = {{1, "Acerca de...", "Editor de firmware para receptores de satélite MHW",
                  "Detectar el modelo (*.bin *.rcu *.rsc)", "&Sí"},
                 {2, "About...", "Firmware editor for MHW satellite receivers",
                  "Detect the model (*.bin *.rcu *.rsc)", "&Yes"}};
    for (const auto& c : cases) {
      form.LanguageSlot(c.slot)->trigger();
      QCOMPARE(FirmwareFilters().front(), c.detect);
      QMessageBox box;
      box.setStandardButtons(QMessageBox::Yes);
      QCOMPARE(box.button(QMessageBox::Yes)->text(), c.yes);
      QStringList labels;
      QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(about != nullptr && about->isModal());
        labels << about->windowTitle();
        for (QLabel* l : about->findChildren<QLabel*>()) labels << l->text();
        about->findChild<QPushButton*>()->click();
      });
      form.Action(Item::About)->trigger();
      QCOMPARE(labels.value(0), c.about_title);
      QVERIFY(labels.contains(c.description));
      const QString all = labels.join(QLatin1Char('\n'));
      QVERIFY(all.contains(QStringLiteral("Corvane v2.62")));
      QVERIFY(!all.contains(QStringLiteral("0.1.0")));
    }
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
    DemoWindow w;
    QVERIFY(w.Open());
    TMainForm& form = w.form;
    TNodo* logo = NodeAt(form, "boot/logo.imz");
    TNodo* readme = NodeAt(form, "extra/readme.txt");
    QVERIFY(logo && readme);
    emit form.TreeView()->NodeOpened(logo);
    QCOMPARE(form.MdiArea()->subWindowList().size(), 1);
    emit form.TreeView()->NodeOpened(logo);
    QCOMPARE(form.MdiArea()->subWindowList().size(), 1);
    QCOMPARE(form.EditorOf(logo)->Node(), logo);
    emit form.TreeView()->NodeOpened(readme);
    emit form.TreeView()->NodeOpened(NodeAt(form, "boot"));
    QCOMPARE(form.MdiArea()->subWindowList().size(), 1);
    // A node held by an editor cannot be deleted.
    Click(form, logo);
    form.Action(Item::DeleteNode)->trigger();
    QVERIFY(w.user.Showed(QStringLiteral("¡ No se puede borrar ese nodo porque esta en uso !")));
    QCOMPARE(NodeAt(form, "boot/logo.imz"), logo);
    EditorRegistry::Register(FileKind::Image, {});
  }

  void LongOperationDisablesCommandsAndCancels() {
    TestInis inis;
    TMainForm form;
    {
      LongOperation operation(form);
      QVERIFY(!form.menuBar()->isEnabled() && !form.ToolBar()->isEnabled());
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

  // The "Ventana" menu lists the children; the "Idioma" menu relabels the window and them.
  void LanguageSwitchRelabelsMenusAndChildren() {
    DemoWindow w;
    TMainForm& form = w.form;
    QCOMPARE(form.LanguageSlot(2)->text(), QStringLiteral("&2 - English"));
    QVERIFY(form.LanguageSlot(1)->isChecked());
    QVERIFY(!form.LanguageSlot(3)->isEnabled());
    QVERIFY(w.Open());
    emit form.Menu(Item::WindowMenu)->aboutToShow();
    QVERIFY(!form.Action(Item::WindowCloseAll)->isEnabled());
    auto* editor = new FakeEditor(form, *NodeAt(form, "boot/menu.cpi"));
    form.AddChild(editor);
    emit form.Menu(Item::WindowMenu)->aboutToShow();
    QVERIFY(form.Action(Item::WindowCloseAll)->isEnabled());
    QVERIFY(form.Menu(Item::WindowMenu)->actions().last()->text().contains(editor->windowTitle()));
    form.Action(Item::Search)->trigger();
    QCOMPARE(editor->windowTitle(), QStringLiteral("Editor de texto -"));

    form.LanguageSlot(2)->trigger();
    QCOMPARE(form.Menu(Item::FileMenu)->title(), QStringLiteral("&File"));
    QCOMPARE(editor->windowTitle(), QStringLiteral("Text editor -"));
    QCOMPARE(form.Search()->findChild<QLabel*>()->text(), QStringLiteral("Find:"));
    QVERIFY(form.LanguageSlot(2)->isChecked() && !form.LanguageSlot(1)->isChecked());

    form.LanguageSlot(1)->trigger();
    QCOMPARE(form.Menu(Item::FileMenu)->title(), QStringLiteral("&Archivo"));
    QCOMPARE(editor->windowTitle(), QStringLiteral("Editor de texto -"));
    form.Action(Item::WindowCloseAll)->trigger();
    QCOMPARE(form.MdiArea()->subWindowList().size(), 0);
  }

  void ConfigurationIsWrittenOnExitWhenCorvaneIniExists() {
    auto w = std::make_unique<DemoWindow>();
    QVERIFY(w->Open());
    w->form.Action(Item::OptionLowercaseFiles)->setChecked(true);
    w->form.LanguageSlot(2)->trigger();
    QVERIFY(w->form.close());
    const IniFile ini = *IniFile::Load(w->inis.MainIni());
    QCOMPARE(ini.ReadInteger("Corvane", "LastFirmwareTypeOpened", 0), 2);
    QCOMPARE(ini.ReadString("Corvane", "LastOpenedDirectory", ""), w->work.string());
    // Read back at the next start.
    TMainForm again;
    QVERIFY(again.OptionChecked(Item::OptionLowercaseFiles));
    QCOMPARE(again.Menu(Item::FileMenu)->title(), QStringLiteral("&File"));
  }

  // Without an INIs folder the start reports it (and the script lister's missing instruction
  // table) and the exit writes nothing.
  void NothingIsWrittenWithoutCorvaneIni() {
    TestInis inis(TestInis::Kind::Missing);
    FakeUser user;
    {
      TMainForm form;
      QCOMPARE(user.ShownTexts().size(), 2);
      QVERIFY(user.ShownTexts()[0].startsWith(QStringLiteral("INIs directory not found!")));
      QVERIFY(user.ShownTexts()[1].startsWith(QStringLiteral("¡ El fichero no se ha podido abrir !")));
      QCOMPARE(form.Menu(Item::FileMenu)->title(), QStringLiteral("&Archivo"));
      form.Action(Item::OptionCompressWhenInsert)->setChecked(true);
      QVERIFY(form.close());
    }
    QVERIFY(!fs::exists(inis.Folder()));
  }

  // The title is the file and the one program name; closing with changes asks message 225.
  void TitleAndClosingWithChanges() {
    DemoWindow w;
    TMainForm& form = w.form;
    FakeUser& user = w.user;
    QCOMPARE(form.windowHandle()->title(), QStringLiteral("Corvane v2.62"));
    QVERIFY(w.Open());
    QCOMPARE(form.windowHandle()->title(), QStringLiteral("demo.bin - Corvane v2.62"));
    QVERIFY(QGuiApplication::applicationDisplayName() != QStringLiteral("Corvane v2.62"));
    Click(form, NodeAt(form, "void"));
    form.Action(Item::DeleteNode)->trigger();
    user.answers.push_back(Answer::Cancel);
    QVERIFY(!form.close());
    QCOMPARE(user.shown.back().text, QStringLiteral("¿ Guardar los cambios antes de salir ?"));
    // Yes, then the save dialog cancelled: the program stays open with its changes.
    user.answers.push_back(Answer::Yes);
    QVERIFY(!form.close());
    QVERIFY(form.FirmwareModificado());
    user.answers.push_back(Answer::No);
    QVERIFY(form.close());
  }
};

QTEST_MAIN(FrameTest)
#include "frame_test.moc"
