// The glyph bitmaps and pictures the fonts write open in an independent reader (QImage); the demo
// image carries readable fonts of its own.
#include <QImage>
#include <QTest>

#include "demo_image.h"
#include "document/document.h"
#include "render/font_render.h"
#include "render/png.h"
#include "support/files.h"
#include "support/temp_dir.h"

using namespace corvane;

class FontBitmapsTest : public QObject {
  Q_OBJECT

 private slots:
  void GlyphBitmapOpensInQImage() {
    TMHWFont set;
    set.count = 1;
    set.fonts[0].height = 3;
    set.SetGlyph(0, 'x', 10, "o........o" ".o........" "oooooooooo");
    const Bytes bmp = set.ExportaLetraBytes(0, 'x');
    QImage image;
    QVERIFY(image.loadFromData(bmp.data(), static_cast<int>(bmp.size()), "BMP"));
    QCOMPARE(image.width(), 10);
    QCOMPARE(image.height(), 3);
    QCOMPARE(image.depth(), 1);
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 10; ++c)
        QCOMPARE(QColor(image.pixel(c, r)) == Qt::black, set.fonts[0].glyphs['x'].Ink(c, r));
  }

  void DemoFontsDrawReadableText() {
    test::TempDir dir;
    const auto file = dir / "demo.bin";
    test::WriteFile(file, demo::DemoImage());
    Document doc;
    QVERIFY(doc.Open(file, demo::kDemoModel).ok());
    QVERIFY(doc.FontsFromImage());
    QCOMPARE(doc.Fonts().count, 3);
    QCOMPARE(QString::fromStdString(doc.Fonts().fonts[0].name), QStringLiteral("fudemi"));
    QVERIFY(doc.Fonts().AnchoTexto("Corvane", 0) > 40);

    PixelBuffer buffer(200, 20, Rgb{255, 255, 255});
    DibujaTexto(buffer, doc.Fonts(), "Corvane", ClipRect{0, 0, 200, 20}, 0, 2, 2, Rgb{});
    const Bytes png = EncodePng(buffer);
    QImage image;
    QVERIFY(image.loadFromData(png.data(), static_cast<int>(png.size()), "PNG"));
    QCOMPARE(image.size(), QSize(200, 20));
    int ink = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 200; ++x) ink += QColor(image.pixel(x, y)) == Qt::black ? 1 : 0;
    QVERIFY(ink > 100);
    // Saving writes the same fonts back.
    QVERIFY(doc.Save(dir / "out.bin").ok());
    Document again;
    QVERIFY(again.Open(dir / "out.bin", demo::kDemoModel).ok());
    for (int f = 0; f < 3; ++f)
      for (int c = 32; c < 256; ++c)
        QVERIFY(again.Fonts().fonts[f].glyphs[c].picture == doc.Fonts().fonts[f].glyphs[c].picture);
  }
};

QTEST_MAIN(FontBitmapsTest)
#include "fonts_bitmap_test.moc"
