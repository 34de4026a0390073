// The script, class and application editors on the demo image: the listing and its refusal,
// a class opened from the listing, the class editor's field rules and row moves, a class
// written by "OK" listed again in the open script, and the application editor's edits.
#include <QCheckBox>
#include <QHeaderView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <Qsci/qsciscintilla.h>

#include "application_editor.h"
#include "class_editor.h"
#include "resources/stored.h"
#include "script_editor.h"
#include "ui_test_support.h"

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

class ScriptEditorsTest : public DemoTest {
  Q_OBJECT

 private slots:
  void ListingAsTheCommandLinePrintsIt() {
    auto* editor = w_->Edit<TForm17>("code/start.cpz");
    QVERIFY(editor);
    const TMHWScript batch =
        TMHWScript::Create(*NodeAt(w_->form, "code/start.cpz"), {Instructions(), Messages(), false});
    QStringList lines;
    for (const std::string& line : batch.listing) lines << QString::fromStdString(line);
    QCOMPARE(editor->Text()->text(), lines.join(QLatin1Char('\n')));
    QVERIFY(editor->Text()->isReadOnly());
    QVERIFY(!editor->OkButton()->isEnabled());
    QVERIFY(editor->Find(QStringLiteral("SCRIPT")));
    QVERIFY(!editor->Find(QStringLiteral("no such text")));
    QVERIFY(w_->user.Showed(Msg(273)));
  }

  void MissingClassRefusesTheListing() {
    TNodo* class_node = NodeAt(w_->form, "code/main.clz");
    TMHWClass renamed = TMHWClass::Create(*class_node);
    renamed.name = "other";
    QVERIFY(renamed.Guarda(*class_node));
    w_->form.AbreHijo(NodeAt(w_->form, "boot/boot.cpz"));
    QVERIFY(w_->form.Editors().empty());
    QVERIFY(w_->user.Showed(Msg(262) + QStringLiteral("main") + Msg(263)));
  }

  // Refused entries leave the fields and the class as they were; each edit is one undo step.
  void FieldEditsAndTheirUndo() {
    auto* editor = w_->Edit<TForm16>("code/main.clz");  // variable 0: "title", length 20
    const TMHWClass before = editor->Class();
    Type(editor->NameField(), QStringLiteral("bad name"));
    Type(editor->ClassNameField(), QString());
    Type(editor->LengthField(), QStringLiteral("70000"));
    QCOMPARE(editor->NameField()->text(), QStringLiteral("title"));
    QCOMPARE(editor->ClassNameField()->text(), QStringLiteral("main"));
    QCOMPARE(editor->LengthField()->text(), QStringLiteral("20"));
    QVERIFY(!editor->Changed());
    Type(editor->LengthField(), QStringLiteral("1x2"));  // letters never reach the field
    QCOMPARE(editor->Class().variables[0].length, 12);
    Type(editor->NameField(), QStringLiteral("heading"));
    QCOMPARE(editor->Grid()->item(0, 0)->text(), QStringLiteral("heading"));
    // Type 3 shows the precision, not the lower-case box.
    editor->Select(1);
    QVERIFY(editor->LowerCaseBox()->isHidden());
    editor->TypeList()->setCurrentIndex(3);
    emit editor->TypeList()->activated(3);
    QVERIFY(!editor->PrecisionField()->isHidden());
    QCOMPARE(editor->Class().variables[1].type, 3);
    for (int i = 0; i < 3; ++i) editor->UndoAction()->trigger();
    QCOMPARE(editor->Class().variables, before.variables);
    QVERIFY(!editor->Changed());
  }

  void VariablesAddDeleteAndMove() {
    auto* editor = w_->Edit<TForm16>("panels/screen.clz");  // selected, message
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

  // The class named under the cursor opens; written by OK, the open script lists it again.
  void ClassWrittenListsTheScriptAgain() {
    auto* script = w_->Edit<TForm17>("boot/boot.cpz");
    QVERIFY(script);
    script->Text()->setCursorPosition(0, 7);  // "class main;"
    script->Action(TForm17::Command::OpenClass)->trigger();
    auto* editor = dynamic_cast<TForm16*>(w_->form.EditorOf(NodeAt(w_->form, "code/main.clz")));
    QVERIFY(editor);
    QVERIFY(script->Text()->text().contains(QStringLiteral("main.count")));
    editor->Select(1);
    Type(editor->NameField(), QStringLiteral("visits"));
    editor->OkButton()->click();
    QVERIFY(script->Text()->text().contains(QStringLiteral("main.visits")));
    QVERIFY(!script->Text()->text().contains(QStringLiteral("main.count")));
    QCOMPARE(Names(TMHWClass::Create(*NodeAt(w_->form, "code/main.clz")))[1], std::string("visits"));
    QVERIFY(w_->form.FirmwareModificado());
  }

  void ApplicationEdits() {
    TNodo* node = NodeAt(w_->form, "code/start.apz");
    TMHWApplication expected = TMHWApplication::Create(*node);
    auto* editor = w_->Edit<TForm18>("code/start.apz");
    QVERIFY(editor);
    QCOMPARE(editor->InitialScriptBox()->count(), 1);  // start.cpz
    QVERIFY(!editor->RemoveButton()->isEnabled());
    editor->AddButton()->click();  // "main" is listed already
    QVERIFY(!editor->Changed());
    editor->ClassList()->item(0)->setSelected(true);
    editor->RemoveButton()->click();
    editor->AddButton()->click();
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
