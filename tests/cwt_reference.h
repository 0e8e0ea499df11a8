#ifndef CWT_REFERENCE_H
#define CWT_REFERENCE_H

// Plain scalar continuous wavelet transform: the straightforward loops that
// the fast transform must match bit for bit. Shared by the tests and the
// benchmark.

#include <cmath>
#include <vector>

#include "dsp/wavelet.h"

// yy[i] = (sum over k = -half .. half-1 of sig[|i-k|] * h[k+half]) / a / kk,
// taps whose sample index lies past the end count as zero.
inline void referenceConvolution(const float* sig, const float* h, float* yy, float a, int n, float t, double kk)
{
    const long half = static_cast<long>(std::trunc(3.0 * a / t));
    for (long i = 0; i < n; ++i) {
        double sum = 0;
        for (long k = -half; k < half; ++k) {
            const long idx = i - k;
            if (idx >= n)
                continue;
            const long m = idx < 0 ? -idx : idx;
            if (m >= n)
                continue;
            sum += static_cast<double>(sig[m]) * h[k + half];
        }
        yy[i] = static_cast<float>(static_cast<float>(sum / a) / kk);
    }
}

inline void referenceCwt(wavelet& w, float* coif, const float* sig, int n, int NS, const float* scales, int baseType)
{
    std::vector<float> row(n), rowI(n);
    for (int j = 0; j < NS; ++j) {
        const float a = scales[j];
        float* out = coif + static_cast<size_t>(j) * n;
        if (!(a > 0) || !std::isfinite(a)) {
            for (int i = 0; i < n; ++i)
                out[i] = 0;
            continue;
        }
        const long half = static_cast<long>(std::trunc(3.0 * a / w.t));
        std::vector<float> re(2 * half + 1, 0.0f), im(2 * half + 1, 0.0f);
        w.getWaveletBase(re.data(), im.data(), a, baseType);
        referenceConvolution(sig, re.data(), row.data(), a, n, w.t, w.kk);
        if (baseType == 0 || baseType == 6) {
            referenceConvolution(sig, im.data(), rowI.data(), a, n, w.t, w.kk);
            for (int i = 0; i < n; ++i) {
                const double R = row[i], I = rowI[i];
                out[i] = static_cast<float>(std::sqrt(static_cast<double>(static_cast<float>(R * R + I * I))));
            }
        } else {
            for (int i = 0; i < n; ++i)
                out[i] = row[i];
        }
    }
}

#endif // CWT_REFERENCE_H
