// The hex editor window on the demo: opening and writing back with and without decompression,
// the clipboard and search rules, the status values, the close question and the remembered
// settings.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QtTest>
#include <filesystem>

#include "base/file_io.h"
#include "firmware/codec.h"
#include "hex_document.h"
#include "hex_editor_widget.h"
#include "hex_editor_window.h"
#include "hex_search_dialog.h"
#include "main_window.h"
#include "ui_test_support.h"

using namespace corvane;
using namespace corvane::ui;
using namespace corvane::ui::test;
using Item = MainWindowItem;
using Command = TForm7::Command;

class HexEditorTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<DemoWindow> w_;

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
  void initTestCase() { RegisterHexEditor(); }
  void init() { w_ = std::make_unique<DemoWindow>(); QVERIFY(w_->Open()); }
  void cleanup() { w_.reset(); }

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
    // Undo right after opening does nothing.
    editor->Action(Command::Undo)->trigger();
    QCOMPARE(editor->Grid()->Data().size(), decompress ? Decompress(stored).size() : stored.size());
    QVERIFY(!editor->Changed());
    // The same node opens one window, from either command.
    w_->form.Action(Item::HexEditorRaw)->trigger();
    w_->form.Action(Item::HexEditorDecompressed)->trigger();
    QCOMPARE(w_->form.MdiArea()->subWindowList().size(), 1);
    QCOMPARE(w_->form.MdiArea()->subWindowList().front()->minimumSize(),
             QSize(TForm7::kMinWidth, TForm7::kMinHeight));

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
    QApplication::clipboard()->setText(QStringLiteral("0a b-C"));
    editor->Action(Command::InsertMode)->setChecked(true);
    editor->Action(Command::Paste)->trigger();
    QCOMPARE(grid->Data(), (Bytes{0x0A, 0xBC, 0x11, 0x22}));
    QCOMPARE(grid->Cursor(), std::size_t{2});
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

  void StatusShowsBothByteOrders_data() {
    QTest::addColumn<Bytes>("bytes");
    QTest::addColumn<QString>("be");
    QTest::addColumn<QString>("le");
    QTest::newRow("12 34") << Bytes{0x12, 0x34} << "4660" << "13330";
  }
  void StatusShowsBothByteOrders() {
    QFETCH(Bytes, bytes);
    QFETCH(QString, be);
    QFETCH(QString, le);
    TForm7* editor = OpenWith(bytes);
    editor->Grid()->Select(0, bytes.size() - 1);
    const QStringList parts = editor->StatusLine().split(QLatin1Char('|'));
    QCOMPARE(parts[0], QStringLiteral("Posición : %1").arg(bytes.size() - 1, 8, 10, QLatin1Char('0')));
    QCOMPARE(parts[1], QStringLiteral("Valor (BE) : ") + be);
    QCOMPARE(parts[2], QStringLiteral("Valor (LE) : ") + le);
    QVERIFY(editor->InspectorLine().contains(QStringLiteral("8 bits : %1 /").arg(
        static_cast<std::int8_t>(bytes.back()))));
  }

  void SearchFindsTextAndHexAfterTheSelection() {
    TForm7* editor = OpenWith({0x0A, 0xBC, 'x', 'A', 'b', 0x0A, 0xBC, 'a', 'B'});
    THexEditor* grid = editor->Grid();
    editor->Action(Command::FindHex)->trigger();
    TForm8* search = editor->SearchDialog();
    QCOMPARE(search->windowTitle(), QStringLiteral("Buscar valores hexadecimales"));
    QTest::keyClicks(search->Text(), QStringLiteral("A-B C"));
    QCOMPARE(search->Text()->text(), QStringLiteral("ABC"));  // other characters are removed
    QStringList hits;
    for (int i = 0; i < 3; ++i) {
      QTest::keyClick(search->Text(), Qt::Key_Return);
      hits << QStringLiteral("%1-%2").arg(grid->SelStart()).arg(grid->SelEnd());
    }
    // From the caret at 0 the first hit is at 0; the selection stays after a miss.
    QCOMPARE(hits, (QStringList{"0-1", "5-6", "5-6"}));
    QCOMPARE(w_->user.ShownTexts(), QStringList{QStringLiteral("¡ No se ha encontrado esa cadena !")});
    editor->Action(Command::FindText)->trigger();
    QCOMPARE(search->windowTitle(), QStringLiteral("Buscar texto"));
    search->Text()->setText(QStringLiteral("aB"));
    grid->SetCursor(0);
    QVERIFY(search->Busca());
    QCOMPARE(grid->SelStart(), std::size_t{3});
    QVERIFY(search->Busca());
    QCOMPARE(grid->SelStart(), std::size_t{7});
    QTest::keyClick(search, Qt::Key_Escape);
    QVERIFY(!search->isVisible());
  }

  void ImportReplacesAndExportWrites() {
    TForm7* editor = OpenWith({1, 2, 3});
    const std::filesystem::path folder = w_->work;
    const auto choice = [](const std::filesystem::path& p) {
      return FileChoice{{QString::fromStdString(p.string())}, 0, {}};
    };
    QVERIFY(WriteFileAtomic(folder / "in.bin", Bytes{9, 8}).empty());
    w_->user.files.push_back(choice(folder / "in.bin"));
    editor->Action(Command::Import)->trigger();
    QCOMPARE(editor->Grid()->Data(), (Bytes{9, 8}));
    QVERIFY(editor->Changed());
    editor->Action(Command::Undo)->trigger();
    w_->user.files.push_back(choice(folder / "out.bin"));
    editor->Action(Command::Export)->trigger();
    QCOMPARE(ReadWholeFile(folder / "out.bin"), std::optional<Bytes>(Bytes{1, 2, 3}));
    w_->user.files.push_back(choice(folder / "missing.bin"));
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
    QCOMPARE(editor->ColumnWidthItem(2)->text(), QStringLiteral("2 bytes"));
    editor->BytesPerLineItem(20)->trigger();
    editor->ColumnWidthItem(1)->trigger();
    QCOMPARE(editor->Grid()->BytesPerLine(), 20);
    w_->form.MdiArea()->subWindowList().front()->resize(700, 500);
    editor->CloseWindow();
    QTRY_COMPARE(w_->form.MdiArea()->subWindowList().size(), 0);
    const Settings& s = w_->form.Config().settings;
    QCOMPARE(int(s.bytes_per_line), 20);
    QCOMPARE(int(s.column_width), 1);
    QCOMPARE(s.hex_editor_width, 700);
    editor = Open("boot/menu.cpi", false);
    QVERIFY(editor->BytesPerLineItem(20)->isChecked());
    QCOMPARE(w_->form.MdiArea()->subWindowList().front()->width(), 700);
    // A language switch relabels the open window.
    w_->form.CargaIdioma(2);
    QVERIFY(editor->windowTitle().startsWith(QStringLiteral("Hex editor - boot:menu.cpi")));
    QCOMPARE(editor->Action(Command::Redo)->text(), QStringLiteral("&Redo"));

    // docs/: a picture of the window on the demo when asked for.
    const QByteArray shot = qgetenv("CORVANE_HEX_SCREENSHOT");
    if (!shot.isEmpty()) {
      w_->form.CargaIdioma(1);
      editor->BytesPerLineItem(16)->trigger();
      editor->ColumnWidthItem(4)->trigger();
      w_->form.MdiArea()->subWindowList().front()->setGeometry(0, 0, 760, 460);
      editor->Grid()->Select(0x10, 0x13);
      QApplication::processEvents();
      QVERIFY(w_->form.grab().save(QString::fromLocal8Bit(shot), "PNG"));
    }
  }
};

QTEST_MAIN(HexEditorTest)
#include "hex_editor_test.moc"
