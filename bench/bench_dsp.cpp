// Timings of the heavy numeric routines: the wavelet time-frequency workload
// (eight mother wavelets, 100 scales, 16384 samples), against a plain scalar
// transform, and one FFT and one de-noising of 2^14 samples.

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "dsp/tools.h"
#include "dsp/wavelet.h"
#include "tests/cwt_reference.h"

namespace {

constexpr int kSamples = 16384;
constexpr int kScales = 100;
constexpr int kWavelets = 8;
// Centre frequencies of the mother wavelets, in list order.
constexpr double kCenterFreq[kWavelets] = {0.0966875, 0.0239, 0.02475, 0.02357, 0.05374, 0.09, 0.0241718, 0.0239};

std::vector<float> testSignal()
{
    std::mt19937 gen(42);
    std::normal_distribution<float> noise(0.0f, 0.05f);
    std::vector<float> s(kSamples);
    for (int i = 0; i < kSamples; ++i) {
        const double t = i / 360.0;
        s[i] = float(std::sin(2 * M_PI * 1.2 * t) + 0.3 * std::sin(2 * M_PI * 17 * t)) + noise(gen);
    }
    return s;
}

// The scales of the time-frequency analysis at 360 Hz: about
// 200 * CenterFreq / (k + 1).
std::vector<float> scalesFor(int w)
{
    const float Fs = 360.0f;
    const double deltaFrequency = (Fs / 2.0) / kScales;
    std::vector<float> scales(kScales);
    for (int k = 0; k < kScales; ++k) {
        const float f = float((k + 1) * deltaFrequency);
        scales[k] = float(kCenterFreq[w] * Fs / f);
    }
    return scales;
}

struct Workload {
    std::vector<float> signal = testSignal();
    std::vector<std::vector<float>> scales;
    std::vector<float> out = std::vector<float>(size_t(kScales) * kSamples);
    Workload()
    {
        for (int w = 0; w < kWavelets; ++w)
            scales.push_back(scalesFor(w));
    }
    // Multiply-adds of the whole run (two passes for the complex wavelets).
    double taps() const
    {
        wavelet wl;
        double total = 0;
        for (int w = 0; w < kWavelets; ++w)
            for (float a : scales[w])
                total += double(kSamples) * 2 * std::trunc(3.0 * a / wl.t) * ((w == 0 || w == 6) ? 2 : 1);
        return total;
    }
};

Workload& workload()
{
    static Workload w;
    return w;
}

void BM_CwtScalarReference(benchmark::State& state)
{
    Workload& wl = workload();
    wavelet w;
    for (auto _ : state) {
        for (int b = 0; b < kWavelets; ++b) {
            referenceCwt(w, wl.out.data(), wl.signal.data(), kSamples, kScales, wl.scales[b].data(), b);
            benchmark::DoNotOptimize(wl.out.data());
        }
    }
    state.counters["MAC/s"] = benchmark::Counter(wl.taps(), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Cwt(benchmark::State& state)
{
    Workload& wl = workload();
    const int level = setWaveletKernelLevel(int(state.range(0)));
    if (level != state.range(0)) {
        state.SkipWithError("vector unit not available");
        return;
    }
    wavelet w;
    for (auto _ : state) {
        for (int b = 0; b < kWavelets; ++b) {
            w.cwt(wl.out.data(), wl.signal.data(), kSamples, 360, kScales, wl.scales[b].data(), b);
            benchmark::DoNotOptimize(wl.out.data());
        }
    }
    state.counters["MAC/s"] = benchmark::Counter(wl.taps(), benchmark::Counter::kIsIterationInvariantRate);
    setWaveletKernelLevel(99);
}

void BM_FFT(benchmark::State& state)
{
    const int m = 14, n = 1 << m;
    std::mt19937 gen(1);
    std::uniform_real_distribution<double> dist(-1, 1);
    std::vector<double> x0(n);
    for (double& v : x0)
        v = dist(gen);
    std::vector<double> x(n), y(n);
    toolbox tb;
    for (auto _ : state) {
        state.PauseTiming();
        x = x0;
        std::fill(y.begin(), y.end(), 0.0);
        state.ResumeTiming();
        tb.FFT(1, m, x.data(), y.data());
        benchmark::DoNotOptimize(x.data());
    }
}

void BM_Denoise(benchmark::State& state)
{
    const int m = 14, n = 1 << m;
    const std::vector<float> s = testSignal();
    std::vector<double> x0(s.begin(), s.begin() + n), x(n);
    toolbox tb;
    for (auto _ : state) {
        state.PauseTiming();
        x = x0;
        state.ResumeTiming();
        tb.denoise(0.8f, x.data(), m);
        benchmark::DoNotOptimize(x.data());
    }
}

// The fast transform must give the scalar transform's bits on the real workload.
bool verifyWorkload()
{
    Workload& wl = workload();
    wavelet w;
    std::vector<float> want(wl.out.size());
    bool same = true;
    for (int b = 0; b < kWavelets && same; ++b) {
        referenceCwt(w, want.data(), wl.signal.data(), kSamples, kScales, wl.scales[b].data(), b);
        w.cwt(wl.out.data(), wl.signal.data(), kSamples, 360, kScales, wl.scales[b].data(), b);
        same = std::memcmp(want.data(), wl.out.data(), want.size() * sizeof(float)) == 0;
    }
    return same;
}

} // namespace

BENCHMARK(BM_CwtScalarReference)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Cwt)->Arg(0)->Arg(1)->Arg(2)->ArgName("level")->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_FFT)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Denoise)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    // The numeric classes are widgets; they need an application object.
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    disableGslAbort();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    const bool same = verifyWorkload();
    std::printf("fast transform (vector level %d) equals the scalar transform bit for bit: %s\n",
                waveletKernelLevel(), same ? "yes" : "NO");
    if (!same)
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
