#pragma once
// Whole files: the one writer of every file the program writes (the device
// file, the captures, the exports), on both platforms. A file is filled
// under a temporary name beside its target, unique and created
// exclusively, so two runs never share one and no planted name is ever
// followed; only a complete file replaces the target, in one rename, so a
// failed write leaves an earlier file whole and no temporary behind.
//   datei.cpp  the writer and the checks, for POSIX systems and Windows
#include <cstdio>
#include <functional>
#include <string>

// Writes the file at pfad whole: schreiben fills the opened file and says
// whether all of it went out. A symbolic link is written through (its
// target is replaced, the link stays); a character device (/dev/null) is
// written directly; any other existing file that is not a regular file is
// refused. Returns "" or the reason it failed, as the system gives it.
std::string Datei_Ganz_Schreiben(const std::string& pfad,
                                 const std::function<bool(std::FILE*)>& schreiben);

// The same in two steps, for a file that is written while other work goes
// on (a film): Datei_Beginnen opens the file (its temporary, or a device)
// for writing and reading back; Datei_Beenden closes it and, when bGut and
// every write went out, puts it in place of the target, and otherwise
// removes the temporary. nFehler: the errno of a write that failed, if
// known. Each returns "" or the reason.
struct Datei_Vorgang {
  std::FILE* pDatei = nullptr;
  std::string ziel;     // the target, every link followed
  std::string entwurf;  // the temporary; empty when written directly
};
std::string Datei_Beginnen(const std::string& pfad, Datei_Vorgang& v);
std::string Datei_Beenden(Datei_Vorgang& v, bool bGut, int nFehler);

// Whether a file could be written at pfad, before anything is written: its
// folder exists and takes files, and the name is not a folder, a FIFO or
// another file that is not regular. Returns "" or the reason.
std::string Datei_Pruefen(const std::string& pfad);
