// The script, class and application editors on the demo image: the listing and its refusal,
// a class opened from the listing, the class editor's field rules and row moves, a class
// written by "OK" listed again in the open script, and the application editor's edits.
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>
#include <Qsci/qsciscintilla.h>

#include "application_editor.h"
#include "class_editor.h"
#include "editors.h"
#include "main_window.h"
#include "resources/stored.h"
#include "script_editor.h"
#include "ui_test_support.h"
#include "ui_text.h"

using namespace corvane;
using namespace corvane::ui;
using namespace corvane::ui::test;

namespace {

void Type(QLineEdit* field, const QString& text) {
  field->clear();
  QTest::keyClicks(field, text);
  QTest::keyClick(field, Qt::Key_Return);
}

std::vector<std::string> Names(const TMHWClass& c) {
  std::vector<std::string> names;
  for (const ClassVariable& v : c.variables) names.push_back(v.name);
  return names;
}

}  // namespace

class ScriptEditorsTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TestInis> inis_;
  std::unique_ptr<FakeUser> user_;
  std::unique_ptr<TMainForm> form_;

  template <typename Window>
  Window* Open(const std::string& path) {
    form_->AbreHijo(NodeAt(*form_, path));
    return dynamic_cast<Window*>(form_->EditorOf(NodeAt(*form_, path)));
  }

 private slots:
  void initTestCase() { RegisterEditors(); }
  void init() {
    inis_ = std::make_unique<TestInis>();
    user_ = std::make_unique<FakeUser>();
    form_ = std::make_unique<TMainForm>();
    OpenThroughDialog(*form_, *user_, WriteDemo(inis_->Folder().parent_path()), 2);
  }
  void cleanup() {
    form_.reset();
    user_.reset();
    inis_.reset();
  }

  void ListingAsTheCommandLinePrintsIt() {
    auto* editor = Open<TForm17>("code/start.cpz");
    QVERIFY(editor);
    const TMHWScript batch =
        TMHWScript::Create(*NodeAt(*form_, "code/start.cpz"), {Instructions(), Messages(), false});
    QStringList lines;
    for (const std::string& line : batch.listing) lines << QString::fromStdString(line);
    QCOMPARE(editor->Text()->text(), lines.join(QLatin1Char('\n')));
    QVERIFY(editor->Text()->isReadOnly());
    QVERIFY(!editor->OkButton()->isEnabled());
    QVERIFY(editor->Find(QStringLiteral("SCRIPT")));
    QVERIFY(!editor->Find(QStringLiteral("no such text")));
    QVERIFY(user_->Showed(Msg(273)));
  }

  void MissingClassRefusesTheListing() {
    TNodo* class_node = NodeAt(*form_, "code/main.clz");
    TMHWClass renamed = TMHWClass::Create(*class_node);
    renamed.name = "other";
    QVERIFY(renamed.Guarda(*class_node));
    form_->AbreHijo(NodeAt(*form_, "boot/boot.cpz"));
    QVERIFY(form_->Editors().empty());
    QVERIFY(user_->Showed(Msg(262) + QStringLiteral("main") + Msg(263)));
  }

  void ClassNameOpensItsEditor() {
    auto* script = Open<TForm17>("boot/boot.cpz");
    QVERIFY(script);
    QVERIFY(!script->OpenClassAt(1, 0));  // the empty line
    script->Text()->setCursorPosition(0, 7);  // "class main;"
    script->Action(TForm17::Command::OpenClass)->trigger();
    QVERIFY(dynamic_cast<TForm16*>(form_->EditorOf(NodeAt(*form_, "code/main.clz"))));
  }

  void NumberFieldsTakeDigitsOnly_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");
    QTest::newRow("letters removed") << "1x2" << 12;
    QTest::newRow("beyond the 2 bytes") << "70000" << 20;
    QTest::newRow("emptied") << "" << 20;
  }
  void NumberFieldsTakeDigitsOnly() {
    QFETCH(QString, typed);
    QFETCH(int, stored);
    auto* editor = Open<TForm16>("code/main.clz");  // variable 0: "title", length 20
    QLineEdit* field = editor->LengthField();
    field->clear();
    QTest::keyClicks(field, typed);
    QVERIFY(!field->text().contains(QLatin1Char('x')));
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(editor->Class().variables[0].length, stored);
    QCOMPARE(field->text(), QString::number(stored));
    QCOMPARE(editor->Changed(), stored != 20);
  }

  void NamesAndTypes() {
    auto* editor = Open<TForm16>("code/main.clz");
    const TMHWClass before = editor->Class();
    Type(editor->NameField(), QStringLiteral("bad name"));
    QCOMPARE(editor->Class().variables[0].name, std::string("title"));
    QCOMPARE(editor->NameField()->text(), QStringLiteral("title"));
    QCOMPARE(editor->Grid()->item(0, 0)->text(), QStringLiteral("title"));
    Type(editor->ClassNameField(), QString());
    QCOMPARE(editor->ClassNameField()->text(), QStringLiteral("main"));
    QVERIFY(!editor->Changed());

    Type(editor->NameField(), QStringLiteral("heading"));
    // Type 3 shows the precision, not the lower-case box.
    editor->Select(1);
    QVERIFY(editor->LowerCaseBox()->isHidden());
    editor->TypeList()->setCurrentIndex(3);
    emit editor->TypeList()->activated(3);
    QVERIFY(!editor->PrecisionField()->isHidden());
    std::vector<std::string> lines;
    editor->Class().Describe(*editor->Node(), form_->Config().var_types, Messages(), lines);
    const std::string text = [&] {
      std::string all;
      for (const auto& l : lines) all += l + "\n";
      return all;
    }();
    QVERIFY(text.find(Msg(301).toStdString() + " 000 : heading") != std::string::npos);
    QVERIFY(text.find(Msg(308).toStdString() + " 001 : 0") != std::string::npos);
    // Each edit is one undo step.
    editor->UndoAction()->trigger();
    editor->UndoAction()->trigger();
    QCOMPARE(editor->Class().variables, before.variables);
    QVERIFY(!editor->Changed());
  }

  void VariablesAddDeleteAndMove() {
    auto* editor = Open<TForm16>("panels/screen.clz");  // selected, message
    editor->DeleteButton()->click();
    QCOMPARE(Names(editor->Class()), std::vector<std::string>{"message"});
    editor->DeleteButton()->click();  // the last variable stays
    QCOMPARE(editor->Class().variables.size(), std::size_t{1});
    editor->NewButton()->click();
    editor->NewButton()->click();
    const std::string fresh = Msg(240).toStdString();
    QCOMPARE(Names(editor->Class()), (std::vector<std::string>{"message", fresh, fresh}));
    QCOMPARE(editor->Selected(), 2);
    editor->Select(0);
    Type(editor->NameField(), QStringLiteral("first"));
    editor->Grid()->verticalHeader()->moveSection(0, 2);  // a row dragged down
    QCOMPARE(Names(editor->Class()), (std::vector<std::string>{fresh, fresh, "first"}));
    QCOMPARE(editor->Grid()->item(2, 0)->text(), QStringLiteral("first"));
    QCOMPARE(editor->Grid()->verticalHeader()->visualIndex(0), 0);
    QVERIFY(editor->Changed());
  }

  void ClassWrittenListsTheScriptAgain() {
    auto* script = Open<TForm17>("boot/boot.cpz");
    auto* editor = Open<TForm16>("code/main.clz");
    QVERIFY(script && editor);
    QVERIFY(script->Text()->text().contains(QStringLiteral("main.count")));
    editor->Select(1);
    Type(editor->NameField(), QStringLiteral("visits"));
    editor->OkButton()->click();
    QVERIFY(script->Text()->text().contains(QStringLiteral("main.visits")));
    QVERIFY(!script->Text()->text().contains(QStringLiteral("main.count")));
    QCOMPARE(Names(TMHWClass::Create(*NodeAt(*form_, "code/main.clz")))[1], std::string("visits"));
    QVERIFY(form_->FirmwareModificado());
  }

  void ApplicationEdits() {
    TNodo* node = NodeAt(*form_, "code/start.apz");
    TMHWApplication expected = TMHWApplication::Create(*node);
    auto* editor = Open<TForm18>("code/start.apz");
    QVERIFY(editor);
    QCOMPARE(editor->ClassChooser()->currentText(), QStringLiteral("main"));
    QCOMPARE(editor->InitialScriptBox()->count(), 1);  // start.cpz
    QVERIFY(!editor->RemoveButton()->isEnabled());
    editor->AddButton()->click();  // "main" is listed already
    QCOMPARE(editor->ClassList()->count(), 2);
    QVERIFY(!editor->Changed());
    editor->ClassList()->item(0)->setSelected(true);
    QVERIFY(editor->RemoveButton()->isEnabled());
    editor->RemoveButton()->click();
    editor->AddButton()->click();
    editor->AddButton()->click();
    QCOMPARE(editor->ClassList()->count(), 2);
    editor->InitialScriptBox()->setEditText(QStringLiteral("start"));
    editor->Comments()->setPlainText(QStringLiteral("one line"));
    editor->StoreFields();
    QVERIFY(editor->Changed());
    editor->OkButton()->click();
    expected.initial_script = "start";
    expected.classes = {"screen", "main"};
    expected.comments = {"one line"};
    QCOMPARE(PlainOf(*node), expected.Plain());
  }
};

QTEST_MAIN(ScriptEditorsTest)
#include "script_editors_test.moc"
