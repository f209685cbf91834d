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

// What a message quotes of the user's input, readable: printable ASCII and
// valid UTF-8 stay as they are; control bytes, invalid sequences and the
// characters a terminal would act on (C1 controls, direction marks) show
// as \xNN per byte, so a message is one line and never moves or hides text.
std::string Lesbar(const std::string& text);

}  // namespace ersatz
