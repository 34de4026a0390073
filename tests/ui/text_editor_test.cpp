// The text editor and the virtual keyboard on the demo image: lines shown with CR LF and stored
// with LF, the form's length cut, new and deleted strings, every byte kept through an edit, and
// the keyboard's highlighted cell, status text and collected characters.
#include <QPlainTextEdit>

#include "firmware/tree.h"
#include "text_editor.h"
#include "ui_test_support.h"
#include "virtual_keyboard.h"

using namespace corvane;
using namespace corvane::ui;
using namespace corvane::ui::test;

class TextEditorTest : public DemoTest {
  Q_OBJECT

  TForm6* Open(const std::string& path) { return w_->Edit<TForm6>(path); }
  static QStringList Entries(const QComboBox* box) {
    QStringList entries;
    for (int i = 0; i < box->count(); ++i) entries << box->itemText(i);
    return entries;
  }
  static void TypeAtEnd(TForm6& editor, const QString& text) {
    editor.TextBox()->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor.TextBox(), text);
  }
  // Presses the keyboard's cells of the codes.
  static void Press(TForm12& keyboard, std::initializer_list<int> codes) {
    for (const int code : codes) {
      keyboard.PointerAt((code % 16) * keyboard.CellWidth(), (code / 16) * keyboard.CellHeight());
      keyboard.Press();
    }
  }

 private slots:
  void LinesShownAndStoredWithLineFeeds() {
    TForm6* editor = Open("texts/help.mpz");
    QVERIFY(editor);
    QCOMPARE(editor->TextBox()->blockCount(), 2);
    QCOMPARE(editor->Preview()->pixmap().height(), 2 * w_->form.Doc().Fonts().fonts[0].height);
    TypeAtEnd(*editor, QStringLiteral("!"));
    QCOMPARE(editor->List().strings[0], std::string("Ayuda\nPulse OK para continuar.!"));
    QVERIFY(editor->Changed());
    // Ctrl+Z in the box undoes through the window's stack.
    QTest::keyClick(editor->TextBox(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editor->List().strings[0], std::string("Ayuda\nPulse OK para continuar."));
    QVERIFY(!editor->Changed());
  }

  void ShortFormCutsLongStrings() {
    TForm6* editor = Open("texts/menu.mpz");
    editor->TextBox()->setPlainText(QString(299, QLatin1Char('x')));
    TypeAtEnd(*editor, QStringLiteral("y"));
    QCOMPARE(editor->List().strings[0], std::string(255, 'x'));
    QCOMPARE(editor->TextBox()->toPlainText().size(), 255);
  }

  void NewAndDeletedStrings() {
    TForm6* editor = Open("texts/help.mpz");
    editor->Select(1);
    editor->NewButton()->click();
    QCOMPARE(Entries(editor->Selector()), QStringList({"0", "1", "2", "3"}));
    QCOMPARE(editor->Selected(), 2);
    QCOMPARE(editor->List().strings[3], std::string(300, '-'));
    editor->Select(3);
    editor->DeleteButton()->click();
    QCOMPARE(Entries(editor->Selector()), QStringList({"0", "1", "2"}));
    QCOMPARE(editor->Selected(), 2);
    // Both steps undone: the file as it was, string 1 selected again.
    editor->UndoAction()->trigger();
    editor->UndoAction()->trigger();
    QCOMPARE(Entries(editor->Selector()), QStringList({"0", "1", "2"}));
    QCOMPARE(editor->Selected(), 1);
    QVERIFY(!editor->Changed());
    // Down to no string at all: nothing to edit, a new one can still be made.
    for (int i = 0; i < 3; ++i) editor->DeleteButton()->click();
    QCOMPARE(editor->Selected(), -1);
    QVERIFY(editor->TextBox()->isReadOnly());
    editor->NewButton()->click();
    QCOMPARE(editor->List().strings, std::vector<std::string>{std::string()});
  }

  void EveryByteSurvivesAnEdit() {
    TNodo* node = NodeAt(w_->form, "texts/menu.mpz");
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
    QVERIFY(w_->form.FirmwareModificado());
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
      Press(VirtualKeyboard(nullptr), {0xE9, 0x0D});
      VirtualKeyboard(nullptr).AcceptButton()->click();
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
    QVERIFY(w_->user.Showed(QStringLiteral("No se ha encontrado")));
  }

  void KeyboardOutlineFollowsThePointer() {
    TForm12& keyboard = VirtualKeyboard(&w_->form);
    const TMHWFont& fonts = w_->form.Doc().Fonts();
    keyboard.Prepara(fonts, 0);
    const PixelBuffer plain = keyboard.Picture();
    const int w = keyboard.CellWidth(), h = keyboard.CellHeight();
    QCOMPARE(plain.Width(), 16 * w);
    // The corner pixel of cell 0x41 is inverted while the pointer is over it.
    const auto corner = [&](const PixelBuffer& p) { return p.Get(w, 4 * h); };
    keyboard.PointerAt(w + w / 2, 4 * h + h / 2);
    QCOMPARE(keyboard.Highlighted(), 0x41);
    const Rgb c = corner(plain);
    const Rgb inverted{std::uint8_t(~c.r), std::uint8_t(~c.g), std::uint8_t(~c.b)};
    QCOMPARE(corner(keyboard.Picture()), inverted);
    keyboard.PointerAt(2 * w, 4 * h + h - 1);
    QCOMPARE(keyboard.Highlighted(), 0x42);
    QCOMPARE(corner(keyboard.Picture()), corner(plain));
    QCOMPARE(keyboard.StatusText(), QStringLiteral("Carácter : 66 (0x42)"));
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
    TForm12& keyboard = VirtualKeyboard(&w_->form);
    QTimer::singleShot(0, &keyboard, [&keyboard, accept] {
      Press(keyboard, {0x00, 0xFF, 0x41});
      if (accept) keyboard.AcceptButton()->click();
      else keyboard.close();
    });
    const std::string got = keyboard.Mostrar(w_->form.Doc().Fonts(), 0);
    QCOMPARE(got, accept ? std::string("\0\xff" "A", 3) : std::string());
    QCOMPARE(keyboard.Highlighted(), -1);
  }
};

QTEST_MAIN(TextEditorTest)
#include "text_editor_test.moc"
