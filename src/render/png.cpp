#include "render/png.h"

#if CORVANE_HAVE_PNG
#include <png.h>
#endif

namespace corvane {

#if CORVANE_HAVE_PNG
namespace {

void AppendData(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

}  // namespace

Bytes EncodePng(const PixelBuffer& buffer) {
  if (buffer.Width() <= 0 || buffer.Height() <= 0) return {};
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return {};
  png_infop info = png_create_info_struct(png);
  Bytes out;
  // libpng reports errors by longjmp; nothing with a destructor is created below this point.
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &out, AppendData, NoFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(buffer.Width()),
               static_cast<png_uint_32>(buffer.Height()), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < buffer.Height(); ++y)
    png_write_row(png, const_cast<png_bytep>(buffer.Row(y)));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

#else
// Built without libpng (the Windows command-line tool): no PNG output.
Bytes EncodePng(const PixelBuffer&) { return {}; }
#endif

}  // namespace corvane
