// The font editor on the demo image's fonts ("fudemi" 24, "videotex" 10, "sans" 12): what may
// change for each character, pixel strokes and widths with undo, the model's space rule, glyph
// bitmaps, the character map, "OK" reaching the saved image, and the toolbar's font lists.
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>
#include <QtTest>

#include "character_grid.h"
#include "character_map.h"
#include "config/ini.h"
#include "font_editor.h"
#include "main_window.h"
#include "ui_test_support.h"

using namespace corvane;
using namespace corvane::ui;
using namespace corvane::ui::test;

namespace {
constexpr int kFudemi = 0;
constexpr int kVideotex = 1;
constexpr int kSans = 2;
}  // namespace

class FontEditorTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TestInis> inis_;
  std::unique_ptr<FakeUser> user_;
  std::unique_ptr<TMainForm> form_;
  std::filesystem::path dir_;

  FileChoice Chosen(const std::filesystem::path& file) {
    FileChoice choice;
    choice.files = {QString::fromStdString(file.string())};
    return choice;
  }

 private slots:
  void init() {
    inis_ = std::make_unique<TestInis>();
    user_ = std::make_unique<FakeUser>();
    form_ = std::make_unique<TMainForm>();
    dir_ = inis_->Folder().parent_path();
    OpenThroughDialog(*form_, *user_, WriteDemo(dir_), 2);
  }
  void cleanup() {
    form_.reset();
    user_.reset();
    inis_.reset();
  }

  void WhatMayChangeFollowsFontAndCharacter_data() {
    QTest::addColumn<int>("font");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("bitmaps");
    QTest::addColumn<bool>("width");
    QTest::addRow("fudemi 1F") << kFudemi << 0x1F << false << false;
    QTest::addRow("fudemi 20") << kFudemi << 0x20 << true << true;
    QTest::addRow("videotex 05") << kVideotex << 0x05 << true << false;
    QTest::addRow("sans 00") << kSans << 0x00 << true << true;
  }
  void WhatMayChangeFollowsFontAndCharacter() {
    QFETCH(int, font);
    QFETCH(int, code);
    QFETCH(bool, bitmaps);
    QFETCH(bool, width);
    TForm14 editor(*form_);
    QCOMPARE(editor.FontList()->itemText(kFudemi), QStringLiteral("fudemi - 24"));
    QCOMPARE(editor.CharacterList()->currentText(), QStringLiteral("21"));
    editor.FontList()->setCurrentIndex(font);
    editor.CharacterList()->setCurrentIndex(code);
    QCOMPARE(editor.ImportButton()->isEnabled(), bitmaps);
    QCOMPARE(editor.ExportButton()->isEnabled(), bitmaps);
    QCOMPARE(editor.WidthList()->isEnabled(), width);
  }

  void StrokesAndWidthsUndo() {
    TForm14 editor(*form_);
    editor.FontList()->setCurrentIndex(kFudemi);
    editor.CharacterList()->setCurrentIndex('W');
    const TLetra original = editor.Fonts().fonts[kFudemi].glyphs['W'];
    QVERIFY(original.width >= 6);
    // One drag over the top row: every pixel takes the first one's new value.
    const bool ink = !original.Ink(0, 0);
    const int zoom = editor.Zoom();
    QTest::mousePress(editor.Glyph(), Qt::LeftButton, {}, QPoint(zoom / 2, zoom / 2));
    for (int c = 1; c < 4; ++c) {
      QMouseEvent move(QEvent::MouseMove, QPointF(c * zoom + 1, 1), QPointF(), Qt::NoButton,
                       Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(editor.Glyph(), &move);
    }
    QTest::mouseRelease(editor.Glyph(), Qt::LeftButton, {}, QPoint(3 * zoom + 1, 1));
    const TLetra& g = editor.Fonts().fonts[kFudemi].glyphs['W'];
    for (int c = 0; c < 4; ++c) QCOMPARE(g.Ink(c, 0), ink);
    QCOMPARE(editor.UndoStack()->count(), 1);

    // Shrinking to 4 keeps columns 0-3 of every row.
    const TLetra painted = g;
    QVERIFY(editor.SetWidth(4));
    QCOMPARE(editor.WidthList()->currentText(), QStringLiteral("4"));
    const int height = editor.Fonts().fonts[kFudemi].height;
    for (int r = 0; r < height; ++r)
      for (int c = 0; c < 4; ++c) QCOMPARE(g.Ink(c, r), painted.Ink(c, r));
    editor.UndoStack()->undo();
    QCOMPARE(g.picture, painted.picture);
    editor.UndoStack()->undo();
    QCOMPARE(g.picture, original.picture);
    QVERIFY(!editor.Changed());
  }

  void WideningRefusedWhenTheAreaIsFull() {
    TForm14 editor(*form_);
    editor.FontList()->setCurrentIndex(kSans);
    // Widen glyph after glyph until the font area has no room left.
    int refused_at = -1;
    for (int code = 'A'; code <= 'z' && refused_at < 0; ++code) {
      editor.CharacterList()->setCurrentIndex(code);
      while (editor.Fonts().fonts[kSans].glyphs[static_cast<std::size_t>(code)].width <
             TForm14::kMaxWidth) {
        const int width = editor.Fonts().fonts[kSans].glyphs[static_cast<std::size_t>(code)].width;
        editor.WidthList()->setCurrentIndex(width + 1);
        if (editor.Fonts().fonts[kSans].glyphs[static_cast<std::size_t>(code)].width == width) {
          refused_at = width;
          break;
        }
      }
    }
    QVERIFY(refused_at >= 0);
    QCOMPARE(editor.WidthList()->currentText(), QString::number(refused_at));
    QVERIFY(user_->shown.empty());  // refused silently
  }

  void GlyphBitmapsExportAndImport() {
    TForm14 editor(*form_);
    editor.FontList()->setCurrentIndex(kSans);
    editor.CharacterList()->setCurrentIndex('A');
    const auto bmp = dir_ / "a.bmp";
    user_->files = {Chosen(bmp)};
    editor.ExportButton()->click();
    QVERIFY(std::filesystem::exists(bmp));
    editor.CharacterList()->setCurrentIndex('B');
    user_->files = {Chosen(bmp)};
    editor.ImportButton()->click();
    QCOMPARE(editor.Fonts().fonts[kSans].glyphs['B'].picture,
             editor.Fonts().fonts[kSans].glyphs['A'].picture);
    // A bitmap of another height is refused with the message and changes nothing.
    editor.FontList()->setCurrentIndex(kVideotex);
    const TLetra before = editor.Fonts().fonts[kVideotex].glyphs['B'];
    user_->files = {Chosen(bmp)};
    editor.ImportButton()->click();
    QVERIFY(user_->Showed(QStringLiteral("2 colores")));
    QCOMPARE(editor.Fonts().fonts[kVideotex].glyphs['B'].picture, before.picture);
  }

  void CharacterMapPicksTheClickedCharacter() {
    TForm14 editor(*form_);
    TForm22* map = editor.CharacterMap();
    QTimer::singleShot(0, map, [map] {
      CharacterGrid* grid = map->Grid();
      QTest::mouseMove(grid, QPoint(1 * grid->CellWidth(), 4 * grid->CellHeight()));
      QCOMPARE(map->StatusText(), QStringLiteral("Carácter : 65 (0x41)"));
      QTest::mouseClick(grid, Qt::LeftButton, {},
                        QPoint(2 * grid->CellWidth(), 4 * grid->CellHeight()));
    });
    editor.MapButton()->click();
    QCOMPARE(editor.CurrentCharacter(), 0x42);
    QCOMPARE(editor.CharacterList()->currentText(), QStringLiteral("42"));
  }

  void OkReachesTheSavedImage_data() {
    QTest::addColumn<bool>("ok");
    QTest::addRow("OK") << true;
    QTest::addRow("Cancelar, not saved") << false;
  }
  void OkReachesTheSavedImage() {
    QFETCH(bool, ok);
    const TLetra original = form_->Doc().Fonts().fonts[kFudemi].glyphs['C'];
    TLetra edited;
    {
      TForm14 editor(*form_);
      editor.CharacterList()->setCurrentIndex('C');
      editor.BeginStroke(1, 2);
      editor.EndStroke();
      edited = editor.Fonts().fonts[kFudemi].glyphs['C'];
      user_->answers = {Answer::No};
      (ok ? editor.OkButton() : editor.CancelButton())->click();
    }
    QVERIFY(edited.picture != original.picture);
    QCOMPARE(form_->FirmwareModificado(), ok);
    QCOMPARE(form_->Doc().Fonts().fonts[kFudemi].glyphs['C'].picture,
             (ok ? edited : original).picture);
    if (!ok) return;
    const auto saved = dir_ / "saved.bin";
    QVERIFY(form_->Doc().Save(saved).ok());
    TMainForm again;
    OpenThroughDialog(again, *user_, saved, 2);
    QCOMPARE(again.Doc().Fonts().fonts[kFudemi].glyphs['C'].picture, edited.picture);
  }

  void ToolbarFontListsRoundTrip() {
    const auto list = dir_ / "fonts" / "list.ini";
    std::filesystem::create_directories(list.parent_path());
    user_->files = {Chosen(list)};
    form_->Action(MainWindowItem::ExtractFontList)->trigger();
    const auto count = [&](const char* name) {
      return QDir(QString::fromStdString((list.parent_path() / name).string()))
          .entryList({"*.bmp"}, QDir::Files)
          .size();
    };
    QCOMPARE(count("fudemi-24"), 224);
    QCOMPARE(count("videotex-10"), 256);
    IniFile ini = *IniFile::Load(list);
    QCOMPARE(ini.ReadString("General", "Dir-0", ""), std::string("fudemi-24"));
    QCOMPARE(ini.ReadString("General", "Dir-1", ""), std::string("videotex-10"));
    // Listed in another order, with one bitmap swapped: it lands in the font of its name.
    ini.WriteString("General", "Dir-0", "videotex-10");
    ini.WriteString("General", "Dir-1", "fudemi-24");
    ini.WriteString("fudemi-24", "Char-41", ini.ReadString("fudemi-24", "Char-42", ""));
    QVERIFY(ini.Save(list).empty());
    QVERIFY(!form_->FirmwareModificado());
    user_->files = {Chosen(list)};
    form_->Action(MainWindowItem::InsertFontList)->trigger();
    const TFuente& fudemi = form_->Doc().Fonts().fonts[kFudemi];
    QCOMPARE(fudemi.glyphs['A'].picture, fudemi.glyphs['B'].picture);
    QVERIFY(form_->FirmwareModificado());
  }
};

QTEST_MAIN(FontEditorTest)
#include "font_editor_test.moc"
