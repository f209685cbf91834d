#pragma once
// Seams between the pieces of the DirectInput stand-in: devices, key names
// and the input script.
#include <cstddef>
#include <string>

namespace ersatz {

// The keyboard hardware: the key with DirectInput scan code nDik goes down
// or up. Every keyboard device reads this one state.
void Taste_Setzen(int nDik, bool bUnten);

// Scan code for a key's DirectInput name without "DIK_", in any case;
// -1 for a name no key has.
int Dik_Aus_Name(const std::string& name);

// Scan code of the key an SDL scancode stands for; -1 for keys outside a
// standard keyboard.
int Dik_Aus_Sdl(int nSdlScancode);

// Number of input devices that exist (created and not yet released).
std::size_t Geraete_Anzahl();

// Feeds the scripted events of every frame up to nBild that were not fed
// yet; called by each device read with the current frame number.
void Skript_Abspielen(unsigned nBild);

}  // namespace ersatz
