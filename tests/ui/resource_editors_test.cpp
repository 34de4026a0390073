// The editors' common frame and the palette, image and icon-collection editors on the demo image:
// the close question against the changed flag and the undo stack, "OK" refused by the window,
// change notifications reaching only the other open editors; imports and their undo, the
// palette list, the icon list's selection after adding and deleting, and a palette written in
// one editor redrawing the images that use it.
#include <QUndoCommand>

#include "icon_editor.h"
#include "image_editor.h"
#include "palette_choice.h"
#include "palette_editor.h"
#include "resource_editor.h"
#include "ui_test_support.h"

using namespace corvane;
using namespace corvane::ui;
using namespace corvane::ui::test;

namespace {

class FakeEditor : public ResourceEditor {
 public:
  using ResourceEditor::ResourceEditor;
  bool GuardaDatos() override {
    ++writes;
    return accept_writes;
  }
  void Redibuja(const QString& palette) override { heard << palette; }
  void NodeWrittenElsewhere(const TNodo& node) override { written.push_back(&node); }

  int writes = 0;
  bool accept_writes = true;
  QStringList heard;
  std::vector<const TNodo*> written;
};

class Edit : public QUndoCommand {
 public:
  explicit Edit(int& value) : value_(value) {}
  void redo() override { ++value_; }
  void undo() override { --value_; }

 private:
  int& value_;
};

// A 4-bit bitmap file whose pixel (x, y) is (x + y) mod 16.
std::filesystem::path WriteBitmap16(const std::filesystem::path& file, int width, int height,
                                    int bits = 4) {
  Bitmap bitmap{width, height, bits, std::vector<Rgb>(bits == 4 ? 16 : 256), {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) bitmap.pixels.push_back(static_cast<std::uint8_t>((x + y) % 16));
  WriteFileAtomic(file, WriteBitmap(bitmap));
  return file;
}

}  // namespace

class ResourceEditorsTest : public DemoTest {
  Q_OBJECT

  FakeEditor* Open(const std::string& path) {
    auto* editor = new FakeEditor(w_->form, *NodeAt(w_->form, path));
    w_->form.AddChild(editor);
    return editor;
  }

 private slots:
  void init() {
    DemoTest::init();
    // The colour dialog answers pure red.
    PromptHooks hooks = Prompts::SetHooks({});
    hooks.colour = [](const QColor&) { return std::optional<QColor>(QColor(255, 0, 0)); };
    Prompts::SetHooks(hooks);
  }

  // "No" to the close question discards the colour: the stored palette stays as it was.
  void CloseQuestionDiscardsTheColour() {
    QPointer<TForm3> editor = w_->Edit<TForm3>("boot/main.luz");
    const Bytes before = editor->Node()->Data.Datos;
    QTest::mouseClick(editor->Swatch(3), Qt::LeftButton);
    QCOMPARE(editor->Colours()[3].red, 255);
    w_->user.answers = {Answer::No};
    editor->CancelButton()->click();
    ProcessDeletes();
    QVERIFY(editor.isNull() && w_->user.Showed(Msg(rows::kSaveChanges)));
    QCOMPARE(NodeAt(w_->form, "boot/main.luz")->Data.Datos, before);
  }

  void PaletteImportIsUndone() {
    TForm3* editor = w_->Edit<TForm3>("boot/main.luz");
    editor->SetMode(5, 0);
    const auto before = editor->Colours();
    std::string jasc = "JASC-PAL\r\n0100\r\n16\r\n";
    for (int i = 0; i < 16; ++i) jasc += std::to_string(i * 16) + " 1 2\r\n";
    const auto path = w_->work / "in.pal";
    WriteFileAtomic(path, Bytes(jasc.begin(), jasc.end()));
    w_->Choose(path, 1);  // read as a bitmap: refused, nothing changes
    editor->ImportButton()->click();
    QCOMPARE(w_->user.shown.size(), std::size_t{1});
    QCOMPARE(editor->Colours(), before);
    w_->Choose(path);
    editor->ImportButton()->click();
    QCOMPARE(w_->user.shown.size(), std::size_t{1});
    for (int i = 0; i < 16; ++i) {
      QCOMPARE(editor->Colours()[static_cast<std::size_t>(i)].red, i * 16);
      QCOMPARE(editor->ModeLabel(i)->text(), QStringLiteral("Modo 1"));
    }
    editor->UndoAction()->trigger();
    QCOMPARE(editor->Colours(), before);
    QCOMPARE(editor->ModeLabel(5)->text(), QStringLiteral("Modo 0"));
  }

