#include <cstdarg>

#include "app/app.h"

FILE* pProtokoll = nullptr;

void Protokoll_Schreiben(const char* szFormat, ...) {
  if (!pProtokoll) return;
  va_list argumente;
  va_start(argumente, szFormat);
  vfprintf(pProtokoll, szFormat, argumente);
  va_end(argumente);
}
