// FFT spectrum and power spectral density: the computations against a plain
// DFT, and the windows, titles, menus and analysis state they leave behind.

#include <QtTest>

#include <cmath>
#include <vector>

#include <QGridLayout>
#include <QMenu>

#include "app/mainwindow.h"
#include "app/spectral.h"
#include "app/ui_mainwindow.h"
#include "plot/plotter.h"
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

// One half-complex entry of the curve's y values by a direct sum, scaled and
// rectified as the spectrum shows it.
double spectrumEntry(const QVector<QPointF>& c, int k)
{
    const int n = static_cast<int>(c.size());
    const int m = (k + 1) / 2;
    const bool imaginary = k > 0 && k % 2 == 0 && !(n % 2 == 0 && k == n - 1);
    long double sum = 0;
    for (int j = 0; j < n; ++j) {
        const long double a = 2.0L * kPi * ((static_cast<long long>(m) * j) % n) / n;
        sum += imaginary ? -c[j].y() * std::sin(a) : c[j].y() * std::cos(a);
    }
    return static_cast<double>(std::fabs(static_cast<float>(2.0L * sum / n)));
}

QPoint gridPosition(QGridLayout* grid, QWidget* w)
{
    const int index = grid->indexOf(w);
    if (index < 0)
        return QPoint(-1, -1);
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
    return QPoint(column, row);
}

// What a window shows, to see that a failed run changed nothing.
struct WindowState {
    bool hidden;
    QString title, xLabel, yLabel;
    QMap<int, QVector<QPointF> > curves;
    bool operator==(const WindowState& o) const
    {
        return hidden == o.hidden && title == o.title && xLabel == o.xLabel && yLabel == o.yLabel
            && curves == o.curves;
    }
};

QVector<WindowState> snapshot(MainWindow& mw)
{
    QVector<WindowState> s;
    for (int i = 0; i < 20; ++i) {
        Plotter* p = mw.plotterList[i];
        s.append(WindowState{p->isHidden(), p->title, p->xLabel, p->yLabel, p->curveMap});
    }
    return s;
}

