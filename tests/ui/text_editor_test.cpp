// The text editor and the virtual keyboard on the demo image: lines shown with CR LF and stored
// with LF, the form's length cut, new and deleted strings, every byte kept through an edit, and
// the keyboard's highlighted cell, status text and collected characters.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTimer>
#include <QtTest>

#include "editors.h"
#include "firmware/tree.h"
#include "main_window.h"
#include "text_editor.h"
#include "ui_test_support.h"
#include "virtual_keyboard.h"

using namespace corvane;
using namespace corvane::ui;
using namespace corvane::ui::test;

class TextEditorTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TestInis> inis_;
  std::unique_ptr<FakeUser> user_;
  std::unique_ptr<TMainForm> form_;

  // Runs `act` on the keyboard once Mostrar has shown it.
  static std::string ShowKeyboard(TForm12& keyboard, const TMHWFont& fonts,
                                  std::function<void(TForm12&)> act) {
    QTimer::singleShot(0, &keyboard, [&keyboard, act] { act(keyboard); });
    return keyboard.Mostrar(fonts, 0);
  }

  TForm6* Open(const std::string& path) {
    TNodo* node = NodeAt(*form_, path);
    form_->AbreHijo(node);
    return qobject_cast<TForm6*>(form_->EditorOf(node));
  }
  static QStringList Entries(const QComboBox* box) {
    QStringList entries;
    for (int i = 0; i < box->count(); ++i) entries << box->itemText(i);
    return entries;
  }
  static void TypeAtEnd(TForm6& editor, const QString& text) {
    editor.TextBox()->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor.TextBox(), text);
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

  void LinesShownAndStoredWithLineFeeds() {
    TForm6* editor = Open("texts/help.mpz");
    QVERIFY(editor);
    QCOMPARE(editor->TextBox()->blockCount(), 2);
    QCOMPARE(editor->TextBox()->document()->firstBlock().text(), QStringLiteral("Ayuda"));
    QVERIFY(!editor->Preview()->pixmap().isNull());
    QCOMPARE(editor->Preview()->pixmap().height(), 2 * form_->Doc().Fonts().fonts[0].height);
    TypeAtEnd(*editor, QStringLiteral("!"));
    QCOMPARE(editor->List().strings[0], std::string("Ayuda\nPulse OK para continuar.!"));
    QVERIFY(editor->Changed());
    // Ctrl+Z in the box undoes through the window's stack.
    QTest::keyClick(editor->TextBox(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editor->List().strings[0], std::string("Ayuda\nPulse OK para continuar."));
    QVERIFY(!editor->Changed());
  }

  void FormCutsLongStrings_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("kept");
    QTest::addRow("short form") << "texts/menu.mpz" << 255;
    QTest::addRow("long form") << "texts/help.mpz" << 300;
  }
  void FormCutsLongStrings() {
    QFETCH(QString, path);
    QFETCH(int, kept);
    TForm6* editor = Open(path.toStdString());
    editor->TextBox()->setPlainText(QString(299, QLatin1Char('x')));
    TypeAtEnd(*editor, QStringLiteral("y"));
    QCOMPARE(static_cast<int>(editor->List().strings[0].size()), kept);
    QCOMPARE(editor->TextBox()->toPlainText().size(), kept);
  }

  void NewAndDeletedStrings() {
    TForm6* editor = Open("texts/help.mpz");
    editor->Select(1);
    editor->NewButton()->click();
    QCOMPARE(Entries(editor->Selector()), QStringList({"0", "1", "2", "3"}));
    QCOMPARE(editor->Selected(), 2);
    QCOMPARE(editor->List().strings[2], std::string());
    QCOMPARE(editor->List().strings[3], std::string(300, '-'));
    QVERIFY(editor->TextBox()->toPlainText().isEmpty());
    editor->Select(3);
    editor->DeleteButton()->click();
    QCOMPARE(Entries(editor->Selector()), QStringList({"0", "1", "2"}));
    QCOMPARE(editor->Selected(), 2);
    // Both steps undone: the file as it was, string 1 selected again.
    editor->UndoAction()->trigger();
    editor->UndoAction()->trigger();
    QCOMPARE(editor->List().strings.size(), std::size_t{3});
    QCOMPARE(editor->Selected(), 1);
    QVERIFY(!editor->Changed());
    editor->RedoAction()->trigger();
    QCOMPARE(editor->Selected(), 2);
    // Down to no string at all: nothing to edit, a new one can still be made.
    for (int i = 0; i < 4; ++i) editor->DeleteButton()->click();
    QCOMPARE(editor->Selected(), -1);
    QVERIFY(editor->TextBox()->isReadOnly());
    editor->NewButton()->click();
    QCOMPARE(editor->List().strings, std::vector<std::string>{std::string()});
  }

  void EveryByteSurvivesAnEdit() {
    TNodo* node = NodeAt(*form_, "texts/menu.mpz");
    TMHWStringsList list;
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    list.long_form = true;
    list.strings = {all, "x"};
    QVERIFY(list.Guarda(*node).ok());
    TForm6* editor = Open("texts/menu.mpz");
    TypeAtEnd(*editor, QStringLiteral("!"));
    editor->Select(1);
    TypeAtEnd(*editor, QStringLiteral("y"));
    editor->OkButton()->click();
    QVERIFY(form_->FirmwareModificado());
    TMHWStringsList reread;
    QVERIFY(reread.Create(*node).ok());
    QCOMPARE(reread.strings, (std::vector<std::string>{all + "!", "xy"}));
  }

  void KeyboardInsertsAtTheCaretAsOneStep() {
    TForm6* editor = Open("texts/menu.mpz");
    editor->Select(1);  // "Canales"
    QTextCursor cursor = editor->TextBox()->textCursor();
    cursor.setPosition(3);
    editor->TextBox()->setTextCursor(cursor);
    QTimer::singleShot(0, editor, [] {
      TForm12& k = VirtualKeyboard(nullptr);
      for (const int code : {0xE9, 0x0D}) {
        k.PointerAt((code % 16) * k.CellWidth(), (code / 16) * k.CellHeight());
        k.Press();
      }
      k.AcceptButton()->click();
    });
    editor->KeyboardButton()->click();
    QCOMPARE(editor->List().strings[1], std::string("Can\xE9\rales"));
    editor->UndoAction()->trigger();
    QCOMPARE(editor->List().strings[1], std::string("Canales"));
  }

  void FindGoesThroughEveryString() {
    TForm6* editor = Open("texts/menu.mpz");
    editor->FindBox()->setText(QStringLiteral("s"));
    const std::vector<std::pair<int, int>> expected = {{1, 6}, {2, 8}, {3, 3}, {3, 6}, {5, 3}, {1, 6}};
    for (const auto& [index, pos] : expected) {
      QVERIFY(editor->FindNext());
      QCOMPARE(editor->Selected(), index);
      QCOMPARE(editor->TextBox()->textCursor().selectionStart(), pos);
    }
    editor->FindBox()->setText(QStringLiteral("zz"));
    QVERIFY(!editor->FindNext());
    QVERIFY(user_->Showed(QStringLiteral("No se ha encontrado")));
  }

  void KeyboardOutlineFollowsThePointer() {
    TForm12& keyboard = VirtualKeyboard(form_.get());
    const TMHWFont& fonts = form_->Doc().Fonts();
    QVERIFY(fonts.Valid(0));
    keyboard.Prepara(fonts, 0);
    const PixelBuffer plain = keyboard.Picture();
    const int w = keyboard.CellWidth();
    const int h = keyboard.CellHeight();
    QCOMPARE(plain.Width(), 16 * w);
    QCOMPARE(plain.Height(), 16 * h);
    // The corner pixel of a cell before and after the pointer went over it.
    auto corner = [&](const PixelBuffer& p, int code) {
      return p.Get((code % 16) * w, (code / 16) * h);
    };
    auto inverted = [](Rgb c) {
      return Rgb{static_cast<std::uint8_t>(~c.r), static_cast<std::uint8_t>(~c.g),
                 static_cast<std::uint8_t>(~c.b)};
    };
    keyboard.PointerAt((0x41 % 16) * w + w / 2, (0x41 / 16) * h + h / 2);
    QCOMPARE(keyboard.Highlighted(), 0x41);
    QCOMPARE(corner(keyboard.Picture(), 0x41), inverted(corner(plain, 0x41)));
    keyboard.PointerAt((0x42 % 16) * w, (0x42 / 16) * h + h - 1);
    QCOMPARE(keyboard.Highlighted(), 0x42);
    QCOMPARE(corner(keyboard.Picture(), 0x41), corner(plain, 0x41));
    QCOMPARE(corner(keyboard.Picture(), 0x42), inverted(corner(plain, 0x42)));
    QCOMPARE(keyboard.StatusText(), QStringLiteral("Carácter : 66 (0x42)"));
    // Back to where it started: every pixel as drawn.
    keyboard.PointerAt((0x41 % 16) * w, (0x41 / 16) * h);
    keyboard.PointerAt((0x42 % 16) * w, (0x42 / 16) * h);
    keyboard.Prepara(fonts, 0);
    QCOMPARE(keyboard.Picture(), plain);
    QCOMPARE(keyboard.Highlighted(), -1);
  }

  void KeyboardReturnsOnlyWhatAceptarCloses_data() {
    QTest::addColumn<bool>("accept");
    QTest::addRow("Aceptar") << true;
    QTest::addRow("close box") << false;
  }
  void KeyboardReturnsOnlyWhatAceptarCloses() {
    QFETCH(bool, accept);
    TForm12& keyboard = VirtualKeyboard(form_.get());
    const TMHWFont& fonts = form_->Doc().Fonts();
    const std::string got = ShowKeyboard(keyboard, fonts, [accept](TForm12& k) {
      for (const int code : {0x00, 0xFF, 0x41}) {
        k.PointerAt((code % 16) * k.CellWidth(), (code / 16) * k.CellHeight());
        k.Press();
      }
      if (accept) {
        k.AcceptButton()->click();
      } else {
        k.close();
      }
    });
    QCOMPARE(got, accept ? std::string("\0\xff" "A", 3) : std::string());
    QCOMPARE(keyboard.Highlighted(), -1);
  }
};

QTEST_MAIN(TextEditorTest)
#include "text_editor_test.moc"
