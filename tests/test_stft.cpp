// Short-time Fourier transform: frame layout, windows, padding, inverse.

#include <QtTest>

#include <gsl/gsl_fft_real.h>

#include <cmath>
#include <vector>

#include "app/mainwindow.h"
#include "testutil.h"

namespace {

int framesFor(int dal) { return (dal - 32) / 32 + 1; }

// Entry 0 of frame 0 is the sum of the windowed samples: with a unit
// impulse at sample n that is w[n] itself.
float windowValue(MainWindow& mw, int type, int n)
{
    const int dal = 256;
    std::vector<float> sig(dal, 0.0f);
    sig[n] = 1.0f;
    std::vector<float> coef(128 * framesFor(dal), -1.0f);
    mw.wwstft(coef.data(), sig.data(), 128, 32, dal, type);
    return coef[0];
}

} // namespace

class TestStft : public QObject
{
    Q_OBJECT

    MainWindow* mw = nullptr;

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        DialogCloser closer;
        mw = new MainWindow;
    }
    void cleanupTestCase() { delete mw; }

    void frameCountAndConstantSignal()
    {
        // 16384 samples: 512 frames of 128 rows; the last frame starts at
        // 16352 and reaches 32 samples past the end, which read as zeros.
        const int dal = 16384;
        const int nframes = framesFor(dal);
        QCOMPARE(nframes, 512);
        const float c = -2.5f;
        std::vector<float> sig(dal, c);
        std::vector<float> coef(128 * nframes, -1.0f);
        mw->wwstft(coef.data(), sig.data(), 128, 32, dal, 0);
        for (int col = 0; col < nframes - 1; ++col)
            QCOMPARE(coef[col], 64.0f * std::fabs(c));
        QCOMPARE(coef[nframes - 1], 32.0f * std::fabs(c));
        for (float v : coef)
            QVERIFY(v >= 0.0f);
        QCOMPARE(framesFor(1024), 32);
    }

    void lastFrameReadsZerosPastTheEnd()
    {
        // Samples past the input must not leak into the last frame: a
        // buffer that continues with garbage gives the same result as one
        // that stops at dal.
        const int dal = 100;
        const int nframes = framesFor(dal);
        QCOMPARE(nframes, 3);
        std::vector<float> padded(dal + 64, 1000.0f);
        for (int i = 0; i < dal; ++i)
            padded[i] = float(std::sin(i * 0.3));
        std::vector<float> exact(padded.begin(), padded.begin() + dal);
        std::vector<float> a(128 * nframes), b(128 * nframes);
        mw->wwstft(a.data(), padded.data(), 128, 32, dal, 2);
        mw->wwstft(b.data(), exact.data(), 128, 32, dal, 2);
        QVERIFY(a == b);
    }

    void shortInputStillOneFrame()
    {
        std::vector<float> sig(10, 1.0f);
        std::vector<float> coef(128, -1.0f);
        mw->wwstft(coef.data(), sig.data(), 128, 32, 10, 0);
        QCOMPARE(framesFor(10), 1);
        // Frame 0 covers samples 0..63; only 0..9 exist.
        QCOMPARE(coef[0], 10.0f);
    }

    void windowKnownValues()
    {
        // Square.
        QCOMPARE(windowValue(*mw, 0, 0), 1.0f);
        QCOMPARE(windowValue(*mw, 0, 63), 1.0f);
        // Bartlett: 62/63 at 31 and 32, zero at both ends.
        QCOMPARE(windowValue(*mw, 1, 31), float(62.0 / 63.0));
        QCOMPARE(windowValue(*mw, 1, 32), float(62.0 / 63.0));
        QCOMPARE(windowValue(*mw, 1, 0), 0.0f);
        QVERIFY(windowValue(*mw, 1, 63) < 1e-6f);
        // Hanning and Blackman vanish at the ends; Hamming is 0.08 there.
        QVERIFY(windowValue(*mw, 2, 0) < 1e-7f);
        QVERIFY(windowValue(*mw, 4, 0) < 1e-7f);
        QVERIFY(std::fabs(windowValue(*mw, 3, 0) - 0.08f) < 1e-6f);
        QVERIFY(std::fabs(windowValue(*mw, 3, 63) - 0.08f) < 1e-6f);
        // Gaussian: about 0.01277 at both ends.
        QVERIFY(std::fabs(windowValue(*mw, 5, 0) - 0.01277f) < 5e-5f);
        QVERIFY(std::fabs(windowValue(*mw, 5, 63) - 0.01277f) < 5e-5f);
        QCOMPARE(windowValue(*mw, 5, 0), windowValue(*mw, 5, 63));
        // Unknown indices fall back to Hamming.
        for (int t : {6, 7, -1})
            for (int n : {0, 17, 40})
                QCOMPARE(windowValue(*mw, t, n), windowValue(*mw, 3, n));
    }

    void rowsAreHalfComplexEntries()
    {
        // A cosine at FFT bin 4 (rotation-free at frame centre) puts its
        // energy into entry 7 (real part of bin 4) and entry 8 (imaginary).
        const int dal = 1024;
        const int nframes = framesFor(dal);
        std::vector<float> sig(dal);
        for (int i = 0; i < dal; ++i)
            sig[i] = float(std::cos(2 * M_PI * 4 * i / 128.0));
        std::vector<float> coef(128 * nframes);
        mw->wwstft(coef.data(), sig.data(), 128, 32, dal, 0);
        const int col = 5;
        int best = 0;
        for (int k = 1; k < 128; ++k)
            if (coef[k * nframes + col] > coef[best * nframes + col])
                best = k;
        QVERIFY2(best == 7 || best == 8, qPrintable(QString::number(best)));
    }

    void inverseRebuildsTheInterior()
    {
        // Frames made as the forward transform makes them but with the
        // Hamming window and signed half-complex values: the overlap-add
        // with de-windowing gives the samples back.
        const int nfft = 128, nov = 32, M = 64, hop = 32, dal = 512;
        const int nframes = framesFor(dal);
        std::vector<double> x(dal);
        for (int i = 0; i < dal; ++i)
            x[i] = std::sin(i * 0.05) + 0.3 * std::cos(i * 0.71);
        std::vector<double> w(M);
        for (int n = 0; n < M; ++n)
            w[n] = 0.54 - 0.46 * std::cos(6.283185307179586 * n / (M - 1));
        std::vector<double> frames(std::size_t(nframes) * nfft, 0.0);
        gsl_fft_real_wavetable* tab = gsl_fft_real_wavetable_alloc(nfft);
        gsl_fft_real_workspace* ws = gsl_fft_real_workspace_alloc(nfft);
        for (int col = 0; col < nframes; ++col) {
            double* f = &frames[std::size_t(col) * nfft];
            for (int i = 0; i < M / 2; ++i) {
                const int a = col * hop + M / 2 + i, b = col * hop + i;
                f[i] = (a < dal ? x[a] : 0.0) * w[M / 2 + i];
                f[nfft - M / 2 + i] = (b < dal ? x[b] : 0.0) * w[i];
            }
            gsl_fft_real_transform(f, 1, nfft, tab, ws);
        }
        gsl_fft_real_wavetable_free(tab);
        gsl_fft_real_workspace_free(ws);

        std::vector<double> y(dal, 99.0);
        mw->wwistft(frames.data(), y.data(), nfft, nov, dal);
        for (int j = nov; j < dal - 2 * M; ++j)
            QVERIFY2(std::fabs(y[j] - x[j]) < 1e-9, qPrintable(QString::number(j)));
    }

    void degenerateArgumentsAreRefused()
    {
        // An FFT frame shorter than the window cannot hold it.
        std::vector<float> sig(256, 1.0f);
        std::vector<float> coef(64 * framesFor(256), -1.0f);
        mw->wwstft(coef.data(), sig.data(), 32, 32, 256, 0);
        for (float v : coef)
            QCOMPARE(v, -1.0f);
        mw->wwstft(coef.data(), sig.data(), 128, 0, 256, 0);
        for (float v : coef)
            QCOMPARE(v, -1.0f);
    }
};

QTEST_MAIN(TestStft)
#include "test_stft.moc"
