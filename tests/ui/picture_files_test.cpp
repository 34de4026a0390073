// Bitmaps and PNG pictures the core writes, read back by Qt's own image readers.
#include <QImage>
#include <QtTest>

#include "base/bitmap.h"
#include "render/pixel_buffer.h"
#include "render/png.h"

using namespace corvane;

namespace {

QImage Load(const Bytes& bytes, const char* format) {
  return QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()),
                          static_cast<int>(bytes.size()), format);
}

QRgb Expected(const Bitmap& b, int x, int y) {
  const Rgb c = BitmapColour(b, x, y);
  return qRgb(c.r, c.g, c.b);
}

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
    QVERIFY(!image.isNull());
    QCOMPARE(image.width(), width);
    QCOMPARE(image.height(), height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) QCOMPARE(image.pixel(x, y), Expected(b, x, y));
  }

  void pngOfABuffer() {
    PixelBuffer buffer(7, 4, {10, 20, 30});
    buffer.FillRect(2, 1, 4, 2, {250, 0, 128});
    const QImage image = Load(EncodePng(buffer), "PNG");
    QCOMPARE(image.size(), QSize(7, 4));
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 7; ++x) {
        const Rgb c = buffer.Get(x, y);
        QCOMPARE(image.pixel(x, y), qRgb(c.r, c.g, c.b));
      }
  }
};

QTEST_MAIN(PictureFilesTest)
#include "picture_files_test.moc"
