#pragma once
// PNG files of captured frames: 8-bit RGB, rows top to bottom.
#include <cstdint>
#include <string>
#include <vector>

namespace ersatz {

bool Png_Schreiben(const std::string& pfad, unsigned nBreite, unsigned nHoehe,
                   const std::vector<std::uint8_t>& rgb);
bool Png_Lesen(const std::string& pfad, unsigned& nBreite, unsigned& nHoehe,
               std::vector<std::uint8_t>& rgb);

}  // namespace ersatz
