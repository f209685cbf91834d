#pragma once
// The PNG captures (--capture, --capture-dir): an observer of the devices
// that keeps the last shown frame and writes each shown frame into a
// folder, whichever front-end shows them.
//   aufnahme.cpp  the observer and the launcher's set-up and finish
//   png.cpp       PNG files (libpng)
#include <cstdint>
#include <string>
#include <vector>

namespace ersatz {

// datei: the last presented frame is kept for it; ordner: every frame is
// written there as frame-00000.png, ... Either may be empty.
void Aufnahme_Einrichten(const std::string& datei, const std::string& ordner);
// Writes the kept last frame to the capture file; false with a message
// when there was no frame or the file could not be written.
bool Aufnahme_Abschliessen(std::string& fehler);

// PNG files of captured frames: 8-bit RGB, rows top to bottom, each file
// written whole (datei/datei.h); "" or why it was not written.
std::string Png_Schreiben(const std::string& pfad, unsigned nBreite, unsigned nHoehe,
                          const std::vector<std::uint8_t>& rgb);
bool Png_Lesen(const std::string& pfad, unsigned& nBreite, unsigned& nHoehe,
               std::vector<std::uint8_t>& rgb);

}  // namespace ersatz
