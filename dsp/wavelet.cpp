#include "dsp/wavelet.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <vector>

#if defined(__x86_64__)
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

// ---- inner loops
//
// out[i] = float(float(s / a) / kk) with s = sum over t < ntaps, in order, of
// ext[i + ntaps - 1 - t] * w[t]. The scaling is done in the vector loops too:
// for short kernels it costs as much as the taps.

struct Scaling {
    double a;
    double kk;
};

inline float scaleSum(double s, const Scaling& sc)
{
    return static_cast<float>(static_cast<float>(s / sc.a) / sc.kk);
}

void convolveScalar(const double* ext, const double* w, long ntaps, float* out, long from, long n, Scaling sc)
{
    for (long i = from; i < n; ++i) {
        const double* p = ext + i + ntaps - 1;
        double sum = 0;
        for (long t = 0; t < ntaps; ++t)
            sum += p[-t] * w[t];
        out[i] = scaleSum(sum, sc);
    }
}

#ifdef QUELMORA_X86

inline void storeScaledSse2(float* out, __m128d s, __m128d a, __m128d kk)
{
    const __m128 f = _mm_cvtpd_ps(_mm_div_pd(s, a));
    const __m128 g = _mm_cvtpd_ps(_mm_div_pd(_mm_cvtps_pd(f), kk));
    _mm_storel_pi(reinterpret_cast<__m64*>(out), g);
}

void convolveSse2(const double* ext, const double* w, long ntaps, float* out, long n, Scaling sc)
{
    const __m128d va = _mm_set1_pd(sc.a), vk = _mm_set1_pd(sc.kk);
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
        storeScaledSse2(out + i, a0, va, vk);
        storeScaledSse2(out + i + 2, a1, va, vk);
        storeScaledSse2(out + i + 4, a2, va, vk);
        storeScaledSse2(out + i + 6, a3, va, vk);
        storeScaledSse2(out + i + 8, a4, va, vk);
        storeScaledSse2(out + i + 10, a5, va, vk);
        storeScaledSse2(out + i + 12, a6, va, vk);
        storeScaledSse2(out + i + 14, a7, va, vk);
    }
    for (; i + 2 <= n; i += 2) {
        __m128d a0 = _mm_setzero_pd();
        const double* p = ext + i + ntaps - 1;
        for (long t = 0; t < ntaps; ++t, --p)
            a0 = _mm_add_pd(a0, _mm_mul_pd(_mm_loadu_pd(p), _mm_set1_pd(w[t])));
        storeScaledSse2(out + i, a0, va, vk);
    }
    convolveScalar(ext, w, ntaps, out, i, n, sc);
}

// Long kernels: accumulator u works on tap s + 4u at step s, so all eight
// read the same signal vector and each step loads it once; every lane still
// adds its taps in increasing order.
#define QUELMORA_SKEW_STEP(u, check)                                                          \
    {                                                                                         \
        const long t = s + (u) * kLanes;                                                      \
        if (!(check) || (t >= 0 && t < ntaps))                                                \
            a##u = FMADD(v, SET1(w[t]), a##u);                                                \
    }
#define QUELMORA_SKEW_ALL(check)                                                              \
    QUELMORA_SKEW_STEP(0, check) QUELMORA_SKEW_STEP(1, check) QUELMORA_SKEW_STEP(2, check)    \
    QUELMORA_SKEW_STEP(3, check) QUELMORA_SKEW_STEP(4, check) QUELMORA_SKEW_STEP(5, check)    \
    QUELMORA_SKEW_STEP(6, check) QUELMORA_SKEW_STEP(7, check)

#define QUELMORA_SKEW_BLOCK()                                                                 \
    {                                                                                         \
        const double* q = ext + i + ntaps - 1;                                                \
        long s = -7 * kLanes;                                                                 \
        for (; s < 0; ++s) {                                                                  \
            const auto v = LOADU(q - s);                                                      \
            QUELMORA_SKEW_ALL(true)                                                           \
        }                                                                                     \
        for (; s < ntaps - 7 * kLanes; ++s) {                                                 \
            const auto v = LOADU(q - s);                                                      \
            QUELMORA_SKEW_ALL(false)                                                          \
        }                                                                                     \
        for (; s < ntaps; ++s) {                                                              \
            const auto v = LOADU(q - s);                                                      \
            QUELMORA_SKEW_ALL(true)                                                           \
        }                                                                                     \
    }

