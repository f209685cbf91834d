#include <png.h>

#include <cstdio>

#include "plattform/aufnahme/aufnahme.h"
#include "plattform/datei/datei.h"

namespace ersatz {
namespace {

// libpng's own handlers would print each failure; the caller says it once.
void Png_Fehler(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void Png_Warnung(png_structp, png_const_charp) {}

bool Png_In_Datei(std::FILE* pDatei, unsigned nBreite, unsigned nHoehe,
                  const std::vector<std::uint8_t>& rgb) {
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, Png_Fehler, Png_Warnung);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, pDatei);
  png_set_IHDR(png, info, nBreite, nHoehe, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 3);
  png_write_info(png, info);
  for (unsigned y = 0; y < nHoehe; ++y)
    png_write_row(png, const_cast<png_bytep>(rgb.data() + std::size_t(y) * nBreite * 3));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

std::string Png_Schreiben(const std::string& pfad, unsigned nBreite, unsigned nHoehe,
                          const std::vector<std::uint8_t>& rgb) {
  if (rgb.size() != std::size_t(nBreite) * nHoehe * 3) return "the picture's size does not fit";
  return Datei_Ganz_Schreiben(
      pfad, [&](std::FILE* pDatei) { return Png_In_Datei(pDatei, nBreite, nHoehe, rgb); });
}

bool Png_Lesen(const std::string& pfad, unsigned& nBreite, unsigned& nHoehe,
               std::vector<std::uint8_t>& rgb) {
  png_image bild{};
  bild.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&bild, pfad.c_str())) return false;
  bild.format = PNG_FORMAT_RGB;
  rgb.assign(PNG_IMAGE_SIZE(bild), 0);
  if (!png_image_finish_read(&bild, nullptr, rgb.data(), 0, nullptr)) {
    png_image_free(&bild);
    return false;
  }
  nBreite = bild.width;
  nHoehe = bild.height;
  return true;
}

}  // namespace ersatz
