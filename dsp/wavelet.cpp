#include "dsp/wavelet.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define QUELMORA_X86 1
#endif

// The transform is a direct sum: per output sample, the taps are added in
// order into a double. The fast paths below vectorise across output samples
// (each lane is one output and sums its own taps in order), so they give the
// same bits as the plain loop. The products are of two floats widened to
// double, which are exact, so a fused multiply-add rounds exactly like a
// multiply followed by an add.

namespace {

constexpr double kPi = 3.141592653589793;

// One kernel sample of mother wavelet `type` at sample index i and scale a.
struct Sample {
    float re = 0;
    float im = 0;
};

bool isComplexType(int type)
{
    return type == 0 || type == 6;
}

bool writesImaginary(int type)
{
    return type == 0 || type == 6 || type > 7;
}

double sincOf(float x)
{
    if (x == 0)
        return 1.0; // the limit; no kernel sample asks for it
    const double px = kPi * x;
    return std::sin(px) / px;
}

Sample sampleAt(int type, long i, float t, float a, double kk)
{
    Sample s;
    const double x = static_cast<double>(i) * t / a;
    switch (type) {
    case 1: {
        const float x2 = static_cast<float>(x * x);
        s.re = static_cast<float>(0.8673250675201416 * std::exp(-x2 / 2.0) * (1 - static_cast<double>(x2)));
        break;
    }
    case 2:
        s.re = static_cast<float>(x * std::exp(-x * x / 2) / 2.5066282746310002);
        break;
    case 3: {
        const float x2 = static_cast<float>(x * x);
        s.re = static_cast<float>(std::exp(-x2 / 2.0) - 0.5 * std::exp(-x2 / 8.0));
        break;
    }
    case 4: {
        const float xf = static_cast<float>(x);
        if (xf >= 0 && xf < 0.5f)
            s.re = 1.0f;
        else if (xf >= 0.5f && xf < 1.0f)
            s.re = -1.0f;
        else
            s.re = 0.0f;
        break;
    }
    case 5: {
        // The centre would be 0/0 in the sinc; it takes its right neighbour's value.
        const float xf = static_cast<float>(i == 0 ? static_cast<double>(t) / a : x);
        s.re = static_cast<float>(sincOf(xf / 2) * std::cos(9.42477796076938 * xf / 2));
        break;
    }
    case 6: {
        const double xf = static_cast<float>(x);
        const double c = 0.8944271909999159 / kk;
        const double g = std::exp(-xf * xf / 2);
        s.re = static_cast<float>(c * (1 - xf * xf) * g);
        s.im = static_cast<float>(c * xf * g);
        break;
    }
    case 7: {
        const double xf = static_cast<float>(x);
        s.re = static_cast<float>((1.4142135623730951 / kk) * xf * std::exp(-xf * xf / 2));
        break;
    }
    default: { // 0 and every index above 7: complex Morlet
        const double g = std::exp(-x * x / 2);
        s.re = static_cast<float>(g * std::cos(6 * x));
        s.im = static_cast<float>(g * std::sin(6 * x));
        break;
    }
    }
    return s;
}

bool usableScale(float a)
{
    return std::isfinite(a) && a > 0;
}

// trunc(3 a / t) in double precision.
double halfWidth(float a, float t)
{
    return std::trunc(3.0 * a / t);
}

// The taps of the sum run over k = -half .. half - 1. Only |i - k| < n can
// meet a sample (i < n), so k lies in [-(n - 1), 2n - 2]; taps outside read
// zeros and are left out, which keeps huge scales cheap.
struct TapRange {
    long lo = 0;
    long hi = -1;
    long count() const { return hi >= lo ? hi - lo + 1 : 0; }
};

TapRange tapRange(double half, long n)
{
    const double limit = 2.0 * n;
    const long h = static_cast<long>(std::min(half, limit));
    TapRange r;
    r.lo = std::max(-h, -(n - 1));
    r.hi = std::min(h - 1, 2 * n - 2);
    return r;
}

// ---- inner loops: out[i] = sum over t < ntaps of ext[i + ntaps - 1 - t] * w[t]

void convolveScalar(const double* ext, const double* w, long ntaps, double* out, long from, long n)
{
    for (long i = from; i < n; ++i) {
        const double* p = ext + i + ntaps - 1;
        double sum = 0;
        for (long t = 0; t < ntaps; ++t)
            sum += p[-t] * w[t];
        out[i] = sum;
    }
}

#ifdef QUELMORA_X86

void convolveSse2(const double* ext, const double* w, long ntaps, double* out, long n)
{
    long i = 0;
    for (; i + 16 <= n; i += 16) {
        __m128d a0 = _mm_setzero_pd(), a1 = a0, a2 = a0, a3 = a0, a4 = a0, a5 = a0, a6 = a0, a7 = a0;
        const double* p = ext + i + ntaps - 1;
        for (long t = 0; t < ntaps; ++t, --p) {
            const __m128d wv = _mm_set1_pd(w[t]);
            a0 = _mm_add_pd(a0, _mm_mul_pd(_mm_loadu_pd(p), wv));
            a1 = _mm_add_pd(a1, _mm_mul_pd(_mm_loadu_pd(p + 2), wv));
            a2 = _mm_add_pd(a2, _mm_mul_pd(_mm_loadu_pd(p + 4), wv));
            a3 = _mm_add_pd(a3, _mm_mul_pd(_mm_loadu_pd(p + 6), wv));
            a4 = _mm_add_pd(a4, _mm_mul_pd(_mm_loadu_pd(p + 8), wv));
            a5 = _mm_add_pd(a5, _mm_mul_pd(_mm_loadu_pd(p + 10), wv));
            a6 = _mm_add_pd(a6, _mm_mul_pd(_mm_loadu_pd(p + 12), wv));
            a7 = _mm_add_pd(a7, _mm_mul_pd(_mm_loadu_pd(p + 14), wv));
        }
        _mm_storeu_pd(out + i, a0);
        _mm_storeu_pd(out + i + 2, a1);
        _mm_storeu_pd(out + i + 4, a2);
        _mm_storeu_pd(out + i + 6, a3);
        _mm_storeu_pd(out + i + 8, a4);
        _mm_storeu_pd(out + i + 10, a5);
        _mm_storeu_pd(out + i + 12, a6);
        _mm_storeu_pd(out + i + 14, a7);
    }
    for (; i + 2 <= n; i += 2) {
        __m128d a0 = _mm_setzero_pd();
        const double* p = ext + i + ntaps - 1;
        for (long t = 0; t < ntaps; ++t, --p)
            a0 = _mm_add_pd(a0, _mm_mul_pd(_mm_loadu_pd(p), _mm_set1_pd(w[t])));
        _mm_storeu_pd(out + i, a0);
    }
    convolveScalar(ext, w, ntaps, out, i, n);
}

__attribute__((target("avx2,fma"))) void convolveAvx2(const double* ext, const double* w, long ntaps,
                                                      double* out, long n)
{
    long i = 0;
    for (; i + 32 <= n; i += 32) {
        __m256d a0 = _mm256_setzero_pd(), a1 = a0, a2 = a0, a3 = a0, a4 = a0, a5 = a0, a6 = a0, a7 = a0;
        const double* p = ext + i + ntaps - 1;
        for (long t = 0; t < ntaps; ++t, --p) {
            const __m256d wv = _mm256_broadcast_sd(w + t);
            a0 = _mm256_fmadd_pd(_mm256_loadu_pd(p), wv, a0);
            a1 = _mm256_fmadd_pd(_mm256_loadu_pd(p + 4), wv, a1);
            a2 = _mm256_fmadd_pd(_mm256_loadu_pd(p + 8), wv, a2);
            a3 = _mm256_fmadd_pd(_mm256_loadu_pd(p + 12), wv, a3);
            a4 = _mm256_fmadd_pd(_mm256_loadu_pd(p + 16), wv, a4);
            a5 = _mm256_fmadd_pd(_mm256_loadu_pd(p + 20), wv, a5);
            a6 = _mm256_fmadd_pd(_mm256_loadu_pd(p + 24), wv, a6);
            a7 = _mm256_fmadd_pd(_mm256_loadu_pd(p + 28), wv, a7);
        }
        _mm256_storeu_pd(out + i, a0);
        _mm256_storeu_pd(out + i + 4, a1);
        _mm256_storeu_pd(out + i + 8, a2);
        _mm256_storeu_pd(out + i + 12, a3);
        _mm256_storeu_pd(out + i + 16, a4);
        _mm256_storeu_pd(out + i + 20, a5);
        _mm256_storeu_pd(out + i + 24, a6);
        _mm256_storeu_pd(out + i + 28, a7);
    }
    for (; i + 4 <= n; i += 4) {
        __m256d a0 = _mm256_setzero_pd();
        const double* p = ext + i + ntaps - 1;
        for (long t = 0; t < ntaps; ++t, --p)
            a0 = _mm256_fmadd_pd(_mm256_loadu_pd(p), _mm256_broadcast_sd(w + t), a0);
        _mm256_storeu_pd(out + i, a0);
    }
    convolveScalar(ext, w, ntaps, out, i, n);
}

__attribute__((target("avx512f"))) void convolveAvx512(const double* ext, const double* w, long ntaps,
                                                       double* out, long n)
{
    long i = 0;
    for (; i + 64 <= n; i += 64) {
        __m512d a0 = _mm512_setzero_pd(), a1 = a0, a2 = a0, a3 = a0, a4 = a0, a5 = a0, a6 = a0, a7 = a0;
        const double* p = ext + i + ntaps - 1;
        for (long t = 0; t < ntaps; ++t, --p) {
            const __m512d wv = _mm512_set1_pd(w[t]);
            a0 = _mm512_fmadd_pd(_mm512_loadu_pd(p), wv, a0);
            a1 = _mm512_fmadd_pd(_mm512_loadu_pd(p + 8), wv, a1);
            a2 = _mm512_fmadd_pd(_mm512_loadu_pd(p + 16), wv, a2);
            a3 = _mm512_fmadd_pd(_mm512_loadu_pd(p + 24), wv, a3);
            a4 = _mm512_fmadd_pd(_mm512_loadu_pd(p + 32), wv, a4);
            a5 = _mm512_fmadd_pd(_mm512_loadu_pd(p + 40), wv, a5);
            a6 = _mm512_fmadd_pd(_mm512_loadu_pd(p + 48), wv, a6);
            a7 = _mm512_fmadd_pd(_mm512_loadu_pd(p + 56), wv, a7);
        }
        _mm512_storeu_pd(out + i, a0);
        _mm512_storeu_pd(out + i + 8, a1);
        _mm512_storeu_pd(out + i + 16, a2);
        _mm512_storeu_pd(out + i + 24, a3);
        _mm512_storeu_pd(out + i + 32, a4);
        _mm512_storeu_pd(out + i + 40, a5);
        _mm512_storeu_pd(out + i + 48, a6);
        _mm512_storeu_pd(out + i + 56, a7);
    }
    for (; i + 8 <= n; i += 8) {
        __m512d a0 = _mm512_setzero_pd();
        const double* p = ext + i + ntaps - 1;
        for (long t = 0; t < ntaps; ++t, --p)
            a0 = _mm512_fmadd_pd(_mm512_loadu_pd(p), _mm512_set1_pd(w[t]), a0);
        _mm512_storeu_pd(out + i, a0);
    }
    convolveScalar(ext, w, ntaps, out, i, n);
}

int supportedLevel()
{
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f"))
        return 2;
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma"))
        return 1;
    return 0;
}

#else

int supportedLevel()
{
    return 0;
}

#endif

int& currentLevel()
{
    static int level = supportedLevel();
    return level;
}

void convolveSums(const double* ext, const double* w, long ntaps, double* out, long n)
{
#ifdef QUELMORA_X86
    switch (currentLevel()) {
    case 2:
        convolveAvx512(ext, w, ntaps, out, n);
        return;
    case 1:
        convolveAvx2(ext, w, ntaps, out, n);
        return;
    default:
        convolveSse2(ext, w, ntaps, out, n);
        return;
    }
#else
    convolveScalar(ext, w, ntaps, out, 0, n);
#endif
}

// Work buffers of one transform, reused across scales.
struct Workspace {
    std::vector<double> ext;  // signal, mirrored before 0, zeros past the end
    std::vector<double> taps; // kernel samples of the tap range, as doubles
    std::vector<double> sums;
};

// sums[i] = sum over k in range, in increasing k, of e(i - k) * kernel(k),
// with e(j) = sig[|j|] while |j| < n and 0 beyond; `kernel` holds the
// samples lo .. hi as floats.
void directSums(Workspace& ws, const float* sig, long n, const float* kernel, TapRange range)
{
    ws.sums.assign(n, 0.0);
    const long ntaps = range.count();
    if (ntaps == 0)
        return;
    ws.taps.assign(kernel, kernel + ntaps);
    // ext[idx] = e(idx - hi), idx over [0, n + ntaps - 1)
    const long len = n + ntaps - 1;
    ws.ext.resize(len);
    for (long idx = 0; idx < len; ++idx) {
        const long j = idx - range.hi;
        const long m = j < 0 ? -j : j;
        ws.ext[idx] = m < n ? static_cast<double>(sig[m]) : 0.0;
    }
    convolveSums(ws.ext.data(), ws.taps.data(), ntaps, ws.sums.data(), n);
}

} // namespace

