// The launcher's options: each checked whole, one line for a bad one.
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <set>

#include "plattform/fehler/fehler.h"
#include "plattform/start/start.h"

namespace ersatz {
namespace {

// Whole decimal number within [nMin, nMax], nothing else on the string.
bool Zahl_Lesen(const std::string& text, unsigned long long nMin, unsigned long long nMax,
                unsigned long long& nWert) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
  errno = 0;
  nWert = std::strtoull(text.c_str(), nullptr, 10);
  return errno == 0 && nWert >= nMin && nWert <= nMax;
}

}  // namespace

// An option with a value is given once: a second one would silently win.
// Only --fault may be repeated.
bool Optionen_Lesen(int argc, const char* const* argv, Einstellungen& e, std::string& fehler) {
  std::set<std::string> gesehen;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    e.bKeineOptionen = false;
    auto wert = [&](std::string& ziel) {
      if (i + 1 >= argc) {
        fehler = Lesbar(option) + " needs a value";
        return false;
      }
      if (option != "--fault" && !gesehen.insert(option).second) {
        fehler = option + " is given twice; give it once";
        return false;
      }
      ziel = argv[++i];
      return true;
    };
    auto name = [&](std::string& ziel) {
      if (!wert(ziel)) return false;
      if (!ziel.empty()) return true;
      fehler = option + " needs a file name, not an empty one";
      return false;
    };
    std::string text;
    unsigned long long n = 0;
    if (option == "--windowed") {
      e.bFenster = true;
    } else if (option == "--headless") {
      e.bHeadless = true;
    } else if (option == "--help") {
      e.bHilfe = true;
    } else if (option == "--frames") {
      if (!wert(text)) return false;
      if (!Zahl_Lesen(text, 1, 0xffffffffull, n)) {
        fehler = "--frames needs a whole number from 1 to 4294967295, not '" + Lesbar(text) + "'";
        return false;
      }
      e.nBilder = static_cast<unsigned long>(n);
    } else if (option == "--seed") {
      if (!wert(text)) return false;
      if (!Zahl_Lesen(text, 0, 0xffffffffull, n)) {
        fehler = "--seed needs a whole number from 0 to 4294967295, not '" + Lesbar(text) + "'";
        return false;
      }
      e.nSaat = static_cast<std::uint32_t>(n);
    } else if (option == "--input") {
      if (!name(e.eingabe)) return false;
    } else if (option == "--capture") {
      if (!name(e.capture)) return false;
    } else if (option == "--capture-dir") {
      if (!name(e.captureOrdner)) return false;
    } else if (option == "--export") {
      if (!name(e.export_)) return false;
    } else if (option == "--export-growth") {
      if (!name(e.exportWachstum)) return false;
    } else if (option == "--export-origin") {
      if (!wert(text)) return false;
      if (text != "base" && text != "program") {
        fehler = "--export-origin needs base or program, not '" + Lesbar(text) + "'";
        return false;
      }
      e.bExportProgramm = text == "program";
    } else if (option == "--film") {
      if (!name(e.film)) return false;
    } else if (option == "--frame-times") {
      if (!name(e.bildzeiten)) return false;
    } else if (option == "--fault") {
      if (!wert(text)) return false;
      if (!Fehler_Bekannt(text)) {
        fehler = "unknown fault '" + Lesbar(text) + "' (see --help)";
        return false;
      }
      e.fehler.push_back(text);
    } else {
      fehler = "unknown option '" + Lesbar(option) + "' (see --help)";
      return false;
    }
  }
  if (e.bFenster && e.bHeadless) {
    fehler = "--windowed and --headless exclude each other";
    return false;
  }
  return true;
}

std::uint32_t Startzeit(const Einstellungen& e) {
  if (e.nSaat) return *e.nSaat;
  const auto jetzt = std::chrono::system_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(jetzt).count());
}

std::string Optionen_Hilfe() {
  std::string text =
      "usage: borkwerk [options]\n"
      "  --windowed          a normal window instead of full screen\n"
      "  --headless          no window; a virtual millisecond clock\n"
      "  --frames N          present exactly N frames, then close the window\n"
      "  --seed N            start the millisecond clock at N (the tree is seeded from it)\n"
      "  --input FILE        scripted keys and mouse movement by frame number\n"
      "  --capture FILE.png  write the last presented frame as PNG\n"
      "  --capture-dir DIR   write every presented frame as DIR/frame-00000.png, ...\n"
      "  --film FILE         write every presented frame into a film at 25 frames a\n"
      "                      second: H.264 (FILE.mp4), VP9 (FILE.webm), a looping\n"
      "                      GIF (FILE.gif) or a lossless APNG (FILE.apng)\n"
      "  --export FILE       write the tree as the last frame drew it: glTF binary\n"
      "                      (FILE.glb) or Wavefront OBJ (FILE.obj), the OBJ\n"
      "                      with its material in FILE.mtl beside it\n"
      "  --export-growth FILE.glb\n"
      "                      write the tree's growth since its birth or last regrow\n"
      "                      as a glTF animation\n"
      "  --export-origin base|program\n"
      "                      where the exports place the tree: its base at the\n"
      "                      origin, standing on the ground (base, the default), or\n"
      "                      in the program's own world (program)\n"
      "  --frame-times FILE  write the clock's value in ms at each presented frame\n"
      "                      (the last 1000), one a line\n"
      "  --fault NAME        make one platform call fail; NAME is one of:\n";
  for (const auto& name : Fehler_Namen()) text += "                        " + name + "\n";
  text += "  --help              this text\n";
  return text;
}

}  // namespace ersatz
