// The run's files checked before it starts: no two outputs and no output
// and one of the program's own files (its log, its device file, the input
// script) are the same file, and each output can be written.
#include <filesystem>
#include <system_error>
#include <vector>

#include "plattform/datei/datei.h"
#include "plattform/fehler/fehler.h"
#include "plattform/start/start.h"

namespace ersatz {
namespace {

namespace fs = std::filesystem;

// The file a name stands for, with every link and ".." resolved as far as
// the file exists; two names of one existing file (hard links) are the same
// file too.
bool Gleiche_Datei(const std::string& a, const std::string& b) {
  std::error_code fc;
  if (fs::equivalent(a, b, fc)) return true;
  const fs::path ka = fs::weakly_canonical(fs::absolute(a, fc), fc);
  const fs::path kb = fs::weakly_canonical(fs::absolute(b, fc), fc);
  return !ka.empty() && ka == kb;
}

// A name --capture-dir gives one of its frames: frame-NNNNN.png in it.
bool Ist_Bild_Im_Ordner(const std::string& pfad, const std::string& ordner) {
  const fs::path p(pfad);
  const std::string name = p.filename().string();
  if (name.size() != 15 || name.rfind("frame-", 0) != 0 || name.compare(11, 4, ".png") != 0 ||
      name.find_first_not_of("0123456789", 6) != 11)
    return false;
  return Gleiche_Datei(p.parent_path().empty() ? "." : p.parent_path().string(), ordner);
}

}  // namespace

bool Ausgaben_Pruefen(const Einstellungen& e, std::string& meldung,
                      const std::vector<Datei_Angabe>& weitere) {
  std::vector<Datei_Angabe> ausgaben;
  for (const Datei_Angabe& a :
       {Datei_Angabe{"--capture", e.capture}, Datei_Angabe{"--export", e.export_},
        Datei_Angabe{"--export-growth", e.exportWachstum}, Datei_Angabe{"--film", e.film},
        Datei_Angabe{"--frame-times", e.bildzeiten}})
    if (!a.pfad.empty()) ausgaben.push_back(a);
  ausgaben.insert(ausgaben.end(), weitere.begin(), weitere.end());
  std::vector<Datei_Angabe> eigene = {{"the program's log", "Protokoll.txt"},
                                      {"the program's device file", "device.gra"}};
  if (!e.eingabe.empty()) eigene.push_back({"the input script", e.eingabe});
  for (std::size_t i = 0; i < ausgaben.size(); ++i) {
    const Datei_Angabe& a = ausgaben[i];
    for (std::size_t k = i + 1; k < ausgaben.size(); ++k) {
      if (!Gleiche_Datei(a.pfad, ausgaben[k].pfad)) continue;
      meldung = a.wer + " and " + ausgaben[k].wer + " name the same file, " + Lesbar(a.pfad);
      return false;
    }
    for (const Datei_Angabe& f : eigene) {
      if (!Gleiche_Datei(a.pfad, f.pfad)) continue;
      meldung = a.wer + " " + Lesbar(a.pfad) + " would overwrite " + f.wer;
      return false;
    }
    if (!e.captureOrdner.empty() && Gleiche_Datei(a.pfad, e.captureOrdner)) {
      meldung = a.wer + " " + Lesbar(a.pfad) + " names the folder --capture-dir writes into";
      return false;
    }
    if (!e.captureOrdner.empty() && Ist_Bild_Im_Ordner(a.pfad, e.captureOrdner)) {
      meldung = a.wer + " " + Lesbar(a.pfad) + " names a frame that --capture-dir writes";
      return false;
    }
    const std::string grund = Datei_Pruefen(a.pfad);
    if (!grund.empty()) {
      meldung = "cannot write " + Lesbar(a.pfad) + ": " + grund;
      return false;
    }
  }
  return true;
}

}  // namespace ersatz
