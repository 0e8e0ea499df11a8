// Wavelet de-noising of the plot windows: manual and automatic depth, bonded
// partners, saving the de-noised samples and undo.

#include <QtTest>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QSlider>
#include <QTemporaryDir>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "app/mainwindow.h"
#include "dsp/tools.h"
#include "plot/plotter.h"
#include "testutil.h"

namespace {

using Curve = QVector<QPointF>;

Curve makeCurve(int n, const std::function<double(int)>& f, double dt = 1.0 / 360)
{
    Curve c;
    for (int k = 0; k < n; ++k)
        c.append(QPointF(k * dt, f(k)));
    return c;
}

// A noisy, non-periodic test signal.
double noisy(int k)
{
    return std::sin(0.02 * k) + 0.3 * std::sin(1.7 * k) + 0.1 * ((k * 7919) % 13 - 6);
}

QVector<double> yValues(const Curve& c)
{
    QVector<double> v;
    for (const QPointF& p : c)
        v.append(p.y());
    return v;
}

// What the toolbox makes of the first n raw samples padded with zeros to
// the next power of two, at the given depth; the first n values.
QVector<double> denoised(const QVector<double>& raw, qsizetype n, float depth)
{
    int m = 0;
    while (n > (qsizetype(1) << m))
        ++m;
    std::vector<double> buffer(size_t(1) << m, 0.0);
    for (qsizetype k = 0; k < n; ++k)
        buffer[size_t(k)] = raw.at(k);
    if (m >= 1) {
        toolbox tools(nullptr);
        tools.denoise(depth, buffer.data(), m);
    }
    return QVector<double>(buffer.begin(), buffer.begin() + n);
}

// True once the real toolbox is in: the stub leaves its arrays unchanged.
bool toolboxComputes()
{
    toolbox tools(nullptr);
    double x[4] = {1, 2, 3, 4};
    double y[4] = {0, 0, 0, 0};
    tools.FFT(1, 2, x, y);
    return x[0] == 2.5;
}

QString failureText(const QVector<double>& got, const QVector<double>& want)
{
    if (got.size() != want.size())
        return QString("%1 values instead of %2").arg(got.size()).arg(want.size());
    for (qsizetype k = 0; k < got.size(); ++k) {
        if (!(qAbs(got.at(k) - want.at(k)) <= 1e-9 * (1.0 + qAbs(want.at(k)))))
            return QString("value %1: %2 instead of %3").arg(k).arg(got.at(k), 0, 'g', 17).arg(want.at(k), 0, 'g', 17);
    }
    return QString();
}

#define COMPARE_VALUES(got, want)                                                                  \
    do {                                                                                           \
        const QString why = failureText((got), (want));                                            \
        QVERIFY2(why.isEmpty(), qPrintable(why));                                                  \
    } while (false)

// Eight periods over k = 0 .. 1024. The toolbox's self-correlation keeps
// only the circularly even part of a block, so a cosine peaks at zero lag at
// every depth of the search; a strong sine turns the correlation of the
// block with itself delayed by one sample (as the toolbox builds it) upside
// down, so its peak lies half a period (64 of 1024 positions) off zero lag.
double peakedAtZeroLag(double k)
{
    return std::cos(2 * M_PI * 8 * k / 1024.0);
}
double peakedOffZeroLag(double k)
{
    return std::cos(2 * M_PI * 8 * k / 1024.0) + 1000 * std::sin(2 * M_PI * 8 * k / 1024.0);
}

} // namespace

