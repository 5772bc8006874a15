#pragma once
// What both benchmarks share: synthetic objects in the embedded database and the peak resident memory.

#include <QtGlobal>

namespace bench {

// An object with this key and `scenarios` scenarios, each with a value of every kind; about half of a kind's
// values are distinct. Named "Объект N" after its size.
void AddObject(qint16 id, int scenarios);

// Starts a new peak of the resident memory (VmHWM).
void ResetPeakMemory();
// The peak resident memory since the last reset, in megabytes.
double PeakMegabytes();

} // namespace bench
