// The palette, image and icon-collection editors on the demo image: imports and their undo,
// the palette list, the icon list's selection after adding and deleting, the close question,
// and a palette written in one editor redrawing the images that use it.
#include <QComboBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include "base/file_io.h"
#include "icon_editor.h"
#include "image_editor.h"
#include "main_window.h"
#include "palette_choice.h"
#include "palette_editor.h"
#include "editors.h"
#include "ui_test_support.h"
#include "ui_text.h"

using namespace corvane;
using namespace corvane::ui;
using namespace corvane::ui::test;

namespace {

// A 4-bit bitmap file whose pixel (x, y) is (x + y) mod 16.
std::filesystem::path WriteBitmap16(const std::filesystem::path& file, int width, int height,
                                    int bits = 4) {
  Bitmap bitmap{width, height, bits, std::vector<Rgb>(bits == 4 ? 16 : 256), {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) bitmap.pixels.push_back(static_cast<std::uint8_t>((x + y) % 16));
  WriteFileAtomic(file, WriteBitmap(bitmap));
  return file;
}

Bytes Stored(const TNodo& node) {
  const ByteView v = node.Data.View();
  return Bytes(v.span().begin(), v.span().end());
}

}  // namespace

class GraphicsEditorsTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TestInis> inis_;
  std::unique_ptr<FakeUser> user_;
  std::unique_ptr<TMainForm> form_;

  template <typename Editor>
  Editor* Open(const std::string& path) {
    TNodo* node = NodeAt(*form_, path);
    form_->AbreHijo(node);
    return qobject_cast<Editor*>(form_->EditorOf(node));
  }
  std::filesystem::path Folder() const { return inis_->Folder().parent_path(); }
  void Choose(const std::filesystem::path& file, int filter = 0) {
    user_->files.push_back(FileChoice{{QString::fromStdString(file.string())}, filter, {}});
  }
  static void Gone() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

 private slots:
  void initTestCase() { RegisterEditors(); }
  void init() {
    inis_ = std::make_unique<TestInis>();
    user_ = std::make_unique<FakeUser>();
    form_ = std::make_unique<TMainForm>();
    OpenThroughDialog(*form_, *user_, WriteDemo(Folder()), 2);
    // The colour dialog answers pure red.
    PromptHooks hooks = Prompts::SetHooks({});
    hooks.colour = [](const QColor&) { return std::optional<QColor>(QColor(255, 0, 0)); };
    Prompts::SetHooks(hooks);
  }
  void cleanup() {
    form_.reset();
    user_.reset();
    inis_.reset();
  }

  void CloseQuestionKeepsOrDiscardsTheColour_data() {
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("stays_open");
    QTest::newRow("cancel keeps window and change") << Answer::Cancel << true;
    QTest::newRow("no discards") << Answer::No << false;
  }
  void CloseQuestionKeepsOrDiscardsTheColour() {
    QFETCH(Answer, answer);
    QFETCH(bool, stays_open);
    QPointer<TForm3> editor = Open<TForm3>("boot/main.luz");
    const Bytes before = Stored(*editor->Node());
    QTest::mouseClick(editor->Swatch(3), Qt::LeftButton);
    QCOMPARE(editor->Colours()[3].red, 255);
    user_->answers = {answer};
    editor->CancelButton()->click();
    Gone();
    QCOMPARE(!editor.isNull(), stays_open);
    if (editor) QVERIFY(editor->Changed() && editor->Colours()[3].red == 255);
    QCOMPARE(Stored(*NodeAt(*form_, "boot/main.luz")), before);
  }

