// The film's module: an observer of the devices that copies each
// presented frame into a bounded queue, and a worker thread that encodes
// the queue into the file, so the frame loop waits only when the encoder is
// a queue's worth of frames behind.
#include "plattform/film/modul.h"

#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "plattform/d3d8/beobachter.h"
#include "plattform/datei/datei.h"
#include "plattform/fehler/fehler.h"
#include "plattform/film/kodierer.h"
#include "plattform/win32/win32.h"

namespace ersatz {
namespace {

// A few frames in the queue let the frame loop go on while the encoder
// takes one that costs more than a frame's time; a headless run, faster
// than any encoder, gains nothing from more.
constexpr std::size_t nPlaetze = 4;

using Pixel = std::vector<std::uint8_t>;

class Film : public Angemeldeter_Beobachter {
 public:
  Film(const std::string& pfadNeu, const Film_Art& artNeu, unsigned long nErwartetNeu,
       bool bFortschrittNeu)
      : Pfad(pfadNeu), Art(artNeu), nErwartet(nErwartetNeu), bFortschritt(bFortschrittNeu) {}

  ~Film() override { Arbeit_Beenden(); }

  // The frame loop only copies the back buffer; the worker converts it.
  void Praesentiert(const Praesentiertes_Bild* pBild) override {
    if (!pBild || !grund.empty()) return;
    try {
      if (!Arbeiter.joinable() && !Beginnen(*pBild)) return;
      if (pBild->nBreite != nBreite || pBild->nHoehe != nHoehe || pBild->Format != Format) {
        grund = "frame " + std::to_string(Bildnummer() - 1) + " is not of the first one's kind";
        return;
      }
      Pixel pixel = Platz_Nehmen();
      if (pixel.empty()) return;
      const auto* pQuelle = static_cast<const std::uint8_t*>(pBild->pBits);
      for (UINT y = 0; y < nHoehe; ++y)
        std::memcpy(pixel.data() + std::size_t(y) * nZeile,
                    pQuelle + std::ptrdiff_t(y) * pBild->nPitch, nZeile);
      std::lock_guard<std::mutex> sperre(Sperre);
      Schlange.push_back(std::move(pixel));
      Geaendert.notify_all();
    } catch (const std::bad_alloc&) {
      grund = "out of memory at frame " + std::to_string(Bildnummer() - 1);
    }
  }

  // Waits for the worker, then puts the file in place; a failure on either
  // side removes the unfinished file.
  bool Abschliessen(std::string& fehler) {
    const bool bBegonnen = Arbeiter.joinable();
    Arbeit_Beenden();
    if (grund.empty()) grund = grundArbeit;
    if (bBegonnen) {
      if (nGezeigt) std::fputc('\n', stderr);
      const std::string grundDatei = Datei_Beenden(Vorgang, grund.empty(), 0);
      if (grund.empty()) grund = grundDatei;
    } else if (grund.empty()) {
      fehler = "no frame was presented, so " + Lesbar(Pfad) + " was not written";
      return false;
    }
    if (grund.empty()) return true;
    fehler = "cannot write " + Lesbar(Pfad) + ": " + grund;
    return false;
  }

 private:
  bool Beginnen(const Praesentiertes_Bild& bild) {
    nBreite = bild.nBreite;
    nHoehe = bild.nHoehe;
    Format = bild.Format;
    nZeile = std::size_t(nBreite) * (Format == D3DFMT_X8R8G8B8 || Format == D3DFMT_A8R8G8B8 ? 4 : 2);
    grund = Datei_Beginnen(Pfad, Vorgang);
    if (!grund.empty()) return false;
    try {
      Arbeiter = std::thread([this] { Arbeiten(); });
    } catch (const std::system_error& fehler) {
      grund = std::string("cannot start the encoder's thread: ") + fehler.what();
      Datei_Beenden(Vorgang, false, 0);
      return false;
    }
    return true;
  }

  // A buffer for the next frame, once the queue has room; empty when the
  // worker has given up.
  Pixel Platz_Nehmen() {
    std::unique_lock<std::mutex> sperre(Sperre);
    Geaendert.wait(sperre, [this] { return bArbeitAus || Schlange.size() < nPlaetze; });
    if (bArbeitAus) return {};
    Pixel pixel;
    if (!Frei.empty()) {
      pixel = std::move(Frei.back());
      Frei.pop_back();
    }
    sperre.unlock();
    pixel.resize(nZeile * nHoehe);
    return pixel;
  }