QVector<bool> hiddenFlags(MainWindow& mw)
{
    QVector<bool> h;
    for (int i = 0; i < 20; ++i)
        h.append(mw.plotterList[i]->isHidden());
    return h;
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

    void psdOfExtremeTimeStep()
    {
        // A step of 1e-300 s gives a rate that no float holds: refused, and
        // nothing is read before the power spectrum.
        QVector<QPointF> c;
        for (int k = 0; k < 10; ++k)
            c.append(QPointF(k * 1e-300, k % 3));
        QVector<QPointF> psd;
        QCOMPARE(spectral::psdCurve(c, psd), spectral::Status::NoSamplingRate);
        QVERIFY(psd.isEmpty());
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

// The analyses as the main window and its plot windows run them.
class TestSpectrumWindows : public QObject
{
    Q_OBJECT

private:
    static QMenu* frequencyMenu(MainWindow& mw) { return mw.form()->menu_Frequency_Dom_Analysis; }

private slots:
    void cleanup() { spectral::setAllocationFailureForTesting(false); }

    void menuFftSingleShowsOneWindow()
    {
        DialogCloser closer;
        MainWindow mw;
        QCOMPARE(mw.plotterCount, 8);
        QVERIFY(frequencyMenu(mw)->isEnabled());
        mw.isBondSignals = false;
        mw.currentSignalIndex = 2;
        mw.form()->action_Fast_Fourier_Transform->trigger();

        QCOMPARE(mw.analysisType, 1);
        QVERIFY(!frequencyMenu(mw)->isEnabled());
        QCOMPARE(mw.previousPlotterCount, mw.plotterCount);
        Plotter* p = mw.plotterList[2];
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(mw.plotterList[i]->isHidden(), i != 2);
            if (i != 2)
                QVERIFY(mw.plotterList[i]->curveMap.isEmpty());
        }
        QCOMPARE(gridPosition(mw.form()->workspaceLayout, p), QPoint(0, 0));
        QCOMPARE(p->title, QString("CVP_mgh038.txt Spectrum "));
        QVERIFY(p->titleIsShown);
        QCOMPARE(p->xLabel, QString("Frequency (Hz)"));
        QVERIFY(p->xLabelIsShown);
        QCOMPARE(p->yLabel, QString());
        QVERIFY(p->yLabelIsShown);
        QVERIFY(!p->isMarkCurve);

        const QVector<QPointF>& s = p->curveMap.value(0);
        QCOMPARE(p->curveMap.size(), 1);
        QCOMPARE(s.size(), 16352);
        const QVector<QPointF>& sig = mw.signal[2];
        const double fs = 1.0 / (sig[1].x() - sig[0].x());
        QCOMPARE(s.first().x(), 33 * fs / 32768);
        QCOMPARE(s.last().x(), fs / 2);
        for (int k : {32, 33, 34, 1001, 16382, 16383})
            QVERIFY2(near(s[k - 32].y(), spectrumEntry(sig, k), 1e-5), qPrintable(QString::number(k)));

        // Again from the menu: computed from the loaded signal, one suffix.
        mw.form()->action_Fast_Fourier_Transform->trigger();
        QCOMPARE(p->title, QString("CVP_mgh038.txt Spectrum "));
        QCOMPARE(p->curveMap.value(0), s);
        QVERIFY(closer.texts.isEmpty());

        // Back to the time domain: everything enabled again.
        mw.form()->action_Time_Dom_Analysis->trigger();
        QCOMPARE(mw.analysisType, 0);
        QVERIFY(frequencyMenu(mw)->isEnabled());
        QCOMPARE(mw.plotterList[2]->title, QString("CVP_mgh038.txt"));
        for (int i = 0; i < 8; ++i)
            QVERIFY(!mw.plotterList[i]->isHidden());
    }

    void menuFftIndexFallsBackToFirstSignal_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("equal to count") << 8;
        QTest::newRow("one above") << 9;
        QTest::newRow("negative") << -1;
    }

    void menuFftIndexFallsBackToFirstSignal()
    {
        QFETCH(int, index);
        DialogCloser closer;
        MainWindow mw;
        mw.isBondSignals = false;
        mw.currentSignalIndex = index;
        mw.form()->action_Fast_Fourier_Transform->trigger();
        QCOMPARE(mw.currentSignalIndex, 0);
        QCOMPARE(mw.plotterList[0]->title, QString("ART_mgh038.txt Spectrum "));
        QVERIFY(!mw.plotterList[0]->isHidden());
        QCOMPARE(mw.plotterList[0]->curveMap.value(0).size(), 16352);
        QVERIFY(mw.plotterList[8]->curveMap.isEmpty());
        QCOMPARE(mw.analysisType, 1);
        QVERIFY(closer.texts.isEmpty());
    }

    void menuFftIndexAboveWindowsInUse()
    {
        // Fewer windows in use than signals loaded (time-frequency layout).
        DialogCloser closer;
        MainWindow mw;
        mw.isBondSignals = false;
        mw.plotterCount = 4;
        mw.currentSignalIndex = 5;
        mw.form()->action_Fast_Fourier_Transform->trigger();
        QCOMPARE(mw.currentSignalIndex, 0);
        QCOMPARE(mw.plotterList[0]->title, QString("ART_mgh038.txt Spectrum "));
        QVERIFY(mw.plotterList[5]->curveMap.isEmpty());

        mw.currentSignalIndex = 4;
        mw.form()->action_Fast_Fourier_Transform->trigger();
        QCOMPARE(mw.currentSignalIndex, 4);
        QCOMPARE(mw.plotterList[4]->title, QString("ECG lead II_mgh038.txt Spectrum "));
        QVERIFY(!mw.plotterList[4]->isHidden());
        QVERIFY(closer.texts.isEmpty());
    }

    void menuFftBondedKeepsTheGrid()
    {
        DialogCloser closer;
        MainWindow mw;
        QVERIFY(mw.isBondSignals);
        QVector<QPoint> before;
        for (int i = 0; i < 8; ++i)
            before.append(gridPosition(mw.form()->workspaceLayout, mw.plotterList[i]));
        // A window that showed something else still gets its own signal's spectrum.
        mw.plotterList[5]->setCurveData(0, mw.signal[0]);
        mw.form()->action_Fast_Fourier_Transform->trigger();

        QCOMPARE(mw.analysisType, 1);
        QVERIFY(!frequencyMenu(mw)->isEnabled());
        QCOMPARE(mw.previousPlotterCount, 8);
        for (int i = 0; i < 8; ++i) {
            Plotter* w = mw.plotterList[i];
            QVERIFY(!w->isHidden());
            QCOMPARE(gridPosition(mw.form()->workspaceLayout, w), before[i]);
            QVERIFY(w->title.endsWith(" Spectrum "));
            QCOMPARE(w->title.count(" Spectrum "), 1);
            QCOMPARE(w->xLabel, QString("Frequency (Hz)"));
            QCOMPARE(w->curveMap.size(), 1);
            QCOMPARE(w->curveMap.value(0).size(), 16352);
        }
        QVERIFY(near(mw.plotterList[5]->curveMap.value(0)[100].y(), spectrumEntry(mw.signal[5], 132), 1e-5));
        QVERIFY(near(mw.plotterList[7]->curveMap.value(0)[0].y(), spectrumEntry(mw.signal[7], 32), 1e-5));
        QVERIFY(closer.texts.isEmpty());

        mw.form()->action_Time_Dom_Analysis->trigger();
        QCOMPARE(mw.analysisType, 0);
        QVERIFY(frequencyMenu(mw)->isEnabled());
    }

    void menuPsdSingle()
    {
        DialogCloser closer;
        MainWindow mw;
        mw.isBondSignals = false;
        mw.currentSignalIndex = 3;
        mw.form()->action_Power_Spectral_Density->trigger();

        QCOMPARE(mw.analysisType, 1);
        QVERIFY(!frequencyMenu(mw)->isEnabled());
        QCOMPARE(mw.previousPlotterCount, 8);
        for (int i = 0; i < 8; ++i)
            QCOMPARE(mw.plotterList[i]->isHidden(), i != 3);
        Plotter* p = mw.plotterList[3];
        QCOMPARE(p->title, QString("ECG lead I_mgh038.txt_PSD"));
        QCOMPARE(p->xLabel, QString("Frequency (Hz)"));
        QCOMPARE(p->yLabel, QString("mW/Hz"));
        QVERIFY(p->xLabelIsShown);
        QVERIFY(p->yLabelIsShown);
        const QVector<QPointF> psd = p->curveMap.value(0);
        QCOMPARE(psd.size(), 992);
        const QVector<QPointF>& sig = mw.signal[3];
        const double fs = 1.0 / (sig[1].x() - sig[0].x());
        QCOMPARE(psd.first().x(), 33 * fs / 2048);
        QCOMPARE(psd.last().x(), 1024 * fs / 2048);
        // Entry 40 of the power spectrum of samples 1638..2661.
        QVector<QPointF> window(sig.begin() + 1638, sig.begin() + 1638 + 1024);
        const double a = spectrumEntry(window, 40) * 1024 / 2;
        QVERIFY(near(psd[8].y(), 2 * a * a / 1024, 1e-4));
        QVERIFY(closer.texts.isEmpty());

        mw.form()->action_Time_Dom_Analysis->trigger();
        QCOMPARE(mw.analysisType, 0);
        QVERIFY(frequencyMenu(mw)->isEnabled());
        QCOMPARE(p->title, QString("ECG lead I_mgh038.txt"));
    }

    void menuPsdBonded()
    {
        DialogCloser closer;
        MainWindow mw;
        mw.currentSignalIndex = 6;
        mw.form()->action_Power_Spectral_Density->trigger();
        QCOMPARE(mw.analysisType, 1);
        QVERIFY(!frequencyMenu(mw)->isEnabled());
        for (int i = 0; i < 8; ++i) {
            Plotter* w = mw.plotterList[i];
            QVERIFY(!w->isHidden());
            QVERIFY(w->title.endsWith("_mgh038.txt_PSD"));
            QCOMPARE(w->curveMap.value(0).size(), 992);
        }
        QCOMPARE(mw.plotterList[0]->title, QString("ART_mgh038.txt_PSD"));
        QVERIFY(closer.texts.isEmpty());

        mw.form()->action_Time_Dom_Analysis->trigger();
        QCOMPARE(mw.analysisType, 0);
        QVERIFY(frequencyMenu(mw)->isEnabled());
        QCOMPARE(mw.plotterList[6]->title, QString("PAP_mgh038.txt"));
        QCOMPARE(mw.plotterList[6]->curveMap.value(0), mw.signal[6]);
    }

    void fillerWindowOfAnOddGrid()
    {
        // Three signals: the fourth window repeats the last one and has no
        // loaded signal of its own.
        DialogCloser closer;
        MainWindow mw;
        mw.plotterCountRaw = 3;
        mw.signal[3].clear();
        mw.display_raw_signals(false);
        QCOMPARE(mw.plotterCount, 4);

        mw.form()->action_Fast_Fourier_Transform->trigger();
        QVERIFY(closer.texts.isEmpty());
        QCOMPARE(mw.plotterList[3]->curveMap.value(0).size(), 16352);
        QCOMPARE(mw.plotterList[3]->curveMap.value(0), mw.plotterList[2]->curveMap.value(0));

        // The filler's index is no loaded signal: the single FFT takes signal 0.
        mw.form()->action_Time_Dom_Analysis->trigger();
        mw.isBondSignals = false;
        mw.currentSignalIndex = 3;
        mw.form()->action_Fast_Fourier_Transform->trigger();
        QVERIFY(closer.texts.isEmpty());
        QCOMPARE(mw.currentSignalIndex, 0);
        QCOMPARE(mw.plotterList[0]->title, QString("ART_mgh038.txt Spectrum "));
        QCOMPARE(mw.previousPlotterCount, 4);
    }

    void menuPsdIndexChecked()
    {
        DialogCloser closer;
        MainWindow mw;
        mw.isBondSignals = false;
        // Outside the window table: the first window.
        mw.currentSignalIndex = 25;
        mw.form()->action_Power_Spectral_Density->trigger();
        QCOMPARE(mw.currentSignalIndex, 0);
        QCOMPARE(mw.plotterList[0]->title, QString("ART_mgh038.txt_PSD"));
        QVERIFY(closer.texts.isEmpty());

        // Inside the table the index is used as it is, even above the
        // windows in use.
        mw.form()->action_Time_Dom_Analysis->trigger();
        mw.plotterCount = 4;
        mw.currentSignalIndex = 6;
        mw.form()->action_Power_Spectral_Density->trigger();
        QCOMPARE(mw.currentSignalIndex, 6);
        QCOMPARE(mw.plotterList[6]->title, QString("PAP_mgh038.txt_PSD"));
        QCOMPARE(mw.plotterList[0]->title, QString("ART_mgh038.txt"));
        QVERIFY(!mw.plotterList[6]->isHidden());
        QCOMPARE(mw.analysisType, 1);
        QVERIFY(closer.texts.isEmpty());

        // No window in use: the current one is still asked; bonded, there
        // is nothing to compute, and the user is told.
        mw.form()->action_Time_Dom_Analysis->trigger();
        mw.plotterCount = 0;
        mw.currentSignalIndex = 1;
        mw.form()->action_Power_Spectral_Density->trigger();
        QCOMPARE(mw.plotterList[1]->title, QString("CO2_mgh038.txt_PSD"));
        QCOMPARE(mw.analysisType, 1);
        QVERIFY(closer.texts.isEmpty());
        mw.form()->action_Time_Dom_Analysis->trigger();
        mw.plotterCount = 0;
        mw.isBondSignals = true;
        mw.form()->action_Power_Spectral_Density->trigger();
        QCOMPARE(closer.texts, QStringList{"Data length should >= 10!"});
        QCOMPARE(mw.analysisType, 0);
        closer.texts.clear();
        mw.isBondSignals = false;

        // A window without a curve says so and changes nothing.
        mw.form()->action_Time_Dom_Analysis->trigger();
        mw.currentSignalIndex = 8;
        mw.form()->action_Power_Spectral_Density->trigger();
        QCOMPARE(mw.currentSignalIndex, 8);
        QCOMPARE(closer.texts, QStringList{"Data length should >= 10!"});
        QVERIFY(mw.plotterList[8]->curveMap.isEmpty());
        QCOMPARE(mw.analysisType, 0);
    }

    void bondedPsdAfterUnbondedSpectrum()
    {
        // An unbonded spectrum from a context menu empties the other windows,
        // while the main menu still offers the power spectral density.
        DialogCloser closer;
        MainWindow mw;
        mw.isBondSignals = false;
        mw.currentSignalIndex = 4;
        QVector<QPointF> curve = mw.plotterList[4]->curveMap.value(0);
        mw.FFTSpectrum(curve);
        QVERIFY(frequencyMenu(mw)->isEnabled());
        QCOMPARE(mw.plotterList[4]->curveMap.value(0).size(), 16352);
        QVERIFY(mw.plotterList[0]->curveMap.isEmpty());

        mw.isBondSignals = true;
        mw.form()->action_Power_Spectral_Density->trigger();
        QVERIFY(closer.texts.isEmpty());
        QCOMPARE(mw.analysisType, 1);
        // Window 4 works on its own 16352 points; the empty ones are skipped.
        Plotter* p = mw.plotterList[4];
        QCOMPARE(p->title, QString("ECG lead II_mgh038.txt Spectrum _PSD"));
        QCOMPARE(p->curveMap.value(0).size(), 1024 - 32);
        for (int i = 0; i < 8; ++i) {
            if (i == 4)
                continue;
            QVERIFY(mw.plotterList[i]->curveMap.isEmpty());
            QVERIFY(!mw.plotterList[i]->title.contains("_PSD"));
            QVERIFY(mw.plotterList[i]->isHidden());
        }
    }

    void allocationFailureChangesNothing_data()
    {
        QTest::addColumn<bool>("bonded");
        QTest::addColumn<bool>("psd");
        QTest::newRow("fft single") << false << false;
        QTest::newRow("fft bonded") << true << false;
        QTest::newRow("psd single") << false << true;
        QTest::newRow("psd bonded") << true << true;
    }

    void allocationFailureChangesNothing()
    {
        QFETCH(bool, bonded);
        QFETCH(bool, psd);
        DialogCloser closer;
        MainWindow mw;
        mw.isBondSignals = bonded;
        mw.currentSignalIndex = 1;
        const QVector<WindowState> before = snapshot(mw);
        spectral::setAllocationFailureForTesting(true);
        if (psd)
            mw.form()->action_Power_Spectral_Density->trigger();
        else
            mw.form()->action_Fast_Fourier_Transform->trigger();
        spectral::setAllocationFailureForTesting(false);
        QCOMPARE(closer.texts, QStringList{"Not enough memory for the analysis!"});
        QVERIFY(snapshot(mw) == before);
        QCOMPARE(mw.analysisType, 0);
        QVERIFY(frequencyMenu(mw)->isEnabled());
        QCOMPARE(mw.previousPlotterCount, 8);
    }

    void signalsWithoutSamplingRate()
    {
        DialogCloser closer;
        MainWindow mw;
        mw.isBondSignals = false;
        mw.signal[0] = QVector<QPointF>{QPointF(0, 1)};
        mw.currentSignalIndex = 0;
        const QVector<WindowState> before = snapshot(mw);
        mw.form()->action_Fast_Fourier_Transform->trigger();
        QCOMPARE(closer.texts, QStringList{"Data length should >= 2!"});
        QVERIFY(snapshot(mw) == before);
        QCOMPARE(mw.analysisType, 0);

        mw.signal[0] = QVector<QPointF>{QPointF(0, 1), QPointF(0, 2), QPointF(1, 3)};
        closer.texts.clear();
        mw.form()->action_Fast_Fourier_Transform->trigger();
        QCOMPARE(closer.texts, QStringList{"The time does not increase from the first to the second sample: no sampling rate!"});
        QVERIFY(snapshot(mw) == before);
        QVERIFY(frequencyMenu(mw)->isEnabled());

        // Bonded: the other signals still get their spectra.
        mw.isBondSignals = true;
        closer.texts.clear();
        mw.form()->action_Fast_Fourier_Transform->trigger();
        QVERIFY(closer.texts.isEmpty());
        QCOMPARE(mw.plotterList[0]->curveMap.value(0), before[0].curves.value(0));
        QCOMPARE(mw.plotterList[1]->curveMap.value(0).size(), 16352);
        QCOMPARE(mw.analysisType, 1);
    }

    void psdOfShortCurveShowsMessage()
    {
        DialogCloser closer;
        MainWindow mw;
        mw.isBondSignals = false;
        Plotter* p = mw.plotterList[2];
        QVector<QPointF> shortCurve;
        for (int k = 0; k < 9; ++k)
            shortCurve.append(QPointF(k / 360.0, k));
        p->setCurveData(0, shortCurve);
        const QVector<bool> hidden = hiddenFlags(mw);
        p->PowerSpectralDensity();
        QCOMPARE(closer.texts, QStringList{"Data length should >= 10!"});
        QCOMPARE(p->curveMap.value(0), shortCurve);
        QCOMPARE(p->title, QString("CVP_mgh038.txt"));
        QCOMPARE(hiddenFlags(mw), hidden);
        QCOMPARE(mw.analysisType, 0);
    }

    void contextMenuEntries()
    {
        DialogCloser closer;
        MainWindow mw;
        Plotter* p = mw.plotterList[1];

        // Unbonded FFT from the window: its own curve, submenu untouched.
        mw.isBondSignals = false;
        mw.currentSignalIndex = 1;
        p->action_Spectrum->trigger();
        QCOMPARE(mw.analysisType, 1);
        QVERIFY(frequencyMenu(mw)->isEnabled());
        QCOMPARE(p->title, QString("CO2_mgh038.txt Spectrum "));
        QCOMPARE(p->curveMap.value(0).size(), 16352);
        QCOMPARE(gridPosition(mw.form()->workspaceLayout, p), QPoint(0, 0));
        for (int i = 0; i < 8; ++i)
            QCOMPARE(mw.plotterList[i]->isHidden(), i != 1);

        // The window's context menu no longer offers frequency analyses.
        QMenu* menu = p->buildContextMenu();
        QVERIFY(menu != nullptr);
        bool found = false;
        for (QAction* a : menu->actions()) {
            if (a->menu() != nullptr && a->text() == "Frequency domain analysis") {
                found = true;
                QVERIFY(!a->isEnabled() || !a->menu()->isEnabled());
            }
        }
        QVERIFY(found);
        delete menu;

        // Time domain from the window, then the bonded FFT from it.
        p->action_Time->trigger();
        QCOMPARE(mw.analysisType, 0);
        mw.isBondSignals = true;
        p->action_Spectrum->trigger();
        QCOMPARE(mw.analysisType, 1);
        QVERIFY(!frequencyMenu(mw)->isEnabled());
        for (int i = 0; i < 8; ++i)
            QCOMPARE(mw.plotterList[i]->curveMap.value(0).size(), 16352);

        // Power spectral density entry of a window.
        mw.form()->action_Time_Dom_Analysis->trigger();
        QVERIFY(frequencyMenu(mw)->isEnabled());
        mw.isBondSignals = false;
        p->action_PowerSpectralDensity->trigger();
        QCOMPARE(mw.analysisType, 1);
        QCOMPARE(p->title, QString("CO2_mgh038.txt_PSD"));
        QCOMPARE(p->curveMap.value(0).size(), 992);
        for (int i = 0; i < 8; ++i)
            QCOMPARE(mw.plotterList[i]->isHidden(), i != 1);
        QVERIFY(closer.texts.isEmpty());
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(resources);
    int status = 0;
    {
        TestSpectrum t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        TestSpectrumWindows t;
        status |= QTest::qExec(&t, argc, argv);
    }
    return status;
}

#include "test_spectrum.moc"