  void PaletteImports_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("filter");
    QTest::addColumn<bool>("accepted");
    QByteArray jasc = "JASC-PAL\r\n0100\r\n16\r\n";
    for (int i = 0; i < 16; ++i) jasc += QByteArray::number(i * 16) + " 1 2\r\n";
    QTest::newRow("valid JASC") << jasc << 0 << true;
    QTest::newRow("small-letter header") << QByteArray(jasc).replace("JASC", "jasc") << 0 << false;
    QTest::newRow("not a bitmap") << jasc << 1 << false;
  }
  void PaletteImports() {
    QFETCH(QByteArray, file);
    QFETCH(int, filter);
    QFETCH(bool, accepted);
    TForm3* editor = Open<TForm3>("boot/main.luz");
    editor->SetMode(5, 0);
    const auto before = editor->Colours();
    const auto path = Folder() / "in.pal";
    WriteFileAtomic(path, ByteView(reinterpret_cast<const std::uint8_t*>(file.data()),
                                   static_cast<std::size_t>(file.size())));
    Choose(path, filter);
    editor->ImportButton()->click();
    QCOMPARE(user_->shown.empty(), accepted);
    if (!accepted) {
      QCOMPARE(editor->Colours(), before);
      return;
    }
    for (int i = 0; i < 16; ++i) {
      QCOMPARE(editor->Colours()[static_cast<std::size_t>(i)].red, i * 16);
      QCOMPARE(editor->ModeLabel(i)->text(), QStringLiteral("Modo 1"));
    }
    editor->UndoAction()->trigger();
    QCOMPARE(editor->Colours(), before);
    QCOMPARE(editor->ModeLabel(5)->text(), QStringLiteral("Modo 0"));
  }

  void OtherPaletteChangesOnlyTheDisplay() {
    TForm4* editor = Open<TForm4>("boot/logo.imz");
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
  }

  void UnchangedImageIsWrittenBackOnOk() {
    QPointer<TForm4> editor = Open<TForm4>("boot/logo.imz");
    QVERIFY(!form_->FirmwareModificado());
    editor->OkButton()->click();
    Gone();
    QVERIFY(editor.isNull());
    QVERIFY(form_->FirmwareModificado());
  }

  void ImageImportIsUndone() {
    TForm4* editor = Open<TForm4>("boot/logo.imz");
    const Bytes plain = editor->Image().Plain();
    Choose(WriteBitmap16(Folder() / "big.bmp", 640, 480));
    editor->ImportButton()->click();
    QCOMPARE(editor->Image().Width(), 640);
    QCOMPARE(editor->View()->Picture().Height(), 480);
    QVERIFY(editor->Changed());
    editor->UndoAction()->trigger();
    QCOMPARE(editor->Image().Plain(), plain);
    QVERIFY(!editor->Changed());
    Choose(WriteBitmap16(Folder() / "deep.bmp", 8, 8, 8));
    editor->ImportButton()->click();
    QVERIFY(user_->Showed(Msg(rows::kBitmapNot16Colours)));
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
    TForm5* editor = Open<TForm5>("panels/icons.icz");
    for (int i = 0; i < deletes_first; ++i) editor->DeleteButton()->click();
    editor->ShowIcon(shown);
    if (add) {
      Choose(WriteBitmap16(Folder() / "nueva.bmp", 6, 4));
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
    TForm5* editor = Open<TForm5>("panels/icons.icz");
    Choose(WriteBitmap16(Folder() / "FLECHA.bmp", 4, 4));
    editor->ImportButton()->click();  // replacing renames icon 0
    QCOMPARE(editor->IconList()->itemText(0), QStringLiteral("FLECHA"));
    const TMHWIconLib before = editor->Icons();
    Choose(WriteBitmap16(Folder() / "Flecha.bmp", 4, 4));
    editor->NewButton()->click();
    QVERIFY(user_->Showed(Msg(rows::kIconBitmapRuleSecond)));
    QCOMPARE(editor->Icons().icons, before.icons);
    // Undo takes the replaced icon back with its name.
    editor->UndoAction()->trigger();
    QCOMPARE(editor->IconList()->itemText(0), QStringLiteral("arriba"));
  }

  void PaletteOkRedrawsOnlyItsImages() {
    TForm4* same = Open<TForm4>("boot/logo.imz");
    TForm4* other = Open<TForm4>("panels/back.imz");
    const PixelBuffer same_before = same->View()->Picture();
    const PixelBuffer other_before = other->View()->Picture();
    TForm3* palette = Open<TForm3>("boot/main.luz");
    for (int i = 0; i < 16; ++i) QTest::mouseClick(palette->Swatch(i), Qt::LeftButton);
    palette->OkButton()->click();
    QVERIFY(same->View()->Picture() != same_before);
    QCOMPARE(same->View()->Picture().Get(0, 0), (Rgb{255, 0, 0}));
    QCOMPARE(other->View()->Picture(), other_before);
    QVERIFY(!same->Changed());
  }

  void DeletedPaletteIsNeverReadAgain() {
    TForm4* editor = Open<TForm4>("boot/logo.imz");
    const PixelBuffer shown = editor->View()->Picture();
    Click(*form_, NodeAt(*form_, "boot/main.luz"));
    form_->DeleteSelected();
    QVERIFY(NodeAt(*form_, "boot/main.luz") == nullptr);
    form_->CambioColorPaleta(QStringLiteral("boot:main.luz"));
    QCOMPARE(editor->View()->Picture(), shown);
  }
};

QTEST_MAIN(GraphicsEditorsTest)
#include "graphics_editors_test.moc"