int waveletKernelLevel()
{
    return currentLevel();
}

int setWaveletKernelLevel(int level)
{
    currentLevel() = std::clamp(level, 0, supportedLevel());
    return currentLevel();
}

wavelet::wavelet(QWidget* parent) : QWidget(parent), IsSpectrum(0), t(0.1f), kk(std::pow(kPi, 0.25))
{
}

double wavelet::sinc(float x) const
{
    return sincOf(x);
}

void wavelet::getWaveletBase(float* Re, float* Im, float a, int baseType)
{
    if (baseType < 0 || !usableScale(a))
        return;
    const double half = halfWidth(a, t);
    if (half > INT_MAX / 2)
        return; // no array can hold such a kernel
    const long h = static_cast<long>(half);
    const bool im = writesImaginary(baseType);
    for (long i = -h; i <= h; ++i) {
        const Sample s = sampleAt(baseType, i, t, a, kk);
        Re[i + h] = s.re;
        if (im)
            Im[i + h] = s.im;
    }
}

void wavelet::getWavelet(float* Re, float* Im, float a)
{
    getWaveletBase(Re, Im, a, 0);
}

void wavelet::convolution(float* sig, float* h, float* yy, float a, int dal)
{
    if (dal <= 0)
        return;
    const long n = dal;
    if (!usableScale(a)) {
        std::fill(yy, yy + n, 0.0f);
        return;
    }
    const double half = halfWidth(a, t);
    if (half > INT_MAX / 2) {
        std::fill(yy, yy + n, 0.0f); // no array can hold such a kernel
        return;
    }
    const TapRange range = tapRange(half, n);
    Workspace ws;
    // Tap k uses kernel index k + half.
    const float* kernel = range.count() > 0 ? h + (range.lo + static_cast<long>(half)) : h;
    directSums(ws, sig, n, kernel, range);
    for (long i = 0; i < n; ++i)
        yy[i] = static_cast<float>(static_cast<float>(ws.sums[i] / a) / kk);
}

