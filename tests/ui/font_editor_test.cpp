// The font editor on the demo image's fonts ("fudemi" 24, "videotex" 10, "sans" 12): what may
// change for each character, pixel strokes and widths with undo, the model's space rule, glyph
// bitmaps, the character map, "OK" reaching the document and the open texts and panels, and the
// toolbar's font lists.

#include "character_grid.h"
#include "character_map.h"
#include "config/ini.h"
#include "font_editor.h"
#include "panel_editor.h"
#include "render/panel_sources.h"
#include "text_editor.h"
#include "ui_test_support.h"

using namespace corvane;
using namespace corvane::ui;
using namespace corvane::ui::test;

namespace {
constexpr int kFudemi = 0;
constexpr int kVideotex = 1;
constexpr int kSans = 2;
}  // namespace

class FontEditorTest : public DemoTest {
  Q_OBJECT

 private slots:
  void WhatMayChangeFollowsFontAndCharacter() {
    TForm14 editor(w_->form);
    QCOMPARE(editor.FontList()->itemText(kFudemi), QStringLiteral("fudemi - 24"));
    const struct {
      int font, code;
      bool bitmaps, width;
    } cases[] = {
        {kFudemi, 0x1F, false, false}, {kVideotex, 0x05, true, false}, {kSans, 0, true, true}};
    for (const auto& c : cases) {
      editor.FontList()->setCurrentIndex(c.font);
      editor.CharacterList()->setCurrentIndex(c.code);
      QCOMPARE(editor.ImportButton()->isEnabled(), c.bitmaps);
      QCOMPARE(editor.ExportButton()->isEnabled(), c.bitmaps);
      QCOMPARE(editor.WidthList()->isEnabled(), c.width);
    }
  }

  void StrokesAndWidthsUndo() {
    TForm14 editor(w_->form);
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

    // Shrinking is a second step.
    const TLetra painted = g;
    QVERIFY(editor.SetWidth(4));
    QCOMPARE(editor.WidthList()->currentText(), QStringLiteral("4"));
    editor.UndoStack()->undo();
    QCOMPARE(g.picture, painted.picture);
    editor.UndoStack()->undo();
    QCOMPARE(g.picture, original.picture);
    QVERIFY(!editor.Changed());
  }

  void WideningRefusedWhenTheAreaIsFull() {
    TForm14 editor(w_->form);
    editor.FontList()->setCurrentIndex(kSans);
    // Widen glyph after glyph until the font area has no room left.
    const auto width = [&](int code) {
      return editor.Fonts().fonts[kSans].glyphs[static_cast<std::size_t>(code)].width;
    };
    int refused_at = -1;
    for (int code = 'A'; code <= 'z' && refused_at < 0; ++code) {
      editor.CharacterList()->setCurrentIndex(code);
      for (int w = width(code); w < TForm14::kMaxWidth && refused_at < 0; w = width(code)) {
        editor.WidthList()->setCurrentIndex(w + 1);
        if (width(code) == w) refused_at = w;
      }
    }
    QVERIFY(refused_at >= 0);
    QCOMPARE(editor.WidthList()->currentText(), QString::number(refused_at));
    QVERIFY(w_->user.shown.empty());  // refused silently
  }

  void GlyphBitmapsExportAndImport() {
    TForm14 editor(w_->form);
    editor.FontList()->setCurrentIndex(kSans);
    editor.CharacterList()->setCurrentIndex('A');
    const auto bmp = w_->work / "a.bmp";
    w_->Choose(bmp);
    editor.ExportButton()->click();
    editor.CharacterList()->setCurrentIndex('B');
    w_->Choose(bmp);
    editor.ImportButton()->click();
    QCOMPARE(editor.Fonts().fonts[kSans].glyphs['B'].picture,
             editor.Fonts().fonts[kSans].glyphs['A'].picture);
    // A bitmap of another height is refused with the message and changes nothing.
    editor.FontList()->setCurrentIndex(kVideotex);
    const TLetra before = editor.Fonts().fonts[kVideotex].glyphs['B'];
    w_->Choose(bmp);
    editor.ImportButton()->click();
    QVERIFY(w_->user.Showed(QStringLiteral("2 colores")));
    QCOMPARE(editor.Fonts().fonts[kVideotex].glyphs['B'].picture, before.picture);
  }