  void Arbeiten() {
    std::string grundHier;
    try {
      Kodierer kodierer;
      const std::string ausgabe = Vorgang.entwurf.empty() ? Vorgang.ziel : Vorgang.entwurf;
      grundHier = kodierer.Oeffnen(Art, ausgabe, !Vorgang.entwurf.empty(), nBreite, nHoehe,
                                   Format);
      while (grundHier.empty()) {
        Pixel pixel;
        {
          std::unique_lock<std::mutex> sperre(Sperre);
          Geaendert.wait(sperre, [this] { return bEnde || !Schlange.empty(); });
          if (Schlange.empty()) break;
          pixel = std::move(Schlange.front());
          Schlange.pop_front();
        }
        grundHier = kodierer.Bild(pixel.data(), int(nZeile));
        {
          std::lock_guard<std::mutex> sperre(Sperre);
          Frei.push_back(std::move(pixel));
          Geaendert.notify_all();
        }
        Fortschritt_Zeigen();
      }
      if (grundHier.empty()) grundHier = kodierer.Schliessen();
    } catch (const std::bad_alloc&) {
      grundHier = "out of memory";
    }
    std::lock_guard<std::mutex> sperre(Sperre);
    grundArbeit = grundHier;
    bArbeitAus = true;
    Schlange.clear();
    Frei.clear();
    Geaendert.notify_all();
  }

  void Fortschritt_Zeigen() {
    ++nFertig;
    if (!bFortschritt) return;
    if (nErwartet)
      std::fprintf(stderr, "\rborkwerk: film, frame %lu of %lu", nFertig, nErwartet);
    else
      std::fprintf(stderr, "\rborkwerk: film, frame %lu", nFertig);
    nGezeigt = nFertig;
  }

  void Arbeit_Beenden() {
    if (!Arbeiter.joinable()) return;
    {
      std::lock_guard<std::mutex> sperre(Sperre);
      bEnde = true;
      Geaendert.notify_all();
    }
    Arbeiter.join();
  }

  const std::string Pfad;
  const Film_Art& Art;
  const unsigned long nErwartet;
  const bool bFortschritt;
  UINT nBreite = 0;
  UINT nHoehe = 0;
  D3DFORMAT Format = D3DFMT_UNKNOWN;
  std::size_t nZeile = 0;  // bytes a row of the frame's copy
  Datei_Vorgang Vorgang;
  std::string grund;  // why the frame loop's side stopped
  std::thread Arbeiter;
  unsigned long nFertig = 0;  // the worker's alone
  unsigned long nGezeigt = 0;

  std::mutex Sperre;  // guards what follows
  std::condition_variable Geaendert;
  std::deque<Pixel> Schlange;
  std::vector<Pixel> Frei;
  bool bEnde = false;
  bool bArbeitAus = false;
  std::string grundArbeit;
};

std::unique_ptr<Film> pFilm;

bool Name_Pruefen(const std::string& pfad, std::string& fehler) {
  if (Film_Art_Finden(pfad)) return true;
  fehler = "--film needs a name ending in .mp4, .webm, .gif or .apng, not '" + Lesbar(pfad) + "'";
  return false;
}

void Einrichten(const std::string& pfad, unsigned long nErwartet, bool bFortschritt) {
  pFilm.reset();
  const Film_Art* pArt = Film_Art_Finden(pfad);
  if (pArt) pFilm = std::make_unique<Film>(pfad, *pArt, nErwartet, bFortschritt);
}

bool Abschliessen(std::string& fehler) {
  fehler.clear();
  if (!pFilm) return true;
  const bool bGut = pFilm->Abschliessen(fehler);
  pFilm.reset();
  return bGut;
}

const Film_Modul Modul = {Name_Pruefen, Einrichten, Abschliessen};

}  // namespace
}  // namespace ersatz

extern "C" __attribute__((visibility("default"))) const ersatz::Film_Modul* borkwerk_film_modul() {
  return &ersatz::Modul;
}
