#pragma once
// The film (--film FILE): every presented frame, at the program's 25 frames
// a second, encoded while the run goes by FFmpeg's libraries, as H.264 in
// MP4, VP9 in WebM, a looping GIF with a palette made for each frame, or a
// lossless APNG. An observer of the devices, as the captures are; frames go
// through a bounded queue to a worker thread that encodes them. The file is
// written whole (datei/datei.h). FFmpeg's part is a module of its own,
// loaded only for a film.
//   laden.cpp    in the program: these calls, loading the module first
//   modul.h      what the module hands the loader
//   film.cpp     the module: the observer, the queue and the worker
//   kodierer.cpp the module: the encoder and the container of each kind
#include <string>

namespace ersatz {

// Loads the module and tells whether the name's ending names a kind of
// film; otherwise a message (the module missing or not loading, or the
// ending).
bool Film_Name_Pruefen(const std::string& pfad, std::string& fehler);

// Starts watching for the film at pfad. nErwartet: the frames the run will
// present, for the progress line (0: not known); bFortschritt: show the
// line (frames done, of how many) on standard error.
void Film_Einrichten(const std::string& pfad, unsigned long nErwartet, bool bFortschritt);
// Waits for the worker and finishes the file; false with a message naming
// the file and the reason. Nothing to do when no film was asked for.
bool Film_Abschliessen(std::string& fehler);

}  // namespace ersatz
