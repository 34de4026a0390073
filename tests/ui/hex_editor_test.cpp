// The hex editor window on the demo: opening and writing back with and without decompression,
// the clipboard, typing and search, the status values, the close question and the remembered
// settings.
#include <QClipboard>

#include "firmware/codec.h"
#include "hex_document.h"
#include "hex_editor_widget.h"
#include "hex_editor_window.h"
#include "hex_search_dialog.h"
#include "ui_test_support.h"

using namespace corvane;
using namespace corvane::ui;
using namespace corvane::ui::test;
using Command = TForm7::Command;

class HexEditorTest : public DemoTest {
  Q_OBJECT

 private:
  TForm7* Open(const std::string& path, bool decompress) {
    TNodo* node = NodeAt(w_->form, path);
    Click(w_->form, node);
    w_->form.Action(decompress ? Item::HexEditorDecompressed : Item::HexEditorRaw)->trigger();
    return qobject_cast<TForm7*>(w_->form.EditorOf(node));
  }
  // A window on boot/logo.imz whose grid holds `bytes` as if loaded.
  TForm7* OpenWith(const Bytes& bytes) {
    TForm7* editor = Open("boot/logo.imz", false);
    editor->Grid()->Document().Load(bytes);
    editor->Grid()->SetCursor(0);
    return editor;
  }

 private slots:
  void AcceptingUnchangedWritesBack_data() {
    QTest::addColumn<bool>("decompress");
    QTest::newRow("with decompression") << true;
    QTest::newRow("without decompression") << false;
  }
  void AcceptingUnchangedWritesBack() {
    QFETCH(bool, decompress);
    TNodo* node = NodeAt(w_->form, "boot/logo.imz");
    const Bytes stored = node->Data.Datos;
    TForm7* editor = Open("boot/logo.imz", decompress);
    QVERIFY(editor != nullptr);
    QCOMPARE(editor->Grid()->Data(), decompress ? Decompress(stored) : stored);
    QVERIFY(editor->windowTitle().startsWith(QStringLiteral("Editor Hexadecimal - boot:logo.imz")));
    QVERIFY(!editor->Changed());
    // The same node opens one window, from either command.
    w_->form.Action(Item::HexEditorRaw)->trigger();
    w_->form.Action(Item::HexEditorDecompressed)->trigger();
    QCOMPARE(w_->form.MdiArea()->subWindowList().size(), 1);
    editor->OkButton()->click();
    QTRY_COMPARE(w_->form.MdiArea()->subWindowList().size(), 0);
    QVERIFY(!w_->user.Showed(QStringLiteral("¿ Guardar los cambios ?")));  // none after OK
    QCOMPARE(node->Data.Datos, decompress ? Compress(Decompress(stored)) : stored);
    QCOMPARE(std::size_t{node->Data.Tamano}, node->Data.Datos.size());
    QVERIFY(w_->form.FirmwareModificado());
  }