void wavelet::cwt(float* coifficient, float* sig, int dal, int /*Fs*/, int NS, float* Scales, int baseType)
{
    if (dal <= 0 || NS <= 0)
        return;
    const long n = dal;
    const bool complexType = isComplexType(baseType);
    const bool imWritten = writesImaginary(baseType);

    Workspace ws;
    std::vector<float> re, im, realRow(complexType ? n : 0);
    for (int j = 0; j < NS; ++j) {
        float* row = coifficient + static_cast<size_t>(j) * n;
        const float a = Scales[j];
        if (!usableScale(a) || baseType < 0) {
            std::fill(row, row + n, 0.0f);
            continue;
        }
        const TapRange range = tapRange(halfWidth(a, t), n);
        const long ntaps = range.count();
        re.assign(ntaps, 0.0f);
        im.assign(ntaps, 0.0f);
        for (long k = range.lo; k <= range.hi; ++k) {
            const Sample s = sampleAt(baseType, k, t, a, kk);
            re[k - range.lo] = s.re;
            if (imWritten)
                im[k - range.lo] = s.im;
        }

        directSums(ws, sig, n, re.data(), range);
        float* real = complexType ? realRow.data() : row;
        for (long i = 0; i < n; ++i)
            real[i] = static_cast<float>(static_cast<float>(ws.sums[i] / a) / kk);
        if (!complexType)
            continue;

        directSums(ws, sig, n, im.data(), range);
        for (long i = 0; i < n; ++i) {
            const float I = static_cast<float>(static_cast<float>(ws.sums[i] / a) / kk);
            const double R = realRow[i];
            const float sq = static_cast<float>(R * R + static_cast<double>(I) * I);
            row[i] = static_cast<float>(std::sqrt(static_cast<double>(sq)));
        }
    }
}
