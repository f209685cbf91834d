#include <png.h>

#include <cstdio>
#include <memory>

#include "plattform/aufnahme/aufnahme.h"
#include "plattform/fehler/fehler.h"

namespace ersatz {
namespace {

bool Png_Entwurf_Schreiben(const std::string& pfad, unsigned nBreite, unsigned nHoehe,
                           const std::vector<std::uint8_t>& rgb) {
  Datei datei(std::fopen(pfad.c_str(), "wb"));
  if (!datei) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, datei.get());
  png_set_IHDR(png, info, nBreite, nHoehe, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 3);
  png_write_info(png, info);
  for (unsigned y = 0; y < nHoehe; ++y)
    png_write_row(png, const_cast<png_bytep>(rgb.data() + std::size_t(y) * nBreite * 3));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(datei.release()) == 0;
}

}  // namespace

bool Png_Schreiben(const std::string& pfad, unsigned nBreite, unsigned nHoehe,
                   const std::vector<std::uint8_t>& rgb) {
  if (rgb.size() != std::size_t(nBreite) * nHoehe * 3) return false;
  return Ganz_Schreiben(pfad, [&](const std::string& entwurf) {
    return Png_Entwurf_Schreiben(entwurf, nBreite, nHoehe, rgb);
  });
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