// The two divisions of the scaling are done as products with the
// reciprocals: p = s * (1 / a) lies within about 3 double ulps of the rounded
// quotient, so both round to the same float unless p sits within a few double
// ulps of a midpoint between two floats (its low 29 mantissa bits close to
// 2^28) or outside the normal float range. Such lanes, rare, take the exact
// divisions.
struct ScaleAvx2 {
    __m256d a, kk, ra, rkk;
};

__attribute__((target("avx2,fma"))) inline __m256i needsExactAvx2(__m256d p)
{
    const __m256i bits = _mm256_castpd_si256(p);
    const __m256i low = _mm256_and_si256(bits, _mm256_set1_epi64x(0x1FFFFFFF));
    const __m256i d = _mm256_sub_epi64(low, _mm256_set1_epi64x((1 << 28) - 16));
    const __m256i mid = _mm256_and_si256(_mm256_cmpgt_epi64(d, _mm256_set1_epi64x(-1)),
                                         _mm256_cmpgt_epi64(_mm256_set1_epi64x(33), d));
    const __m256i e = _mm256_and_si256(_mm256_srli_epi64(bits, 52), _mm256_set1_epi64x(0x7FF));
    const __m256i range = _mm256_or_si256(_mm256_cmpgt_epi64(_mm256_set1_epi64x(903), e),
                                          _mm256_cmpgt_epi64(e, _mm256_set1_epi64x(1143)));
    return _mm256_or_si256(mid, range);
}

__attribute__((target("avx2,fma"))) inline void storeScaledAvx2(float* out, __m256d s, const ScaleAvx2& c)
{
    const __m256d p1 = _mm256_mul_pd(s, c.ra);
    const __m128 f = _mm256_cvtpd_ps(p1);
    const __m256d p2 = _mm256_mul_pd(_mm256_cvtps_pd(f), c.rkk);
    const __m256i exact = _mm256_or_si256(needsExactAvx2(p1), needsExactAvx2(p2));
    if (!_mm256_testz_si256(exact, exact)) {
        const __m128 g = _mm256_cvtpd_ps(_mm256_div_pd(s, c.a));
        _mm_storeu_ps(out, _mm256_cvtpd_ps(_mm256_div_pd(_mm256_cvtps_pd(g), c.kk)));
        return;
    }
    _mm_storeu_ps(out, _mm256_cvtpd_ps(p2));
}

__attribute__((target("avx2,fma"))) void convolveAvx2(const double* ext, const double* w, long ntaps, float* out,
                                                      long n, Scaling sc)
{
    const ScaleAvx2 vs{_mm256_set1_pd(sc.a), _mm256_set1_pd(sc.kk), _mm256_set1_pd(1.0 / sc.a), _mm256_set1_pd(1.0 / sc.kk)};
    long i = 0;
    for (; i + 32 <= n; i += 32) {
        __m256d a0 = _mm256_setzero_pd(), a1 = a0, a2 = a0, a3 = a0, a4 = a0, a5 = a0, a6 = a0, a7 = a0;
        if (ntaps >= 8 * 4) {
            constexpr long kLanes = 4;
#define FMADD _mm256_fmadd_pd
#define SET1 _mm256_set1_pd
#define LOADU _mm256_loadu_pd
            QUELMORA_SKEW_BLOCK()
#undef FMADD
#undef SET1
#undef LOADU
            storeScaledAvx2(out + i, a0, vs);
            storeScaledAvx2(out + i + 4, a1, vs);
            storeScaledAvx2(out + i + 8, a2, vs);
            storeScaledAvx2(out + i + 12, a3, vs);
            storeScaledAvx2(out + i + 16, a4, vs);
            storeScaledAvx2(out + i + 20, a5, vs);
            storeScaledAvx2(out + i + 24, a6, vs);
            storeScaledAvx2(out + i + 28, a7, vs);
            continue;
        }
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
        storeScaledAvx2(out + i, a0, vs);
        storeScaledAvx2(out + i + 4, a1, vs);
        storeScaledAvx2(out + i + 8, a2, vs);
        storeScaledAvx2(out + i + 12, a3, vs);
        storeScaledAvx2(out + i + 16, a4, vs);
        storeScaledAvx2(out + i + 20, a5, vs);
        storeScaledAvx2(out + i + 24, a6, vs);
        storeScaledAvx2(out + i + 28, a7, vs);
    }
    for (; i + 4 <= n; i += 4) {
        __m256d a0 = _mm256_setzero_pd();
        const double* p = ext + i + ntaps - 1;
        for (long t = 0; t < ntaps; ++t, --p)
            a0 = _mm256_fmadd_pd(_mm256_loadu_pd(p), _mm256_broadcast_sd(w + t), a0);
        storeScaledAvx2(out + i, a0, vs);
    }
    convolveScalar(ext, w, ntaps, out, i, n, sc);
}