  void PasteAndTypingAreUndoable() {
    TForm7* editor = OpenWith({0x11, 0x22});
    THexEditor* grid = editor->Grid();
    grid->Select(0, 1);  // the status line shows the selection in both byte orders
    QCOMPARE(editor->StatusLine().split(QLatin1Char('|')).mid(0, 3),
             (QStringList{"Posición : 00000001", "Valor (BE) : 4386", "Valor (LE) : 8721"}));
    grid->SetCursor(0);
    QApplication::clipboard()->setText(QStringLiteral("0a b-C"));
    editor->Action(Command::InsertMode)->setChecked(true);
    editor->Action(Command::Paste)->trigger();
    QCOMPARE(grid->Data(), (Bytes{0x0A, 0xBC, 0x11, 0x22}));
    QVERIFY(editor->Changed());
    // Overwrite mode: two nibbles make one byte and one undo step.
    editor->Action(Command::InsertMode)->setChecked(false);
    QTest::keyClicks(grid, QStringLiteral("4f"));
    QCOMPARE(grid->Data(), (Bytes{0x0A, 0xBC, 0x4F, 0x22}));
    editor->Action(Command::Undo)->trigger();
    QCOMPARE(grid->Data(), (Bytes{0x0A, 0xBC, 0x11, 0x22}));
    // Typing at the end appends; the character area takes Latin-1 characters.
    grid->SetCursor(4, THexEditor::Area::Text);
    QTest::keyClicks(grid, QStringLiteral("A"));
    QTest::sendKeyEvent(QTest::Click, grid, Qt::Key_Eacute, QStringLiteral("é"), Qt::NoModifier);
    QCOMPARE(grid->Data(), (Bytes{0x0A, 0xBC, 0x11, 0x22, 'A', 0xE9}));
    // Copy, cut and delete work on the selection.
    grid->Select(1, 2);
    editor->Action(Command::Cut)->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("BC11"));
    QCOMPARE(grid->Data(), (Bytes{0x0A, 0x22, 'A', 0xE9}));
    editor->Action(Command::SelectAll)->trigger();
    editor->Action(Command::Delete)->trigger();
    QVERIFY(grid->Data().empty());
    // An emptied file is not written back.
    editor->OkButton()->click();
    QVERIFY(w_->user.Showed(QStringLiteral("¡ Un archivo no puede quedar vacío !")));
    QCOMPARE(w_->form.MdiArea()->subWindowList().size(), 1);
    for (int i = 0; i < 8; ++i) editor->Action(Command::Undo)->trigger();
    QCOMPARE(grid->Data(), (Bytes{0x11, 0x22}));
  }

  void SearchFindsHexAfterTheSelection() {
    TForm7* editor = OpenWith({0x0A, 0xBC, 'x', 'A', 'b', 0x0A, 0xBC, 'a', 'B'});
    editor->Action(Command::FindHex)->trigger();
    TForm8* search = editor->SearchDialog();
    QTest::keyClicks(search->Text(), QStringLiteral("A-B C"));
    QCOMPARE(search->Text()->text(), QStringLiteral("ABC"));  // other characters are removed
    QStringList hits;
    for (int i = 0; i < 3; ++i) {
      QTest::keyClick(search->Text(), Qt::Key_Return);
      hits << QStringLiteral("%1-%2").arg(editor->Grid()->SelStart()).arg(editor->Grid()->SelEnd());
    }
    // From the caret at 0 the first hit is at 0; the selection stays after a miss.
    QCOMPARE(hits, (QStringList{"0-1", "5-6", "5-6"}));
    QCOMPARE(w_->user.ShownTexts(), QStringList{QStringLiteral("¡ No se ha encontrado esa cadena !")});
    QTest::keyClick(search, Qt::Key_Escape);
    QVERIFY(!search->isVisible());
  }

  void ImportReplacesAndExportWrites() {
    TForm7* editor = OpenWith({1, 2, 3});
    const std::filesystem::path& folder = w_->work;
    QVERIFY(WriteFileAtomic(folder / "in.bin", Bytes{9, 8}).empty());
    w_->Choose(folder / "in.bin");
    editor->Action(Command::Import)->trigger();
    QCOMPARE(editor->Grid()->Data(), (Bytes{9, 8}));
    QVERIFY(editor->Changed());
    editor->Action(Command::Undo)->trigger();
    w_->Choose(folder / "out.bin");
    editor->Action(Command::Export)->trigger();
    QCOMPARE(ReadWholeFile(folder / "out.bin"), std::optional<Bytes>(Bytes{1, 2, 3}));
    w_->Choose(folder / "missing.bin");
    editor->Action(Command::Import)->trigger();
    QVERIFY(w_->user.Showed(QStringLiteral("¡ El fichero no se ha podido abrir !")));
    QCOMPARE(editor->Grid()->Data(), (Bytes{1, 2, 3}));
  }

  void GoToOffset() {
    TForm7* editor = OpenWith(Bytes(100, 0));
    w_->user.texts.push_back(QStringLiteral("0x40"));
    editor->Action(Command::GoToOffset)->trigger();
    QCOMPARE(editor->Grid()->Cursor(), std::size_t{0x40});
    QVERIFY(!editor->GoToOffset(QStringLiteral("65")));
    QVERIFY(w_->user.Showed(QStringLiteral("¡ La posición está fuera de los datos !")));
    QCOMPARE(editor->Grid()->Cursor(), std::size_t{0x40});
  }

  void CloseQuestion_data() {
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("written");
    QTest::newRow("yes") << Answer::Yes << true << true;
    QTest::newRow("no") << Answer::No << true << false;
    QTest::newRow("cancel") << Answer::Cancel << false << false;
  }
  void CloseQuestion() {
    QFETCH(Answer, answer);
    QFETCH(bool, closed);
    QFETCH(bool, written);
    TNodo* node = NodeAt(w_->form, "boot/menu.cpi");
    const Bytes stored = node->Data.Datos;
    TForm7* editor = Open("boot/menu.cpi", false);
    editor->Grid()->SetCursor(0);
    // A digit that changes the first byte's high nibble.
    const int digit = ((stored[0] >> 4) + 1) & 0xF;
    QTest::keyClicks(editor->Grid(), QString::number(digit, 16));
    w_->user.answers.push_back(answer);
    editor->CancelButton()->click();
    QVERIFY(w_->user.Showed(QStringLiteral("¿ Guardar los cambios ?")));
    QCOMPARE(w_->form.MdiArea()->subWindowList().isEmpty(), closed);
    QCOMPARE(node->Data.Datos != stored, written);
    QCOMPARE(w_->form.FirmwareModificado(), written);
  }

  void SettingsAreRememberedAndRelabelled() {
    TForm7* editor = Open("boot/menu.cpi", true);
    QVERIFY(editor->BytesPerLineItem(16)->isChecked());
    QVERIFY(editor->ColumnWidthItem(4)->isChecked());
    editor->BytesPerLineItem(20)->trigger();
    editor->ColumnWidthItem(1)->trigger();
    QCOMPARE(editor->Grid()->BytesPerLine(), 20);
    w_->form.MdiArea()->subWindowList().front()->resize(700, 500);
    editor->CloseWindow();
    QTRY_COMPARE(w_->form.MdiArea()->subWindowList().size(), 0);
    editor = Open("boot/menu.cpi", false);
    QVERIFY(editor->BytesPerLineItem(20)->isChecked() && editor->ColumnWidthItem(1)->isChecked());
    QCOMPARE(w_->form.MdiArea()->subWindowList().front()->width(), 700);
    // A language switch relabels the open window.
    w_->form.CargaIdioma(2);
    QVERIFY(editor->windowTitle().startsWith(QStringLiteral("Hex editor - boot:menu.cpi")));
    QCOMPARE(editor->Action(Command::Redo)->text(), QStringLiteral("&Redo"));
  }
};

QTEST_MAIN(HexEditorTest)
#include "hex_editor_test.moc"
