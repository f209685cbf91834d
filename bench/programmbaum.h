#pragma once
// The program's device and the heaviest tree it grows, for the frame
// benchmarks and for the comparison with Mesa's llvmpipe
// (tools/llvmpipe_vergleich.cpp).
#include <memory>

#include "baum/baum.h"

// pDevice as the program creates it, with its initial states, but
// without writing its device file; then the program's projection,
// material and light.
void Programmgeraet_Einrichten();

// The seed among 0 to 19,999 whose full-grown tree has the most branches
// (429, seed 17277). BORKWERK_SAAT names it instead: under valgrind the
// search takes minutes.
unsigned Schwerste_Saat();

// The program's device set up and the heaviest tree grown fully on it,
// drawn at every step, with the camera at nAbstand tenths (30 at start,
// 50 zoomed out, 5 zoomed in fully).
std::unique_ptr<Baum> Schwerster_Baum(int nAbstand);

// The program's own frame: clear, camera, turning light, every branch
// drawn, the overlay, present.
void Programmbild(Baum& b);

// The frame's draws alone: camera, turning light and every branch, on the
// depth of the frame before. The view stays, so every pixel passes the
// depth test (less or equal) and is written as after a clear.
void Programmzeichnungen(Baum& b);