struct ScaleAvx512 {
    __m512d a, kk, ra, rkk;
};

__attribute__((target("avx512f"))) inline __mmask8 needsExactAvx512(__m512d p)
{
    const __m512i bits = _mm512_castpd_si512(p);
    const __m512i low = _mm512_and_si512(bits, _mm512_set1_epi64(0x1FFFFFFF));
    const __mmask8 mid = _mm512_cmple_epu64_mask(_mm512_sub_epi64(low, _mm512_set1_epi64((1 << 28) - 16)),
                                                 _mm512_set1_epi64(32));
    const __m512i e = _mm512_and_si512(_mm512_maskz_srli_epi64(0xFF, bits, 52), _mm512_set1_epi64(0x7FF));
    const __mmask8 range = _mm512_cmpgt_epu64_mask(_mm512_sub_epi64(e, _mm512_set1_epi64(903)), _mm512_set1_epi64(240));
    return mid | range;
}

__attribute__((target("avx512f"))) inline void storeScaledAvx512(float* out, __m512d s, const ScaleAvx512& c)
{
    const __m512d p1 = _mm512_mul_pd(s, c.ra);
    const __m256 f = _mm512_maskz_cvtpd_ps(0xFF, p1);
    const __m512d p2 = _mm512_mul_pd(_mm512_maskz_cvtps_pd(0xFF, f), c.rkk);
    if (needsExactAvx512(p1) | needsExactAvx512(p2)) {
        const __m256 g = _mm512_maskz_cvtpd_ps(0xFF, _mm512_div_pd(s, c.a));
        _mm256_storeu_ps(out, _mm512_maskz_cvtpd_ps(0xFF, _mm512_div_pd(_mm512_maskz_cvtps_pd(0xFF, g), c.kk)));
        return;
    }
    _mm256_storeu_ps(out, _mm512_maskz_cvtpd_ps(0xFF, p2));
}

