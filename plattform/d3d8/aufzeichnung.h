#pragma once
// A record of the calls the software devices received, for tests: start a
// recording, let the code under test run, then read the calls in order.
// The record is an observer of every device and surface (beobachter.h).
#include <vector>

#include "plattform/d3d8/beobachter.h"

namespace ersatz {

// Empties the record and starts recording.
void Aufzeichnung_Starten();
// Stops recording; the record stays readable.
void Aufzeichnung_Beenden();
// The calls recorded since the last start, oldest first.
const std::vector<Aufruf>& Aufzeichnung();

}  // namespace ersatz