class TestDenoise : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindow> mw;
    QString startDir;

    // The given curves in the first windows, as the displayed set, with base
    // titles W0, W1, ...; the window after them holds a sentinel.
    void useWindows(const QVector<Curve>& curves)
    {
        mw->isMultiCurve = false;
        mw->isBondSignals = true;
        mw->plotterCount = int(curves.size());
        for (int i = 0; i <= curves.size() && i < 20; ++i) {
            Plotter* p = mw->plotterList[i];
            p->curveMap.clear();
            p->setCurveData(0, i < curves.size() ? curves.at(i) : makeCurve(16, noisy));
            p->titlePrevious = i < curves.size() ? QString("W%1").arg(i) : QString("OUT");
            p->title = p->titlePrevious;
            p->signalRaw.clear();
            p->isManuDenoise = false;
            p->deNoiseDeep = 0.0f;
            p->isSecondCurve = false;
            p->isMarkCurve = false;
            QSignalBlocker block(p->horizontalSlider);
            p->horizontalSlider->setValue(80);
        }
    }

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        DialogCloser closer;
        mw = std::make_unique<MainWindow>();
        QVERIFY(mw->plotterCount > 0);
        startDir = QDir::currentPath();
    }

    void cleanup() { QDir::setCurrent(startDir); }

    void cleanupTestCase() { mw.reset(); }

    // "De-noise" on a new window: depth 0.8 from the slider, which is shown;
    // the raw samples are kept and only y changes.
    void manualDenoiseOnNewWindow()
    {
        Plotter p;
        const Curve raw = makeCurve(1000, noisy);
        p.setCurveData(0, raw);
        p.titlePrevious = "ECG";
        p.title = "ECG";
        p.isMarkCurve = true;
        const PlotSettings view = p.zoomStack.at(0);

        p.ManuDenoiseProcess();

        QVERIFY(p.isManuDenoise);
        QVERIFY(!p.horizontalSlider->isHidden());
        QCOMPARE(p.horizontalSlider->value(), 80);
        QCOMPARE(p.deNoiseDeep, 0.8f);
        QCOMPARE(p.signalRaw, yValues(raw));
        const Curve& got = p.curveMap.value(0);
        QCOMPARE(got.size(), raw.size());
        for (int k = 0; k < raw.size(); ++k)
            QCOMPARE(got.at(k).x(), raw.at(k).x());
        COMPARE_VALUES(yValues(got), denoised(yValues(raw), 1000, 0.8f));
        QCOMPARE(p.title, QString("ECG de-noised"));
        QVERIFY(p.titleIsShown);
        QVERIFY(!p.isMarkCurve);
        QCOMPARE(p.zoomStack.size(), qsizetype(1));
        QCOMPARE(p.zoomStack.at(0).minY, view.minY);
        QCOMPARE(p.zoomStack.at(0).maxY, view.maxY);
    }

    // In manual mode the depth is the shown slider's value / 100; a hidden
    // slider leaves the depth the window already has.
    void manualDepthIsSliderValue_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<float>("depth");
        QTest::newRow("0") << 0 << true << float(0 / 100.0);
        QTest::newRow("35") << 35 << true << float(35 / 100.0);
        QTest::newRow("100") << 100 << true << float(100 / 100.0);
        QTest::newRow("hidden") << 35 << false << 0.45f;
    }

    void manualDepthIsSliderValue()
    {
        QFETCH(int, value);
        QFETCH(bool, shown);
        QFETCH(float, depth);
        Plotter p;
        const Curve raw = makeCurve(300, noisy);
        p.setCurveData(0, raw);
        p.isManuDenoise = true;
        p.deNoiseDeep = 0.45f;
        {
            QSignalBlocker block(p.horizontalSlider);
            p.horizontalSlider->setValue(value);
        }
        p.horizontalSlider->setVisible(shown);

        p.DenoiseProcess();
        QCOMPARE(p.deNoiseDeep, depth);
        COMPARE_VALUES(yValues(p.curveMap.value(0)), denoised(yValues(raw), 300, depth));
    }

    // Every de-noising starts from the raw samples: twice gives the same
    // curve, and the title carries the suffix once.
    void denoiseTwiceGivesSameCurve()
    {
        Plotter p;
        const Curve raw = makeCurve(500, noisy);
        p.setCurveData(0, raw);
        p.titlePrevious = "T";
        p.ManuDenoiseProcess();
        const Curve first = p.curveMap.value(0);
        p.ManuDenoiseProcess();
        QCOMPARE(p.curveMap.value(0), first);
        QCOMPARE(p.signalRaw, yValues(raw));
        QCOMPARE(p.title, QString("T de-noised"));
    }

    // A correlation curve goes with the de-noising; the view stays.
    void denoiseRemovesCorrelationCurve()
    {
        Plotter p;
        p.setCurveData(0, makeCurve(200, noisy));
        p.AutoCorrelation();
        QVERIFY(p.isSecondCurve);
        QVERIFY(p.curveMap.contains(1));
        const PlotSettings view = p.zoomStack.at(0);
        p.ManuDenoiseProcess();
        QVERIFY(!p.isSecondCurve);
        QVERIFY(!p.curveMap.contains(1));
        QCOMPARE(p.zoomStack.at(0).maxX2, view.maxX2);
    }

    // Curve lengths around and between powers of two, down to one point:
    // the work block is padded with zeros and only n values come back.
    void curveLengths_data()
    {
        QTest::addColumn<int>("n");
        for (int n : {1, 2, 3, 4, 5, 1000, 1024, 1500, 16384})
            QTest::newRow(qPrintable(QString::number(n))) << n;
    }

    void curveLengths()
    {
        QFETCH(int, n);
        Plotter p;
        const Curve raw = makeCurve(n, noisy);
        p.setCurveData(0, raw);
        p.titlePrevious = "L";
        p.ManuDenoiseProcess();
        QCOMPARE(p.curveMap.value(0).size(), qsizetype(n));
        QCOMPARE(p.signalRaw.size(), qsizetype(n));
        COMPARE_VALUES(yValues(p.curveMap.value(0)), denoised(yValues(raw), n, 0.8f));
        QCOMPARE(p.title, QString("L de-noised"));
        if (n == 1)
            QCOMPARE(p.curveMap.value(0), raw);

        p.AutoDenoiseProcess();
        QCOMPARE(p.curveMap.value(0).size(), qsizetype(n));
        QVERIFY(p.deNoiseDeep >= 0.6f && p.deNoiseDeep <= 1.0f);
    }

    // No curve, or an empty one: nothing to de-noise, nothing changes.
    void emptyCurves()
    {
        Plotter p;
        p.title = "unchanged";
        p.ManuDenoiseProcess();
        p.AutoDenoiseProcess();
        QVERIFY(p.curveMap.isEmpty());
        QVERIFY(p.signalRaw.isEmpty());
        QCOMPARE(p.title, QString("unchanged"));
        p.setCurveData(0, Curve());
        p.ManuDenoiseProcess();
        QVERIFY(p.signalRaw.isEmpty());
        QCOMPARE(p.title, QString("unchanged"));
        DialogCloser closer;
        p.UndoDenoise();
        QVERIFY(p.curveMap.value(0).isEmpty());
    }

    // A raw copy of another length than the curve belongs to a curve that
    // stood there before: de-noising takes it anew, undo drops it and leaves
    // the curve and its title alone.
    void rawCopyOfAnotherLength()
    {
        Plotter p;
        const Curve curve = makeCurve(20, noisy);
        p.setCurveData(0, curve);
        p.signalRaw = QVector<double>(10, 5.0);
        p.ManuDenoiseProcess();
        QCOMPARE(p.signalRaw, yValues(curve));
        COMPARE_VALUES(yValues(p.curveMap.value(0)), denoised(yValues(curve), 20, 0.8f));

        Plotter q;
        q.setCurveData(0, curve);
        q.signalRaw = QVector<double>(40, 100.0);
        q.ManuDenoiseProcess();
        QCOMPARE(q.signalRaw, yValues(curve));
        COMPARE_VALUES(yValues(q.curveMap.value(0)), denoised(yValues(curve), 20, 0.8f));

        Plotter r;
        r.setCurveData(0, curve);
        r.title = "ECG";
        r.titlePrevious = "ECG_PSD";
        r.signalRaw = QVector<double>(10, -1.0);
        r.UndoDenoise();
        QCOMPARE(r.curveMap.value(0), curve);
        QCOMPARE(r.title, QString("ECG"));
        QVERIFY(r.signalRaw.isEmpty());
    }

    // De-noising a power spectrum, then undoing it over the signal that the
    // time-domain view put back, must not splice the spectrum into it.
    void undoAfterAnotherViewKeepsTheSignal()
    {
        DialogCloser closer;
        mw->isMultiCurve = false;
        mw->isBondSignals = false;
        mw->on_action_Time_Dom_Analysis_triggered();
        Plotter* w0 = mw->plotterList[0];
        w0->signalRaw.clear();
        mw->currentSignalIndex = 0;
        mw->on_action_Power_Spectral_Density_triggered();
        QCOMPARE(w0->curveMap.value(0).size(), 992);
        w0->action_Denoise->trigger();
        mw->on_action_Time_Dom_Analysis_triggered();
        const QString title = w0->title;
        w0->action_UndoDenoise->trigger();
        QCOMPARE(w0->curveMap.value(0), mw->signal[0]);
        QCOMPARE(w0->title, title);
        QVERIFY(w0->signalRaw.isEmpty());
        QVERIFY(closer.texts.isEmpty());
    }

    // The automatic search stops at once when the raw samples' peak lies off
    // zero lag: the curve keeps its raw values at depth 0.6. The searched
    // positions scale with the block (N/2 - N/10 .. N/2 + N/10 - 1), so a
    // peak 64 (or, in 16384 samples, 1024) positions off is found.
    void autoDenoiseFirstTestFails_data()
    {
        QTest::addColumn<int>("n");
        QTest::newRow("1024") << 1024;
        QTest::newRow("16384") << 16384;
    }

    void autoDenoiseFirstTestFails()
    {
        QFETCH(int, n);
        Plotter p;
        const Curve raw = makeCurve(n, [n](int k) { return peakedOffZeroLag(k * 1024.0 / n); });
        p.setCurveData(0, raw);
        p.titlePrevious = "A";
        p.isManuDenoise = true;
        p.horizontalSlider->show();
        p.AutoDenoiseProcess();
        QVERIFY(!p.isManuDenoise);
        QVERIFY(p.horizontalSlider->isHidden());
        QCOMPARE(p.deNoiseDeep, 0.6f);
        QCOMPARE(p.curveMap.value(0), raw);
        QCOMPARE(p.title, QString("A de-noised"));
        QCOMPARE(p.signalRaw, yValues(raw));
    }

    // A signal whose peak stays at zero lag runs the search to depth 1.0;
    // the result is the raw samples de-noised once at 1.0, not four times.
    void autoDenoiseRunsToFullDepth_data()
    {
        QTest::addColumn<int>("n");
        QTest::newRow("1024") << 1024;
        QTest::newRow("16384") << 16384;
    }

    void autoDenoiseRunsToFullDepth()
    {
        QFETCH(int, n);
        if (!toolboxComputes())
            QSKIP("the numeric toolbox is not in this build yet");
        Plotter p;
        const Curve raw = makeCurve(n, [n](int k) { return peakedAtZeroLag(k * 1024.0 / n); });
        p.setCurveData(0, raw);
        p.AutoDenoiseProcess();
        QCOMPARE(p.deNoiseDeep, 1.0f);
        COMPARE_VALUES(yValues(p.curveMap.value(0)), denoised(yValues(raw), n, 1.0f));
    }

    // Bonded "De-noise": the other displayed windows take this window's depth
    // in manual mode; their sliders stay hidden; the rest is not touched.
    void bondedManualDenoise()
    {
        const QVector<Curve> curves{makeCurve(100, noisy), makeCurve(64, noisy), makeCurve(37, noisy)};
        useWindows(curves);
        mw->currentSignalIndex = 1;
        Plotter* self = mw->plotterList[1];
        {
            // A slider standing elsewhere runs its handler first; the result
            // is the same.
            QSignalBlocker block(self->horizontalSlider);
            self->horizontalSlider->setValue(30);
        }
        self->ManuDenoiseProcess();

        for (int i = 0; i < 3; ++i) {
            Plotter* p = mw->plotterList[i];
            QVERIFY(p->isManuDenoise);
            QCOMPARE(p->deNoiseDeep, 0.8f);
            QCOMPARE(p->title, QString("W%1 de-noised").arg(i));
            QCOMPARE(p->signalRaw, yValues(curves.at(i)));
            COMPARE_VALUES(yValues(p->curveMap.value(0)), denoised(yValues(curves.at(i)), curves.at(i).size(), 0.8f));
            QCOMPARE(p->horizontalSlider->isHidden(), i != 1);
        }
        QCOMPARE(mw->plotterList[3]->title, QString("OUT"));
        QVERIFY(mw->plotterList[3]->signalRaw.isEmpty());
    }

    // Bonded "Auto-De-noise": the partners apply the depth the search ended
    // with, in manual mode, without a search of their own.
    void bondedAutoDenoise()
    {
        const QVector<Curve> curves{makeCurve(1024, peakedAtZeroLag), makeCurve(1024, peakedOffZeroLag),
                                    makeCurve(300, noisy)};
        useWindows(curves);
        mw->currentSignalIndex = 1;
        mw->plotterList[1]->AutoDenoiseProcess();

        QVERIFY(!mw->plotterList[1]->isManuDenoise);
        QCOMPARE(mw->plotterList[1]->curveMap.value(0), curves.at(1));
        for (int i : {0, 2}) {
            Plotter* p = mw->plotterList[i];
            QVERIFY(p->isManuDenoise);
            QCOMPARE(p->deNoiseDeep, 0.6f);
            COMPARE_VALUES(yValues(p->curveMap.value(0)), denoised(yValues(curves.at(i)), curves.at(i).size(), 0.6f));
            QCOMPARE(p->title, QString("W%1 de-noised").arg(i));
        }
    }

    // Partners are all displayed windows but the one de-noising, even when
    // the last context menu was opened on another window; without the bond
    // option the de-noising stays on its window.
    void bondedPartnersAndBondOff()
    {
        const QVector<Curve> curves{makeCurve(50, noisy), makeCurve(60, noisy), makeCurve(70, noisy)};
        useWindows(curves);
        mw->currentSignalIndex = 0;
        mw->plotterList[2]->ManuDenoiseProcess();
        for (int i = 0; i < 3; ++i)
            QCOMPARE(mw->plotterList[i]->title, QString("W%1 de-noised").arg(i));

        useWindows(curves);
        mw->isBondSignals = false;
        mw->plotterList[1]->ManuDenoiseProcess();
        QCOMPARE(mw->plotterList[1]->title, QString("W1 de-noised"));
        for (int i : {0, 2}) {
            QCOMPARE(mw->plotterList[i]->title, QString("W%1").arg(i));
            QVERIFY(mw->plotterList[i]->signalRaw.isEmpty());
            QVERIFY(!mw->plotterList[i]->isManuDenoise);
        }
    }

    // Undo puts the raw samples back on every displayed window that holds
    // them, bonded or not, and empties the copies; windows without a copy
    // keep their title. Mode and depth stay; a manual slider is hidden.
    void undoRestoresEveryWindowWithRawSamples()
    {
        const QVector<Curve> curves{makeCurve(100, noisy), makeCurve(64, noisy), makeCurve(37, noisy)};
        useWindows(curves);
        mw->isBondSignals = false;
        mw->plotterList[0]->ManuDenoiseProcess();
        mw->plotterList[2]->AutoDenoiseProcess();
        mw->plotterList[1]->title = "W1 other";
        mw->plotterList[0]->isMarkCurve = true;
        const float depth2 = mw->plotterList[2]->deNoiseDeep;

        DialogCloser closer;
        mw->plotterList[0]->UndoDenoise();
        for (int i : {0, 2}) {
            Plotter* p = mw->plotterList[i];
            QCOMPARE(p->curveMap.value(0), curves.at(i));
            QVERIFY(p->signalRaw.isEmpty());
            QCOMPARE(p->title, QString("W%1").arg(i));
            QVERIFY(!p->isMarkCurve);
        }
        QCOMPARE(mw->plotterList[1]->title, QString("W1 other"));
        QVERIFY(mw->plotterList[0]->horizontalSlider->isHidden());
        QVERIFY(mw->plotterList[0]->isManuDenoise);
        QCOMPARE(mw->plotterList[0]->deNoiseDeep, 0.8f);
        QVERIFY(!mw->plotterList[2]->isManuDenoise);
        QCOMPARE(mw->plotterList[2]->deNoiseDeep, depth2);

        // A window outside the displayed set undoes itself.
        Plotter* outside = mw->plotterList[3];
        outside->ManuDenoiseProcess();
        outside->UndoDenoise();
        QVERIFY(outside->signalRaw.isEmpty());
        QCOMPARE(outside->title, QString("OUT"));
    }

    // Over the loaded record laid out anew, bonded: "De-noise" on one window
    // de-noises all eight at 0.8; undo from another gives every signal back.
    void bondedDenoiseOverTheRecord()
    {
        mw->isMultiCurve = false;
        mw->isBondSignals = true;
        mw->display_raw_signals(false);
        QCOMPARE(mw->plotterCount, 8);
        for (int i = 0; i < 8; ++i) {
            Plotter* p = mw->plotterList[i];
            p->signalRaw.clear();
            p->isManuDenoise = false;
            QSignalBlocker block(p->horizontalSlider);
            p->horizontalSlider->setValue(80);
        }
        mw->currentSignalIndex = 5;
        mw->plotterList[5]->ManuDenoiseProcess();
        for (int i = 0; i < 8; ++i) {
            Plotter* p = mw->plotterList[i];
            QCOMPARE(p->title, p->titleRaw + " de-noised");
            QCOMPARE(p->deNoiseDeep, 0.8f);
            QCOMPARE(p->signalRaw, yValues(mw->signal[i]));
        }
        COMPARE_VALUES(yValues(mw->plotterList[2]->curveMap.value(0)), denoised(yValues(mw->signal[2]), 16384, 0.8f));

        DialogCloser closer;
        mw->plotterList[0]->UndoDenoise();
        for (int i = 0; i < 8; ++i) {
            Plotter* p = mw->plotterList[i];
            QCOMPARE(p->curveMap.value(0), mw->signal[i]);
            QCOMPARE(p->title, p->titleRaw);
            QVERIFY(p->signalRaw.isEmpty());
        }
    }

    // The file "d_" + title + ".txt" in the working directory, one "%e %e"
    // line per point, read back to the printed precision.
    void saveWritesEveryPoint()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(QDir::setCurrent(dir.path()));

        Plotter p;
        Curve c = makeCurve(257, noisy);
        c[3].setY(0.0);
        c[4].setY(-12345.678);
        c[5].setY(1.5e-12);
        p.setCurveData(0, c);
        p.titlePrevious = "ECG lead I_mgh038.txt";
        p.ManuDenoiseProcess();
        const Curve saved = p.curveMap.value(0);

        DialogCloser closer;
        p.SaveDenoisedData();
        QVERIFY(closer.texts.isEmpty());

        QFile file(dir.filePath("d_ECG lead I_mgh038.txt de-noised.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.size(), saved.size() + 1);
        QVERIFY(lines.last().isEmpty());
        const QRegularExpression number("-?\\d\\.\\d{6}e[+-]\\d{2,3}");
        const QRegularExpression line("^" + number.pattern() + " " + number.pattern() + "$");
        const char* previous = std::setlocale(LC_NUMERIC, "C");
        for (int k = 0; k < saved.size(); ++k) {
            const QString text = QString::fromLatin1(lines.at(k));
            QVERIFY2(line.match(text).hasMatch(), qPrintable(text));
            char expected[80];
            std::snprintf(expected, sizeof expected, "%e %e", saved.at(k).x(), saved.at(k).y());
            QCOMPARE(text, QString::fromLatin1(expected));
            const QStringList parts = text.split(' ');
            QVERIFY(qAbs(parts.at(0).toDouble() - saved.at(k).x()) <= 1e-6 * qAbs(saved.at(k).x()));
            QVERIFY(qAbs(parts.at(1).toDouble() - saved.at(k).y()) <= 1e-6 * qAbs(saved.at(k).y()));
        }
        std::setlocale(LC_NUMERIC, previous ? previous : "C");

        // Saving again overwrites.
        p.curveMap[0].resize(2);
        p.SaveDenoisedData();
        file.close();
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().count('\n'), 2);
    }

    // A user locale with a decimal comma does not reach the file.
    void saveIgnoresLocaleDecimalComma()
    {
        const QByteArray old = std::setlocale(LC_NUMERIC, nullptr);
        if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE"))
            QSKIP("no locale with a decimal comma installed");
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()));
        Plotter p;
        p.setCurveData(0, Curve{QPointF(0.5, 1.25)});
        p.title = "x";
        p.SaveDenoisedData();
        std::setlocale(LC_NUMERIC, old.constData());
        QFile file(dir.filePath("d_x.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("5.000000e-01 1.250000e+00\n"));
    }

    // A file that cannot be written is reported, naming the file.
    void saveFailureIsReported()
    {
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()));
        Plotter p;
        p.setCurveData(0, makeCurve(10, noisy));

        // A directory stands where the file should be.
        QVERIFY(QDir(dir.path()).mkdir("d_blocked.txt"));
        p.title = "blocked";
        {
            DialogCloser closer;
            p.SaveDenoisedData();
            QCOMPARE(closer.texts.size(), 1);
            QVERIFY2(closer.texts.at(0).contains("d_blocked.txt"), qPrintable(closer.texts.at(0)));
        }

        // A title that names a directory that does not exist.
        p.title = "no/such/dir";
        {
            DialogCloser closer;
            p.SaveDenoisedData();
            QCOMPARE(closer.texts.size(), 1);
            QVERIFY(closer.texts.at(0).contains("d_no/such/dir.txt"));
        }

        // A directory without write access (not enforced for root).
        QDir(dir.path()).mkdir("ro");
        QFile::setPermissions(dir.filePath("ro"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        QVERIFY(QDir::setCurrent(dir.filePath("ro")));
        QFile probe("probe");
        const bool writable = probe.open(QIODevice::WriteOnly);
        probe.close();
        probe.remove();
        if (!writable) {
            p.title = "ro";
            DialogCloser closer;
            p.SaveDenoisedData();
            QCOMPARE(closer.texts.size(), 1);
            QVERIFY(closer.texts.at(0).contains("d_ro.txt"));
        }
        QDir::setCurrent(dir.path());
        QFile::setPermissions(dir.filePath("ro"), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                     | QFileDevice::ExeOwner);
    }
};

QTEST_MAIN(TestDenoise)
#include "test_denoise.moc"
