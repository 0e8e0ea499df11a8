// Time-frequency analyses as the user waits for them: the eight-wavelet
// analysis of one 16384-sample signal with its four-window layout, and the
// bonded Morlet analysis of eight signals. Besides the wall time, each run
// reports how much of it lies outside the wavelet transform itself (the
// same transforms are timed alone on the same input).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPointF>
#include <QVector>

#include <chrono>
#include <cmath>
#include <vector>

#include "app/mainwindow.h"
#include "dsp/tools.h"
#include "app/timefrequency_internal.h"
#include "dsp/wavelet.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

MainWindow* window()
{
    static MainWindow* mw = [] {
        auto* w = new MainWindow;
        w->resize(1280, 800);
        w->show();
        QApplication::processEvents();
        return w;
    }();
    return mw;
}

QVector<QPointF> testSignal(int n, int seed)
{
    QVector<QPointF> s(n);
    for (int i = 0; i < n; ++i) {
        const double t = i / 360.0;
        s[i] = QPointF(t, std::sin(2 * M_PI * (1.2 + 0.1 * seed) * t)
                              + 0.4 * std::sin(2 * M_PI * (17.0 + seed) * t)
                              + 0.2 * std::sin(2 * M_PI * 55.0 * t * t / 45.0));
    }
    return s;
}

std::vector<float> scalesFor(double centre, float Fs)
{
    const double df = (Fs / 2.0) / 100;
    std::vector<float> sc(100);
    for (int k = 0; k < 100; ++k)
        sc[k] = float(centre * Fs / float((k + 1) * df));
    return sc;
}

// The transforms of one run, alone: `samples` per image, `bases` the
// mother wavelets.
double cwtOnly(const std::vector<std::vector<float> >& samples, const std::vector<int>& bases,
               const double* centre, float Fs)
{
    wavelet transform(nullptr);
    const auto t0 = Clock::now();
    for (std::size_t i = 0; i < samples.size(); ++i) {
        std::vector<float> sig = samples[i];
        std::vector<float> coef(100 * sig.size(), 0.0f);
        std::vector<float> sc = scalesFor(centre[bases[i]], Fs);
        transform.cwt(coef.data(), sig.data(), int(sig.size()), int(Fs), 100, sc.data(), bases[i]);
        benchmark::DoNotOptimize(coef.data());
    }
    return msSince(t0);
}

void report(benchmark::State& state, double total, double cwt, int runs)
{
    state.counters["total_ms"] = total / runs;
    state.counters["cwt_ms"] = cwt / runs;
    state.counters["outside_ms"] = (total - cwt) / runs;
    state.counters["outside_frac"] = total > 0 ? (total - cwt) / total : 0;
}

void BM_WaveletAnalysisEightWavelets(benchmark::State& state)
{
    MainWindow* mw = window();
    mw->isBondSignals = false;
    mw->isMultiCurve = false;
    mw->isSingleWindow = false;
    mw->signal[0] = testSignal(16384, 0);

    std::vector<float> trimmed(16384);
    for (int i = 0; i < 16384; ++i)
        trimmed[i] = float(mw->signal[0][i].y());
    const tfwork::TrimResult t = tfwork::centreAndTrim(trimmed.data(), 16384);
    trimmed = std::vector<float>(trimmed.begin() + t.start, trimmed.begin() + t.end + 1);
    const float Fs = float(1.0 / (mw->signal[0][1].x() - mw->signal[0][0].x()));
    std::vector<std::vector<float> > samples(8, trimmed);
    const std::vector<int> bases = {0, 1, 2, 3, 4, 5, 6, 7};

    double total = 0, cwt = 0;
    int runs = 0;
    for (auto _ : state) {
        // Each run starts, as the user's does, from the signals' grid.
        state.PauseTiming();
        mw->on_action_Time_Dom_Analysis_triggered();
        QApplication::processEvents();
        state.ResumeTiming();
        const auto t0 = Clock::now();
        mw->on_action_Wavelet_Analysis_triggered();
        QApplication::processEvents(); // layout and the drawing it causes
        total += msSince(t0);
        state.PauseTiming();
        cwt += cwtOnly(samples, bases, mw->centerFrequencies(), Fs);
        ++runs;
        state.ResumeTiming();
    }
    report(state, total, cwt, runs);
}
BENCHMARK(BM_WaveletAnalysisEightWavelets)->Unit(benchmark::kMillisecond)->Iterations(8);

void BM_BondedMorletEightSignals(benchmark::State& state)
{
    MainWindow* mw = window();
    mw->on_action_Time_Dom_Analysis_triggered();
    QApplication::processEvents();
    mw->isBondSignals = true;
    const int count = std::min(mw->plotterCountRaw, 8);
    std::vector<std::vector<float> > samples;
    for (int i = 0; i < count; ++i) {
        mw->signal[i] = testSignal(16384, i);
        std::vector<float> s(16384);
        for (int k = 0; k < 16384; ++k)
            s[k] = float(mw->signal[i][k].y());
        samples.push_back(s);
    }
    const float Fs = float(1.0 / (mw->signal[0][1].x() - mw->signal[0][0].x()));
    const std::vector<int> bases(count, 0);

    double total = 0, cwt = 0;
    int runs = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        mw->on_action_Wavelet_Analysis_triggered();
        QApplication::processEvents();
        total += msSince(t0);
        state.PauseTiming();
        cwt += cwtOnly(samples, bases, mw->centerFrequencies(), Fs);
        ++runs;
        state.ResumeTiming();
    }
    report(state, total, cwt, runs);
    state.counters["signals"] = count;
}
BENCHMARK(BM_BondedMorletEightSignals)->Unit(benchmark::kMillisecond)->Iterations(8);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(resources);
    disableGslAbort();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
