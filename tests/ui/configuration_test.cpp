// Languages and configuration: the "Idioma" menu relabelling the window and its children, and
// Corvane.ini read at start and written at exit only when it exists.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>
#include <filesystem>

#include "config/ini.h"
#include "editor_registry.h"
#include "main_window.h"
#include "search_window.h"
#include "support/files.h"
#include "ui_test_support.h"
#include "ui_text.h"

using namespace corvane;
using namespace corvane::ui;
using namespace corvane::ui::test;
using Item = MainWindowItem;
namespace fs = std::filesystem;

namespace {

class RelabelledEditor : public EditorChild {
 public:
  RelabelledEditor(TMainForm& main, TNodo& node) : EditorChild(main, node) {}
  void CambiaIdioma() override { setWindowTitle(QString::fromStdString(Messages().Text(213))); }
};

QStringList MenuTitles(TMainForm& form) {
  QStringList titles;
  for (QAction* a : form.menuBar()->actions()) titles << a->text();
  return titles;
}

}  // namespace

class ConfigurationTest : public QObject {
  Q_OBJECT

 private slots:
  void LanguageSwitchRelabelsMenusAndChildren() {
    TestInis inis;
    FakeUser user;
    TMainForm form;
    form.show();
    QCOMPARE(form.LanguageSlot(1)->text(), QStringLiteral("&1 - Español"));
    QCOMPARE(form.LanguageSlot(2)->text(), QStringLiteral("&2 - English"));
    QVERIFY(form.LanguageSlot(1)->isChecked());
    QVERIFY(!form.LanguageSlot(3)->isEnabled());
    QCOMPARE(form.LanguageSlot(3)->text(), QStringLiteral("3 -"));

    OpenThroughDialog(form, user, WriteDemo(inis.Folder().parent_path()), 2);
    auto* editor = new RelabelledEditor(form, *NodeAt(form, "boot/menu.cpi"));
    form.AddChild(editor);
    form.Action(Item::Search)->trigger();
    QCOMPARE(editor->windowTitle(), QStringLiteral("Editor de texto -"));

    form.LanguageSlot(2)->trigger();
    QCOMPARE(MenuTitles(form).front(), QStringLiteral("&File"));
    QCOMPARE(form.Menu(Item::EditMenu)->title(), QStringLiteral("&Edit"));
    QCOMPARE(form.Action(Item::ExtractDecompressed)->text(),
             QStringLiteral("&Extract with decompression"));
    QCOMPARE(form.Action(Item::Open)->toolTip(), QStringLiteral("Open a firmware file or a patch"));
    QCOMPARE(editor->windowTitle(), QString::fromStdString(Messages().Text(213)));
    QVERIFY(editor->windowTitle() != QStringLiteral("Editor de texto -"));
    QCOMPARE(form.Search()->findChild<QLabel*>()->text(), QStringLiteral("Find:"));
    QVERIFY(form.LanguageSlot(2)->isChecked());
    QVERIFY(!form.LanguageSlot(1)->isChecked());

    form.LanguageSlot(1)->trigger();
    QCOMPARE(MenuTitles(form).front(), QStringLiteral("&Archivo"));
    QCOMPARE(editor->windowTitle(), QStringLiteral("Editor de texto -"));
  }

  void ConfigurationIsWrittenOnExitWhenCorvaneIniExists() {
    TestInis inis;
    FakeUser user;
    {
      TMainForm form;
      OpenThroughDialog(form, user, WriteDemo(inis.Folder().parent_path()), 2);
      form.Action(Item::OptionLowercaseFiles)->setChecked(true);
      form.LanguageSlot(2)->trigger();
      QVERIFY(form.close());
    }
    const std::optional<IniFile> loaded = IniFile::Load(inis.MainIni());
    QVERIFY(loaded.has_value());
    const IniFile& ini = *loaded;
    QCOMPARE(ini.ReadInteger("Corvane", "LanguageUsed", 0), 2);
    QCOMPARE(ini.ReadInteger("Corvane", "LastFirmwareTypeOpened", 0), 2);
    QCOMPARE(ini.ReadBool("Corvane", "LowercaseFiles", false), true);
    QCOMPARE(ini.ReadString("Corvane", "Language1", ""), std::string("Español"));
    QCOMPARE(ini.ReadString("Corvane", "LastOpenedDirectory", ""),
             inis.Folder().parent_path().string());
    // Read back at the next start.
    TMainForm again;
    QVERIFY(again.OptionChecked(Item::OptionLowercaseFiles));
    QCOMPARE(again.Menu(Item::FileMenu)->title(), QStringLiteral("&File"));
  }

  void NothingIsWrittenWithoutCorvaneIni() {
    TestInis inis(TestInis::Kind::Empty);
    FakeUser user;
    {
      TMainForm form;
      // The one thing reported: the instruction table of the script lister is missing.
      QCOMPARE(user.ShownTexts().size(), 1);
      QVERIFY2(user.ShownTexts()[0].startsWith(QStringLiteral("¡ El fichero no se ha podido abrir !")),
               qPrintable(user.ShownTexts()[0]));
      QCOMPARE(form.Menu(Item::FileMenu)->title(), QStringLiteral("&Archivo"));
      QVERIFY(!form.LanguageSlot(1)->isEnabled());
      form.Action(Item::OptionCompressWhenInsert)->setChecked(true);
      QVERIFY(form.close());
    }
    QVERIFY(fs::is_empty(inis.Folder()));
  }

  void AMissingInisFolderIsReportedAtStart() {
    TestInis inis(TestInis::Kind::Missing);
    FakeUser user;
    TMainForm form;
    QCOMPARE(user.ShownTexts().size(), 2);
    QCOMPARE(user.ShownTexts()[0],
             QStringLiteral("INIs directory not found!\nCreate a directory called INIs "
                            "and move all the ini files to that directory."));
    QVERIFY(user.ShownTexts()[1].startsWith(QStringLiteral("¡ El fichero no se ha podido abrir !")));
    QCOMPARE(form.Menu(Item::FileMenu)->title(), QStringLiteral("&Archivo"));
    QVERIFY(form.close());
    QVERIFY(!fs::exists(inis.Folder()));
  }

  void ClosingWithChangesAsksMessage225() {
    TestInis inis;
    FakeUser user;
    TMainForm form;
    OpenThroughDialog(form, user, WriteDemo(inis.Folder().parent_path()), 2);
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

QTEST_MAIN(ConfigurationTest)
#include "configuration_test.moc"