  void OtherPaletteChangesOnlyTheDisplay() {
    QPointer<TForm4> editor = w_->Edit<TForm4>("boot/logo.imz");
    QCOMPARE(editor->Palettes()->currentText(), QStringLiteral("boot:main.luz"));
    const Bytes plain = editor->Image().Plain();
    const PixelBuffer shown = editor->View()->Picture();
    const int other = editor->Palettes()->findText(QStringLiteral("panels:menu.luz"));
    editor->Palettes()->setCurrentIndex(other);
    emit editor->Palettes()->activated(other);
    QVERIFY(editor->View()->Picture() != shown);
    QCOMPARE(editor->Image().Plain(), plain);
    QVERIFY(!editor->Changed());
    // The status line names the colour drawn under the pointer.
    emit editor->View()->Hovered(5, 7);
    const Rgb drawn = editor->View()->Picture().Get(5, 7);
    QVERIFY(editor->StatusText().contains(
        QStringLiteral("RGB (%1, %2, %3)").arg(drawn.r).arg(drawn.g).arg(drawn.b)));
    // An unchanged image is written back on OK all the same.
    QVERIFY(!w_->form.FirmwareModificado());
    editor->OkButton()->click();
    ProcessDeletes();
    QVERIFY(editor.isNull());
    QVERIFY(w_->form.FirmwareModificado());
  }

  void ImageImportIsUndone() {
    TForm4* editor = w_->Edit<TForm4>("boot/logo.imz");
    const Bytes plain = editor->Image().Plain();
    w_->Choose(WriteBitmap16(w_->work / "big.bmp", 640, 480));
    editor->ImportButton()->click();
    QCOMPARE(editor->Image().Width(), 640);
    QCOMPARE(editor->View()->Picture().Height(), 480);
    QVERIFY(editor->Changed());
    editor->UndoAction()->trigger();
    QCOMPARE(editor->Image().Plain(), plain);
    QVERIFY(!editor->Changed());
    w_->Choose(WriteBitmap16(w_->work / "deep.bmp", 8, 8, 8));
    editor->ImportButton()->click();
    QVERIFY(w_->user.Showed(Msg(rows::kBitmapNot16Colours)));
    QCOMPARE(editor->Image().Plain(), plain);
  }

  void IconListFollowsAddAndDelete_data() {
    QTest::addColumn<int>("deletes_first");
    QTest::addColumn<int>("shown");
    QTest::addColumn<bool>("add");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("selected");
    QTest::newRow("delete the last of five") << 0 << 4 << false << 4 << 3;
    QTest::newRow("add after icon 2 of four") << 1 << 2 << true << 5 << 3;
  }
  void IconListFollowsAddAndDelete() {
    QFETCH(int, deletes_first);
    QFETCH(int, shown);
    QFETCH(bool, add);
    QFETCH(int, count);
    QFETCH(int, selected);
    TForm5* editor = w_->Edit<TForm5>("panels/icons.icz");
    for (int i = 0; i < deletes_first; ++i) editor->DeleteButton()->click();
    editor->ShowIcon(shown);
    if (add) {
      w_->Choose(WriteBitmap16(w_->work / "nueva.bmp", 6, 4));
      editor->NewButton()->click();
    } else {
      editor->DeleteButton()->click();
    }
    QCOMPARE(static_cast<int>(editor->Icons().icons.size()), count);
    QCOMPARE(editor->Shown(), selected);
    QCOMPARE(editor->IconList()->currentIndex(), selected);
    QCOMPARE(editor->IconList()->count(), count);
    if (add) QCOMPARE(editor->IconList()->currentText(), QStringLiteral("nueva"));
  }

