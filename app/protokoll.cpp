#include <cstdarg>

#include "app/app.h"

FILE* pProtokoll = nullptr;

// Each line goes to the file at once: a run that ends abnormally (killed,
// crashed) keeps its log up to that point.
void Protokoll_Schreiben(const char* szFormat, ...) {
  if (!pProtokoll) return;
  va_list argumente;
  va_start(argumente, szFormat);
  vfprintf(pProtokoll, szFormat, argumente);
  va_end(argumente);
  fflush(pProtokoll);
}