  void CharacterMapPicksTheClickedCharacter() {
    TForm14 editor(w_->form);
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

  void OkReachesTheDocument_data() {
    QTest::addColumn<bool>("ok");
    QTest::addRow("OK") << true;
    QTest::addRow("Cancelar, not saved") << false;
  }
  void OkReachesTheDocument() {
    QFETCH(bool, ok);
    const TLetra original = w_->form.Doc().Fonts().fonts[kFudemi].glyphs['C'];
    TLetra edited;
    {
      TForm14 editor(w_->form);
      editor.CharacterList()->setCurrentIndex('C');
      editor.BeginStroke(1, 2);
      editor.EndStroke();
      edited = editor.Fonts().fonts[kFudemi].glyphs['C'];
      w_->user.answers = {Answer::No};
      (ok ? editor.OkButton() : editor.CancelButton())->click();
    }
    QVERIFY(edited.picture != original.picture);
    QCOMPARE(w_->form.FirmwareModificado(), ok);
    QCOMPARE(w_->form.Doc().Fonts().fonts[kFudemi].glyphs['C'].picture,
             (ok ? edited : original).picture);
  }

  // Open windows that draw with the fonts show the new glyphs at once.
  void OkRedrawsOpenTextsAndPanels() {
    auto* text = w_->Edit<TForm6>("texts/help.mpz");
    auto* panel = w_->Edit<TForm9>("panels/menu.paz");
    QVERIFY(text && panel && panel->Loaded());
    const QImage preview = text->Preview()->pixmap().toImage();
    const PixelBuffer canvas = panel->Canvas();
    {
      TForm14 editor(w_->form);
      for (int font = 0; font < editor.FontList()->count(); ++font) {
        editor.FontList()->setCurrentIndex(font);
        for (int code = '0'; code <= 'z'; ++code) {
          editor.CharacterList()->setCurrentIndex(code);
          editor.BeginStroke(0, 1);
          editor.EndStroke();
        }
      }
      editor.OkButton()->click();
    }
    QVERIFY(text->Preview()->pixmap().toImage() != preview);
    PanelRenderOptions options;
    options.border = true;
    PixelBuffer expected;
    QVERIFY(RenderPanelNode(*w_->form.Doc().Tree(), *NodeAt(w_->form, "panels/menu.paz"),
                            w_->form.Doc().Fonts(), options, expected)
                .ok());
    QVERIFY(!(expected == canvas));
    QVERIFY(panel->Canvas() == expected);
  }

  void ToolbarFontListsRoundTrip() {
    const auto list = w_->work / "fonts" / "list.ini";
    std::filesystem::create_directories(list.parent_path());
    w_->Choose(list);
    w_->form.Action(MainWindowItem::ExtractFontList)->trigger();
    QVERIFY(std::filesystem::exists(list.parent_path() / "videotex-10" / "FF.bmp"));
    // With one bitmap swapped in the list, inserting it brings that bitmap in.
    IniFile ini = *IniFile::Load(list);
    ini.WriteString("fudemi-24", "Char-41", ini.ReadString("fudemi-24", "Char-42", ""));
    QVERIFY(ini.Save(list).empty());
    QVERIFY(!w_->form.FirmwareModificado());
    w_->Choose(list);
    w_->form.Action(MainWindowItem::InsertFontList)->trigger();
    const TFuente& fudemi = w_->form.Doc().Fonts().fonts[kFudemi];
    QCOMPARE(fudemi.glyphs['A'].picture, fudemi.glyphs['B'].picture);
    QVERIFY(w_->form.FirmwareModificado());
  }
};

QTEST_MAIN(FontEditorTest)
#include "font_editor_test.moc"
