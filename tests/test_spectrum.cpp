// FFT spectrum and power spectral density: the computations against a plain
// DFT, and the windows, titles, menus and analysis state they leave behind.

#include <QtTest>

#include <cmath>
#include <vector>

#include "app/spectral.h"
#include "testutil.h"

namespace {

const double kPi = 3.14159265358979323846;

// GSL's half-complex packing computed by a plain DFT: entry 0 the sum, then
// real and imaginary parts of each frequency, for even n the Nyquist term.
std::vector<double> halfComplexDft(const std::vector<double>& x)
{
    const int n = static_cast<int>(x.size());
    std::vector<double> out(static_cast<size_t>(n), 0.0);
    for (int m = 0; m <= n / 2; ++m) {
        long double re = 0, im = 0;
        for (int j = 0; j < n; ++j) {
            // Reduce the phase index exactly before the trigonometry.
            const long long p = (static_cast<long long>(m) * j) % n;
            const long double a = 2.0L * kPi * p / n;
            re += x[static_cast<size_t>(j)] * std::cos(a);
            im -= x[static_cast<size_t>(j)] * std::sin(a);
        }
        if (m == 0) {
            out[0] = static_cast<double>(re);
        } else if (2 * m == n) {
            out[static_cast<size_t>(n - 1)] = static_cast<double>(re);
        } else {
            out[static_cast<size_t>(2 * m - 1)] = static_cast<double>(re);
            out[static_cast<size_t>(2 * m)] = static_cast<double>(im);
        }
    }
    return out;
}

QVector<QPointF> makeCurve(int n, double fs, double (*f)(int, double))
{
    QVector<QPointF> c;
    c.reserve(n);
    for (int k = 0; k < n; ++k)
        c.append(QPointF(k / fs, f(k, fs)));
    return c;
}

double pseudoRandom(int k, double)
{
    // Deterministic, irregular values with an offset.
    return std::sin(0.37 * k * k + 1.3) * 3.0 + std::cos(1.7 * k) + 0.5;
}

std::vector<double> yValues(const QVector<QPointF>& c)
{
    std::vector<double> y;
    for (const QPointF& p : c)
        y.push_back(p.y());
    return y;
}

bool near(double a, double b, double tol)
{
    return std::fabs(a - b) <= tol * (1.0 + std::fabs(b));
}

} // namespace

