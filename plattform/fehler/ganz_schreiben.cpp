#include <filesystem>
#include <system_error>

#include "plattform/fehler/fehler.h"

namespace ersatz {

bool Ganz_Schreiben(const std::string& pfad,
                    const std::function<bool(const std::string& entwurf)>& schreiben) {
  const std::string entwurf = pfad + ".tmp";
  std::error_code fehler;
  if (schreiben(entwurf)) {
    std::filesystem::rename(entwurf, pfad, fehler);
    if (!fehler) return true;
  }
  std::filesystem::remove(entwurf, fehler);
  return false;
}

}  // namespace ersatz