__attribute__((target("avx512f"))) void convolveAvx512(const double* ext, const double* w, long ntaps, float* out,
                                                       long n, Scaling sc)
{
    const ScaleAvx512 vs{_mm512_set1_pd(sc.a), _mm512_set1_pd(sc.kk), _mm512_set1_pd(1.0 / sc.a), _mm512_set1_pd(1.0 / sc.kk)};
    long i = 0;
    for (; i + 64 <= n; i += 64) {
        __m512d a0 = _mm512_setzero_pd(), a1 = a0, a2 = a0, a3 = a0, a4 = a0, a5 = a0, a6 = a0, a7 = a0;
        if (ntaps >= 8 * 8) {
            constexpr long kLanes = 8;
#define FMADD _mm512_fmadd_pd
#define SET1 _mm512_set1_pd
#define LOADU _mm512_loadu_pd
            QUELMORA_SKEW_BLOCK()
#undef FMADD
#undef SET1
#undef LOADU
            storeScaledAvx512(out + i, a0, vs);
            storeScaledAvx512(out + i + 8, a1, vs);
            storeScaledAvx512(out + i + 16, a2, vs);
            storeScaledAvx512(out + i + 24, a3, vs);
            storeScaledAvx512(out + i + 32, a4, vs);
            storeScaledAvx512(out + i + 40, a5, vs);
            storeScaledAvx512(out + i + 48, a6, vs);
            storeScaledAvx512(out + i + 56, a7, vs);
            continue;
        }
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
        storeScaledAvx512(out + i, a0, vs);
        storeScaledAvx512(out + i + 8, a1, vs);
        storeScaledAvx512(out + i + 16, a2, vs);
        storeScaledAvx512(out + i + 24, a3, vs);
        storeScaledAvx512(out + i + 32, a4, vs);
        storeScaledAvx512(out + i + 40, a5, vs);
        storeScaledAvx512(out + i + 48, a6, vs);
        storeScaledAvx512(out + i + 56, a7, vs);
    }
    for (; i + 8 <= n; i += 8) {
        __m512d a0 = _mm512_setzero_pd();
        const double* p = ext + i + ntaps - 1;
        for (long t = 0; t < ntaps; ++t, --p)
            a0 = _mm512_fmadd_pd(_mm512_loadu_pd(p), _mm512_set1_pd(w[t]), a0);
        storeScaledAvx512(out + i, a0, vs);
    }
    convolveScalar(ext, w, ntaps, out, i, n, sc);
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

void convolveScaled(const double* ext, const double* w, long ntaps, float* out, long n, Scaling sc)
{
#ifdef QUELMORA_X86
    switch (currentLevel()) {
    case 2:
        convolveAvx512(ext, w, ntaps, out, n, sc);
        return;
    case 1:
        convolveAvx2(ext, w, ntaps, out, n, sc);
        return;
    default:
        convolveSse2(ext, w, ntaps, out, n, sc);
        return;
    }
#else
    convolveScalar(ext, w, ntaps, out, 0, n, sc);
#endif
}

// Work buffers of one transform, reused across scales.
struct Workspace {
    // ext[idx] = e(idx - lead): the signal, mirrored about sample 0 before it
    // and zeros after it, with room for the widest tap range of the transform.
    std::vector<double> ext;
    long lead = 0;
    std::vector<double> taps; // kernel samples of the tap range, as doubles
};

void prepareSignal(Workspace& ws, const float* sig, long n, long lead, long trail)
{
    ws.lead = lead;
    const long len = n + lead + trail;
    ws.ext.assign(len, 0.0);
    double* ext = ws.ext.data();
    for (long idx = 0; idx < lead; ++idx) {
        const long m = lead - idx; // |j| for j = idx - lead < 0
        if (m < n)
            ext[idx] = sig[m];
    }
    for (long j = 0; j < n; ++j)
        ext[lead + j] = sig[j];
}

// out[i] = float(float(s_i / a) / kk), s_i = sum over k in range, in
// increasing k, of e(i - k) * kernel(k), with e(j) = sig[|j|] while |j| < n
// and 0 beyond; `kernel` holds the samples lo .. hi as floats. The range must
// lie within the one the workspace was prepared for.
void directConvolution(Workspace& ws, long n, const float* kernel, TapRange range, Scaling sc, float* out)
{
    const long ntaps = range.count();
    if (ntaps == 0) {
        std::fill(out, out + n, scaleSum(0.0, sc));
        return;
    }
    ws.taps.assign(kernel, kernel + ntaps);
    convolveScaled(ws.ext.data() + (ws.lead - range.hi), ws.taps.data(), ntaps, out, n, sc);
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

// kk is the fourth root of pi.
wavelet::wavelet(QWidget* parent) : QWidget(parent), IsSpectrum(0), t(0.1f), kk(1.3313353638003897)
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
    prepareSignal(ws, sig, n, std::max(0L, range.hi), std::max(0L, -range.lo));
    directConvolution(ws, n, kernel, range, Scaling{a, kk}, yy);
}

void wavelet::cwt(float* coifficient, float* sig, int dal, int /*Fs*/, int NS, float* Scales, int baseType)
{
    if (dal <= 0 || NS <= 0)
        return;
    const long n = dal;
    const bool complexType = isComplexType(baseType);
    const bool imWritten = writesImaginary(baseType);

    // One extended copy of the signal serves every scale.
    long lead = 0, trail = 0;
    for (int j = 0; j < NS; ++j) {
        if (!usableScale(Scales[j]))
            continue;
        const TapRange r = tapRange(halfWidth(Scales[j], t), n);
        if (r.count() > 0) {
            lead = std::max(lead, r.hi);
            trail = std::max(trail, -r.lo);
        }
    }
    Workspace ws;
    prepareSignal(ws, sig, n, lead, trail);
    std::vector<float> re, im, realRow(complexType ? n : 0), imagRow(complexType ? n : 0);
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

        const Scaling sc{a, kk};
        if (!complexType) {
            directConvolution(ws, n, re.data(), range, sc, row);
            continue;
        }
        directConvolution(ws, n, re.data(), range, sc, realRow.data());
        directConvolution(ws, n, im.data(), range, sc, imagRow.data());
        for (long i = 0; i < n; ++i) {
            const double R = realRow[i], I = imagRow[i];
            const float sq = static_cast<float>(R * R + I * I);
            row[i] = static_cast<float>(std::sqrt(static_cast<double>(sq)));
        }
    }
}