  void NewIconNameMustBeFree() {
    TForm5* editor = w_->Edit<TForm5>("panels/icons.icz");
    w_->Choose(WriteBitmap16(w_->work / "FLECHA.bmp", 4, 4));
    editor->ImportButton()->click();  // replacing renames icon 0
    QCOMPARE(editor->IconList()->itemText(0), QStringLiteral("FLECHA"));
    const TMHWIconLib before = editor->Icons();
    w_->Choose(WriteBitmap16(w_->work / "Flecha.bmp", 4, 4));
    editor->NewButton()->click();
    QVERIFY(w_->user.Showed(Msg(rows::kIconBitmapRuleSecond)));
    QCOMPARE(editor->Icons().icons, before.icons);
    // Undo takes the replaced icon back with its name.
    editor->UndoAction()->trigger();
    QCOMPARE(editor->IconList()->itemText(0), QStringLiteral("arriba"));
  }

  void PaletteOkRedrawsOnlyItsImages() {
    TForm4* same = w_->Edit<TForm4>("boot/logo.imz");
    TForm4* other = w_->Edit<TForm4>("panels/back.imz");
    const PixelBuffer same_before = same->View()->Picture();
    const PixelBuffer other_before = other->View()->Picture();
    TForm3* palette = w_->Edit<TForm3>("boot/main.luz");
    for (int i = 0; i < 16; ++i) QTest::mouseClick(palette->Swatch(i), Qt::LeftButton);
    palette->OkButton()->click();
    QVERIFY(same->View()->Picture() != same_before);
    QCOMPARE(same->View()->Picture().Get(0, 0), (Rgb{255, 0, 0}));
    QCOMPARE(other->View()->Picture(), other_before);
    QVERIFY(!same->Changed());
  }

  void DeletedPaletteIsNeverReadAgain() {
    TForm4* editor = w_->Edit<TForm4>("boot/logo.imz");
    const PixelBuffer shown = editor->View()->Picture();
    Click(w_->form, NodeAt(w_->form, "boot/main.luz"));
    w_->form.DeleteSelected();
    QVERIFY(NodeAt(w_->form, "boot/main.luz") == nullptr);
    w_->form.CambioColorPaleta(QStringLiteral("boot:main.luz"));
    QCOMPARE(editor->View()->Picture(), shown);
  }

  void CloseQuestionFollowsTheChange_data() {
    QTest::addColumn<bool>("undo_back");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("stays_open");
    QTest::addColumn<int>("writes");
    QTest::newRow("cancel keeps the window") << false << Answer::Cancel << true << 0;
    QTest::newRow("no discards") << false << Answer::No << false << 0;
    QTest::newRow("yes writes") << false << Answer::Yes << false << 1;
    QTest::newRow("undone back: no question") << true << Answer::Cancel << false << 0;
  }
  void CloseQuestionFollowsTheChange() {
    QFETCH(bool, undo_back);
    QFETCH(Answer, answer);
    QFETCH(bool, stays_open);
    QFETCH(int, writes);
    QPointer<FakeEditor> editor = Open("boot/logo.imz");
    int value = 0;
    editor->Push(new Edit(value));
    QVERIFY(editor->Changed());
    if (undo_back) editor->UndoAction()->trigger();
    QCOMPARE(value, undo_back ? 0 : 1);
    w_->user.answers = {answer};
    const int counted = editor->writes;
    editor->CancelButton()->click();
    ProcessDeletes();
    QCOMPARE(!editor.isNull(), stays_open);
    if (editor) QCOMPARE(editor->writes - counted, writes);
  }

  void RefusedWriteKeepsTheWindow() {
    QPointer<FakeEditor> editor = Open("boot/logo.imz");
    editor->accept_writes = false;
    editor->OkButton()->click();
    ProcessDeletes();
    QVERIFY(!editor.isNull());
    QCOMPARE(editor->writes, 1);
  }

  void NotificationsReachTheOtherEditors() {
    FakeEditor* first = Open("boot/logo.imz");
    FakeEditor* second = Open("texts/menu.mpz");
    w_->form.CambioColorPaleta(QStringLiteral("boot:a.lut"));
    QCOMPARE(first->heard, QStringList{QStringLiteral("boot:a.lut")});
    QCOMPARE(second->heard, first->heard);
    w_->form.NodeWritten(first->Node());
    QVERIFY(first->written.empty());
    QCOMPARE(second->written.size(), std::size_t{1});
  }
};

QTEST_MAIN(ResourceEditorsTest)
#include "resource_editors_test.moc"
