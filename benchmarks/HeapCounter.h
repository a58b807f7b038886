#pragma once
// The heap this benchmark program holds, counted by its own operator new and delete
// (HeapCounter.cpp), so that a benchmark can say how much memory one scan takes at its peak.
#include <cstddef>

namespace heapcount {

// Bytes allocated and not yet freed.
std::size_t LiveBytes();
// The most LiveBytes has been since the last ResetPeak.
std::size_t PeakBytes();
void ResetPeak();

}  // namespace heapcount
