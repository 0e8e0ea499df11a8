#ifndef TIMEFREQUENCY_INTERNAL_H
#define TIMEFREQUENCY_INTERNAL_H

#include <cstddef>

// Pieces of the time-frequency analyses that are checked on their own.
namespace tfwork {

struct TrimResult {
    int start;
    int end;
};

// Centres the n samples on their midrange, then looks for a zero crossing
// within the first and the last 1 % of the samples; each crossing sample is
// set to 0 and becomes the first (or last) sample kept. The samples are not
// moved.
TrimResult centreAndTrim(float* sig, int n);

// Shortest signal the wavelet analyses accept.
constexpr int kMinWaveletLength = 1024;

// Called with the size in bytes before each large buffer of a
// time-frequency run is made (work buffers and the image copies that the
// windows keep). Null in the program; tests install one that
// throws std::bad_alloc to check the recovery.
extern void (*allocationProbe)(std::size_t bytes);

} // namespace tfwork

#endif // TIMEFREQUENCY_INTERNAL_H
