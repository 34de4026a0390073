// Bitmaps, PNG pictures and glyph bitmaps the core writes, read back by Qt's own image readers;
// the demo image carries readable fonts of its own.
#include <QImage>
#include <QtTest>

#include "base/bitmap.h"
#include "demo_image.h"
#include "document/document.h"
#include "render/font_render.h"
#include "render/pixel_buffer.h"
#include "render/png.h"
#include "support/files.h"
#include "support/temp_dir.h"

using namespace corvane;

namespace {

QImage Load(const Bytes& bytes, const char* format) {
  return QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()),
                          static_cast<int>(bytes.size()), format);
}

QRgb QtColour(Rgb c) { return qRgb(c.r, c.g, c.b); }

}  // namespace

class PictureFilesTest : public QObject {
  Q_OBJECT
 private slots:
  void bitmapsAtEveryDepth_data() {
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("width");
    for (int bits : {1, 4, 8, 24})
      for (int width : {1, 5, 13})
        QTest::addRow("%d bits, %d wide", bits, width) << bits << width;
  }
  void bitmapsAtEveryDepth() {
    QFETCH(int, bits);
    QFETCH(int, width);
    const int height = 3;
    Bitmap b{width, height, bits, {}, {}};
    if (bits <= 8)
      for (int i = 0; i < (1 << bits); ++i)
        b.colours.push_back({std::uint8_t(i * 7), std::uint8_t(255 - i), std::uint8_t(i * 3)});
    const int n = width * height * (bits == 24 ? 3 : 1);
    for (int i = 0; i < n; ++i)
      b.pixels.push_back(std::uint8_t(bits == 24 ? i * 29 : (i * 5 + 1) % (1 << bits)));
    const QImage image = Load(WriteBitmap(b), "BMP");
    QCOMPARE(image.size(), QSize(width, height));
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) QCOMPARE(image.pixel(x, y), QtColour(BitmapColour(b, x, y)));
  }

  void pngOfABuffer() {
    PixelBuffer buffer(7, 4, {10, 20, 30});
    buffer.FillRect(2, 1, 4, 2, {250, 0, 128});
    const QImage image = Load(EncodePng(buffer), "PNG");
    QCOMPARE(image.size(), QSize(7, 4));
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 7; ++x) QCOMPARE(image.pixel(x, y), QtColour(buffer.Get(x, y)));
  }

  void glyphBitmap() {
    TMHWFont set;
    set.count = 1;
    set.fonts[0].height = 3;
    set.SetGlyph(0, 'x', 10, "o........o" ".o........" "oooooooooo");
    const QImage image = Load(set.ExportaLetraBytes(0, 'x'), "BMP");
    QCOMPARE(image.size(), QSize(10, 3));
    QCOMPARE(image.depth(), 1);
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 10; ++c)
        QCOMPARE(QColor(image.pixel(c, r)) == Qt::black, set.fonts[0].glyphs['x'].Ink(c, r));
  }

  void demoFontsDrawReadableText() {
    test::TempDir dir;
    test::WriteFile(dir / "demo.bin", demo::DemoImage());
    Document doc;
    QVERIFY(doc.Open(dir / "demo.bin", demo::kDemoModel).ok());
    QVERIFY(doc.FontsFromImage());
    QCOMPARE(doc.Fonts().count, 3);
    PixelBuffer buffer(200, 20, Rgb{255, 255, 255});
    DibujaTexto(buffer, doc.Fonts(), "Corvane", ClipRect{0, 0, 200, 20}, 0, 2, 2, Rgb{});
    const QImage image = Load(EncodePng(buffer), "PNG");
    int ink = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 200; ++x) ink += QColor(image.pixel(x, y)) == Qt::black ? 1 : 0;
    QVERIFY(ink > 100);
  }
};

QTEST_MAIN(PictureFilesTest)
#include "picture_files_test.moc"