class TestSpectrum : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { spectral::setAllocationFailureForTesting(false); }

    // ---- amplitude spectrum -------------------------------------------

    void spectrumOfRecordLength()
    {
        const QVector<QPointF> c = makeCurve(16384, 360.0, pseudoRandom);
        QVector<QPointF> s;
        QCOMPARE(spectral::spectrumOfCurve(c, s), spectral::Status::Ok);
        QCOMPARE(spectral::spectrumStartIndex(16384, 1.0 / (c[1].x() - c[0].x())), 32);
        QCOMPARE(s.size(), 16352);
        const double fs = 1.0 / (c[1].x() - c[0].x());
        QCOMPARE(s.first().x(), 33 * fs / 32768);
        QVERIFY(std::fabs(s.first().x() - 0.362548828125) < 1e-12);
        QCOMPARE(s.last().x(), fs / 2);
        // Half a frequency step between neighbours.
        QCOMPARE(s[1].x() - s[0].x(), fs / 32768);
    }

    void spectrumOfFileTimeBase()
    {
        // The record's times are printed with six digits: 0, 0.00277778, ...
        QVector<QPointF> c = makeCurve(16384, 360.0, pseudoRandom);
        c[1].setX(0.00277778);
        const double fs = 1.0 / 0.00277778;
        QVector<QPointF> s;
        QCOMPARE(spectral::spectrumOfCurve(c, s), spectral::Status::Ok);
        QCOMPARE(s.size(), 16352);
        QCOMPARE(s.first().x(), 33 * fs / 32768);
        QCOMPARE(s.last().x(), 16384 * fs / 32768);
    }

    void oddLengthEndsAboveNyquist()
    {
        const int n = 1001;
        const QVector<QPointF> c = makeCurve(n, 250.0, pseudoRandom);
        QVector<QPointF> s;
        QCOMPARE(spectral::spectrumOfCurve(c, s), spectral::Status::Ok);
        const double fs = 1.0 / (c[1].x() - c[0].x());
        // start: 0.002 * 1001 = 2.002 -> 2
        QCOMPARE(s.size(), n - 2);
        QCOMPARE(s.first().x(), 3 * fs / (2 * n - 2));
        QCOMPARE(s.last().x(), n * fs / (2 * n - 2));
        QVERIFY(s.last().x() > fs / 2);
    }

    void cosineAndSineLandOnTheirEntries()
    {
        // 64 samples at 64 Hz: a 5 Hz cosine is the real part at m = 5
        // (entry 9), a 5 Hz sine the imaginary part (entry 10, -1 rectified).
        const int n = 64;
        QVector<QPointF> c, s;
        for (int k = 0; k < n; ++k) {
            c.append(QPointF(k / 64.0, std::cos(2 * kPi * 5 * k / n)));
            s.append(QPointF(k / 64.0, std::sin(2 * kPi * 5 * k / n)));
        }
        QVector<double> e;
        double fs = 0;
        QCOMPARE(spectral::amplitudeEntries(c, e, fs), spectral::Status::Ok);
        QCOMPARE(fs, 64.0);
        QCOMPARE(e.size(), n);
        for (int i = 0; i < n; ++i)
            QVERIFY2(near(e[i], i == 9 ? 1.0 : 0.0, 1e-6), qPrintable(QString::number(i)));
        QCOMPARE(spectral::amplitudeEntries(s, e, fs), spectral::Status::Ok);
        for (int i = 0; i < n; ++i)
            QVERIFY2(near(e[i], i == 10 ? 1.0 : 0.0, 1e-6), qPrintable(QString::number(i)));

        // Start index 0 here (0.002 * 64 < 1): entry 9 is point 9 at 5 Hz,
        // entry 10 half a step above.
        QVector<QPointF> curve;
        QCOMPARE(spectral::spectrumOfCurve(c, curve), spectral::Status::Ok);
        QCOMPARE(curve.size(), n);
        QCOMPARE(curve[9].x(), 5.0);
        QCOMPARE(curve[10].x(), 5.5);
        QVERIFY(near(curve[9].y(), 1.0, 1e-6));
        QCOMPARE(curve.last().x(), 32.0);
    }

    void entriesMatchPlainDft_data()
    {
        QTest::addColumn<int>("n");
        QTest::newRow("even 100") << 100;
        QTest::newRow("odd 99") << 99;
        QTest::newRow("prime 97") << 97;
        QTest::newRow("two") << 2;
        QTest::newRow("three") << 3;
    }

    void entriesMatchPlainDft()
    {
        QFETCH(int, n);
        const QVector<QPointF> c = makeCurve(n, 100.0, pseudoRandom);
        const std::vector<double> ref = halfComplexDft(yValues(c));
        QVector<double> e;
        double fs = 0;
        QCOMPARE(spectral::amplitudeEntries(c, e, fs), spectral::Status::Ok);
        QCOMPARE(e.size(), n);
        for (int i = 0; i < n; ++i) {
            const double expected = std::fabs(2.0 * ref[static_cast<size_t>(i)] / n);
            QVERIFY2(near(e[i], expected, 1e-6), qPrintable(QString("%1: %2 vs %3").arg(i).arg(e[i]).arg(expected)));
            // Rectified in float precision.
            QCOMPARE(e[i], static_cast<double>(static_cast<float>(e[i])));
            QVERIFY(e[i] >= 0);
        }
        QVector<QPointF> curve;
        QCOMPARE(spectral::spectrumOfCurve(c, curve), spectral::Status::Ok);
        const int start = spectral::spectrumStartIndex(n, fs);
        QCOMPARE(curve.size(), n - start);
        const int h = n / 2;
        for (int k = start; k < n; ++k) {
            QCOMPARE(curve[k - start].x(), (k + 1) * fs / (4 * h));
            QCOMPARE(curve[k - start].y(), e[k]);
        }
    }

    void curvesWithoutSamplingRate()
    {
        QVector<QPointF> out;
        QCOMPARE(spectral::spectrumOfCurve({}, out), spectral::Status::TooShort);
        QCOMPARE(spectral::spectrumOfCurve({QPointF(0, 1)}, out), spectral::Status::TooShort);
        QCOMPARE(spectral::spectrumOfCurve({QPointF(1, 1), QPointF(1, 2), QPointF(2, 3)}, out),
                 spectral::Status::NoSamplingRate);
        QVERIFY(out.isEmpty());
        QCOMPARE(spectral::psdCurve({}, out), spectral::Status::TooShort);
        QVector<QPointF> flat(20, QPointF(3, 1));
        QCOMPARE(spectral::psdCurve(flat, out), spectral::Status::NoSamplingRate);
        QVERIFY(out.isEmpty());
    }

    void titleSuffixOnce()
    {
        QCOMPARE(spectral::spectrumTitle("ART_mgh038.txt"), QString("ART_mgh038.txt Spectrum "));
        QCOMPARE(spectral::spectrumTitle("ART_mgh038.txt Spectrum "), QString("ART_mgh038.txt Spectrum "));
        QCOMPARE(spectral::spectrumTitle("a Spectrum b"), QString("a Spectrum b"));
        QCOMPARE(spectral::spectrumTitle("a spectrum b"), QString("a spectrum b Spectrum "));
        QCOMPARE(spectral::spectrumTitle("a Spectrum"), QString("a Spectrum Spectrum "));
        QCOMPARE(spectral::spectrumTitle(""), QString(" Spectrum "));
    }

    // ---- power spectrum ---------------------------------------------------

    void powerWindowCounts_data()
    {
        QTest::addColumn<int>("dal");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("nfft");
        QTest::newRow("record") << 16384 << 1638 << 1024;
        QTest::newRow("1000") << 1000 << 100 << 801;
        QTest::newRow("1277") << 1277 << 127 << 1024;
        QTest::newRow("1278 capped") << 1278 << 127 << 1024;
        QTest::newRow("1276") << 1276 << 127 << 1023;
        QTest::newRow("ten") << 10 << 1 << 9;
        QTest::newRow("nine") << 9 << 0 << 0;
        QTest::newRow("zero") << 0 << 0 << 0;
        QTest::newRow("negative") << -5 << 0 << 0;
    }

    void powerWindowCounts()
    {
        QFETCH(int, dal);
        QFETCH(int, offset);
        QFETCH(int, nfft);
        const spectral::PowerWindow w = spectral::powerWindow(dal);
        QCOMPARE(w.offset, offset);
        QCOMPARE(w.nfft, nfft);
    }

    void powerSpectrumMatchesPlainDft_data()
    {
        QTest::addColumn<int>("dal");
        QTest::newRow("1000") << 1000;
        QTest::newRow("1278") << 1278;
        QTest::newRow("ten") << 10;
        QTest::newRow("eleven") << 11;
    }

    void powerSpectrumMatchesPlainDft()
    {
        QFETCH(int, dal);
        // Exactly dal samples on the heap: the sanitizer build catches any
        // read past them.
        std::vector<double> sig(static_cast<size_t>(dal));
        for (int k = 0; k < dal; ++k)
            sig[static_cast<size_t>(k)] = pseudoRandom(k, 0);
        const spectral::PowerWindow w = spectral::powerWindow(dal);
        std::vector<double> window(sig.begin() + w.offset, sig.begin() + w.offset + w.nfft);
        const std::vector<double> ref = halfComplexDft(window);

        std::vector<double> ps(static_cast<size_t>(w.nfft) + 1, -7.0);
        QCOMPARE(spectral::powerSpectrum(ps.data(), sig.data(), dal), spectral::Status::Ok);
        for (int i = 0; i < w.nfft; ++i) {
            const double v = ref[static_cast<size_t>(i)];
            QVERIFY2(near(ps[static_cast<size_t>(i)], 2 * v * v / w.nfft, 1e-8), qPrintable(QString::number(i)));
        }
        QCOMPARE(ps[static_cast<size_t>(w.nfft)], -7.0);
    }

    void powerSpectrumOfFewSamplesComputesNothing()
    {
        std::vector<double> sig(9, 1.0);
        std::vector<double> ps(16, -7.0);
        QCOMPARE(spectral::powerSpectrum(ps.data(), sig.data(), 9), spectral::Status::TooShort);
        for (double v : ps)
            QCOMPARE(v, -7.0);
    }

    // ---- power spectral density curve -------------------------------------

    void psdOfRecordLength()
    {
        const QVector<QPointF> c = makeCurve(16384, 360.0, pseudoRandom);
        QVector<QPointF> psd;
        QCOMPARE(spectral::psdCurve(c, psd), spectral::Status::Ok);
        QCOMPARE(psd.size(), 992);
        QCOMPARE(psd.first().x(), 5.80078125);
        QCOMPARE(psd.last().x(), 180.0);
        QCOMPARE(psd[1].x() - psd[0].x(), 0.17578125);

        // y: entries 32 to 1023 of the power spectrum of samples 1638..2661.
        const std::vector<double> y = yValues(c);
        const std::vector<double> window(y.begin() + 1638, y.begin() + 1638 + 1024);
        const std::vector<double> ref = halfComplexDft(window);
        for (int j = 32; j < 1024; ++j) {
            const double v = ref[static_cast<size_t>(j)];
            QVERIFY2(near(psd[j - 32].y(), 2 * v * v / 1024, 1e-8), qPrintable(QString::number(j)));
        }
    }

    void psdOfThousandSamples()
    {
        const QVector<QPointF> c = makeCurve(1000, 360.0, pseudoRandom);
        QVector<QPointF> psd;
        QCOMPARE(spectral::psdCurve(c, psd), spectral::Status::Ok);
        QCOMPARE(psd.size(), 799);
        QCOMPARE(psd.first().x(), 3 * 360.0 / 1602);
        QVERIFY(std::fabs(psd.first().x() - 0.6741573033707865) < 1e-15);
        QCOMPARE(psd.last().x(), 180.0);
    }

    void psdOfShortCurves()
    {
        QVector<QPointF> psd;
        QCOMPARE(spectral::psdCurve(makeCurve(9, 360.0, pseudoRandom), psd), spectral::Status::TooShort);
        QVERIFY(psd.isEmpty());
        // Ten samples: hi = 10 - 2 + 1 = 9, lo = 0, nine points.
        QCOMPARE(spectral::psdCurve(makeCurve(10, 360.0, pseudoRandom), psd), spectral::Status::Ok);
        QCOMPARE(psd.size(), 9);
    }

    void allocationFailureIsReported()
    {
        spectral::setAllocationFailureForTesting(true);
        const QVector<QPointF> c = makeCurve(64, 64.0, pseudoRandom);
        QVector<QPointF> out{QPointF(1, 2)};
        QCOMPARE(spectral::spectrumOfCurve(c, out), spectral::Status::OutOfMemory);
        QCOMPARE(spectral::psdCurve(c, out), spectral::Status::OutOfMemory);
        QCOMPARE(out.size(), 1);
        std::vector<double> sig(64, 1.0), ps(64, -7.0);
        QCOMPARE(spectral::powerSpectrum(ps.data(), sig.data(), 64), spectral::Status::OutOfMemory);
        QCOMPARE(ps[0], -7.0);
        double data[4] = {1, 2, 3, 4};
        QCOMPARE(spectral::realTransform(data, 4), spectral::Status::OutOfMemory);
        QCOMPARE(spectral::realTransform(data, 0), spectral::Status::TooShort);
    }
};

QTEST_MAIN(TestSpectrum)
#include "test_spectrum.moc"
