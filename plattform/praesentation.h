#pragma once
// What Present does besides showing the picture: counting frames, their
// times, and the PNG captures.
#include <cstdint>
#include <string>
#include <vector>

#include "plattform/plattform.h"

namespace ersatz {

// 8-bit RGB of a back buffer; 5- and 6-bit fields widened by bit replication.
std::vector<std::uint8_t> Rgb_Aus_Puffer(const void* pBits, int nPitch, UINT nBreite, UINT nHoehe,
                                         D3DFORMAT Format);

// datei: the last presented frame is kept for it; ordner: every frame is
// written there as frame-00000.png, ... Either may be empty.
void Aufnahme_Einrichten(const std::string& datei, const std::string& ordner);
// Writes the kept last frame to the capture file; false with a message
// when there was no frame or the file could not be written.
bool Aufnahme_Abschliessen(std::string& fehler);

}  // namespace ersatz
