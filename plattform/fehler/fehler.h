#pragma once
// Faults: makes chosen platform calls fail, so every failure path of the
// system can be run. Every piece of the stand-in asks Fehler() before a call
// it can fail; the launcher's --fault and the tests set them.
#include <string>
#include <vector>

namespace ersatz {

// A named platform call that is set to fail, fails every time.
bool Fehler(const char* szName);
bool Fehler_Bekannt(const std::string& name);  // whether a call of that name can be made to fail
bool Fehler_Setzen(const std::string& name);   // false for an unknown name
void Fehler_Loeschen();
const std::vector<std::string>& Fehler_Namen();

// What a message quotes of the user's input, readable: printable ASCII
// stays, every other byte shows as \xNN, so a message is one line and never
// carries raw bytes to the terminal.
std::string Lesbar(const std::string& text);

}  // namespace ersatz
