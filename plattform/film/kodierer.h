#pragma once
// One film's encoder and container (FFmpeg's libraries), fed the frames
// as the back buffer holds them, at 25 a second. Each call returns "" or the reason it failed,
// as a user reads it.
#include <cstdint>
#include <memory>
#include <string>

#include "plattform/d3d8/d3d8.h"

namespace ersatz {

// The kinds of film, by the name's ending; null for any other name.
struct Film_Art;
const Film_Art* Film_Art_Finden(const std::string& pfad);

class Kodierer {
 public:
  Kodierer();
  ~Kodierer();
  Kodierer(const Kodierer&) = delete;
  Kodierer& operator=(const Kodierer&) = delete;

  // Starts the film into the file at ausgabe; bSuchbar: the file is a
  // regular one that can be read back (an MP4 then moves its index to the
  // front, so players start before the whole file is there).
  std::string Oeffnen(const Film_Art& art, const std::string& ausgabe, bool bSuchbar,
                      UINT nBreite, UINT nHoehe, D3DFORMAT Format);
  // The next frame: nHoehe rows of the format's pixels, nPitch bytes apart,
  // top to bottom.
  std::string Bild(const void* pBits, int nPitch);
  // Encodes what is still held back and ends the container.
  std::string Schliessen();

 private:
  struct Zustand;
  std::unique_ptr<Zustand> z;
};

}  // namespace ersatz
