// Pattern build and trace on a plot window: peak picking, building from the
// zoomed view, the three trace kinds, failures, undo and the threshold slider.

#include <QtTest>

#include <QSlider>

#include <cmath>
#include <limits>
#include <memory>

#include "app/mainwindow.h"
#include "plot/patterntrace.h"
#include "plot/plotter.h"
#include "testutil.h"

class PlotterTestAccess
{
public:
    static const QVector<float>& pattern(const Plotter& p) { return p.pattern; }
};

namespace {

const QVector<float> kShape = {1, 3, 5, 3, 1};

QVector<QPointF> scoresY(std::initializer_list<double> ys)
{
    QVector<QPointF> s;
    for (double y : ys)
        s.append(QPointF(0.0, y));
    return s;
}

QVector<QPointF> scoresX(std::initializer_list<double> xs)
{
    QVector<QPointF> s;
    for (double x : xs)
        s.append(QPointF(x, 0.0));
    return s;
}

// A flat curve of 200 samples (x = index / 100) with the shape copied in at
// the given starts, each copy as gain * shape + offset.
struct Copy {
    int start;
    double gain;
    double offset;
};

QVector<QPointF> curveWith(std::initializer_list<Copy> copies, int n = 200)
{
    QVector<QPointF> c(n);
    for (int i = 0; i < n; ++i)
        c[i] = QPointF(i / 100.0, 0.0);
    for (const Copy& copy : copies)
        for (int k = 0; k < kShape.size(); ++k)
            c[copy.start + k].setY(copy.gain * kShape[k] + copy.offset);
    return c;
}

QVector<double> xs(const QVector<QPointF>& hits)
{
    QVector<double> out;
    for (const QPointF& h : hits)
        out << h.x();
    return out;
}

} // namespace

class TestPattern : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void peaksByTime();
    void peaksByAmplitudeAndBoth();
    void peaksEdgeCases();

    void buildTakesTheZoomedStretch();
    void buildUsesSinglePrecisionForTheStart();
    void buildStopsAtTheCurvesEnd();
    void buildOnImageOrWithoutMainWindowChangesNothing();

    void traceFindsEveryCopy();
    void traceByAmplitudeAndBothTellCopiesApart();
    void thresholdDecidesWhichPeaksCount();
    void patternOnlyAtItsOwnPlaceIsNoFinding();
    void failedTraceResetsTheSliderAndRerunsTheLastKind();
    void patternTooLongOrEmptyFindsNothing();
    void traceOnImageOrWithoutMainWindowDoesNothing();
    void undoAfterFailedTrace();
    void sliderHandlerRerunsTheTraceOfItsKind();
    void sliderHandlerInManualDenoiseMode();
    void builtPatternTracedOnAnotherWindow();
    void loadedSignalTracedWithOneSecond();

private:
    std::unique_ptr<Plotter> newPlotter(const QVector<QPointF>& curve);

    std::unique_ptr<MainWindow> mw;
};

void TestPattern::initTestCase()
{
    Q_INIT_RESOURCE(resources);
    DialogCloser closer;
    mw = std::make_unique<MainWindow>();
    QVERIFY(closer.texts.isEmpty());
    QCOMPARE(mw->plotterCount, 8);
}

void TestPattern::cleanupTestCase()
{
    mw.reset();
}

std::unique_ptr<Plotter> TestPattern::newPlotter(const QVector<QPointF>& curve)
{
    auto p = std::make_unique<Plotter>();
    p->mainw = mw.get();
    p->resize(600, 400);
    p->setCurveData(0, curve);
    return p;
}

void TestPattern::peaksByTime()
{
    using namespace patterntrace;
    // A plateau counts at its first window.
    QVector<QPointF> hits = pickPeaks(scoresY({0.5, 0.9, 0.9, 0.4}), ByTime, 0.8f);
    QCOMPARE(hits.size(), 1);
    QCOMPARE(hits[0], QPointF(1, double(0.9f)));

    // Rising up to the last window: no peak there.
    QVERIFY(pickPeaks(scoresY({0.1, 0.5, 0.9}), ByTime, 0.8f).isEmpty());
    // Below the threshold.
    QVERIFY(pickPeaks(scoresY({0.1, 0.7, 0.3}), ByTime, 0.8f).isEmpty());
    // A score equal to the threshold (both as float) is enough.
    QCOMPARE(pickPeaks(scoresY({0.1, 0.8, 0.3}), ByTime, float(80 / 100.0)).size(), 1);
    // Several peaks in order of position.
    hits = pickPeaks(scoresY({0.0, 0.85, 0.2, 0.3, 0.95, 0.95, 0.1, 0.99}), ByTime, 0.8f);
    QCOMPARE(xs(hits), QVector<double>({1, 4}));
    QCOMPARE(hits[1].y(), double(0.95f));
    // The correlation score decides; the efficiency score is ignored.
    QVERIFY(pickPeaks(scoresX({0.1, 0.9, 0.2}), ByTime, 0.8f).isEmpty());
}

void TestPattern::peaksByAmplitudeAndBoth()
{
    using namespace patterntrace;
    QVector<QPointF> hits = pickPeaks(scoresX({0.5, 0.9, 0.9, 0.4}), ByAmplitude, 0.8f);
    QCOMPARE(hits.size(), 1);
    QCOMPARE(hits[0], QPointF(1, double(0.9f)));
    QVERIFY(pickPeaks(scoresY({0.5, 0.9, 0.4}), ByAmplitude, 0.8f).isEmpty());

    // Both rise together into window 2; the hit value is their mean.
    const QVector<QPointF> both = {{0.1, 0.1}, {0.5, 0.6}, {0.9, 0.85}, {0.3, 0.2}};
    hits = pickPeaks(both, ByTimeAndAmplitude, 0.8f);
    QCOMPARE(hits.size(), 1);
    QCOMPARE(hits[0].x(), 2.0);
    QCOMPARE(hits[0].y(), double((0.85f + 0.9f) / 2));

    // Only one score rising is no rise; one previous below the threshold is
    // no hit.
    hits = pickPeaks({{0, 0}, {0.85, 0.85}, {0.84, 0.95}, {0, 0}}, ByTimeAndAmplitude, 0.8f);
    QCOMPARE(xs(hits), QVector<double>({1}));
    QVERIFY(pickPeaks({{0.1, 0.1}, {0.7, 0.95}, {0.0, 0.1}}, ByTimeAndAmplitude, 0.8f).isEmpty());
}

void TestPattern::peaksEdgeCases()
{
    using namespace patterntrace;
    QVERIFY(pickPeaks({}, ByTime, 0.8f).isEmpty());
    QVERIFY(pickPeaks(scoresY({1.0}), ByTime, 0.8f).isEmpty());
    // Score 0 is never examined: window 0 cannot be a hit.
    QVERIFY(pickPeaks(scoresY({1.0, 0.2, 0.1}), ByTime, 0.8f).isEmpty());
    // Window 1 rises against 0.0, not against score 0.
    QCOMPARE(xs(pickPeaks(scoresY({1.0, 0.9, 0.1}), ByTime, 0.8f)), QVector<double>({1}));
    // A score that is not a number counts as not rising.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QCOMPARE(xs(pickPeaks(scoresY({0.1, 0.9, nan, 0.95, 0.2}), ByTime, 0.8f)), QVector<double>({1}));
    // Unknown kinds find nothing.
    QVERIFY(pickPeaks(scoresY({0.1, 0.9, 0.1}), 4, 0.8f).isEmpty());
}

void TestPattern::buildTakesTheZoomedStretch()
{
    auto p = newPlotter(curveWith({{30, 1, 0}}));
    PlotSettings view = p->currentSettings();
    view.minX = 0.295;
    view.maxX = 0.34;
    p->zoomStack.append(view);
    p->curZoom = 1;

    mw->pattern = {9, 9};
    p->BuildPattern();
    // From the first x >= 0.295 (sample 30) through the first x >= 0.34 (34).
    QCOMPARE(mw->pattern, kShape);
    QVERIFY(PlotterTestAccess::pattern(*p).isEmpty());
}

void TestPattern::buildUsesSinglePrecisionForTheStart()
{
    // float(0.7) lies below 0.7, float(0.8) above 0.8, float(0.9) below 0.9.
    const QVector<QPointF> curve = {{0.5, 1}, {0.6, 2}, {0.7, 3}, {0.8, 4}, {0.9, 5}, {1.0, 6}};
    auto p = newPlotter(curve);
    PlotSettings view = p->currentSettings();
    view.minX = 0.7;
    view.maxX = 0.9;
    p->zoomStack.append(view);
    p->curZoom = 1;
    p->BuildPattern();
    // 0.7 is skipped; 0.8 and 0.9 are taken, and 0.9 ends the walk.
    QCOMPARE(mw->pattern, QVector<float>({4, 5}));

    // The end test keeps full precision: float(0.8) would pass this bound.
    p->zoomStack[1].maxX = 0.8000000001;
    p->BuildPattern();
    QCOMPARE(mw->pattern, QVector<float>({4, 5}));
    p->zoomStack[1].maxX = 0.8;
    p->BuildPattern();
    QCOMPARE(mw->pattern, QVector<float>({4}));
}

void TestPattern::buildStopsAtTheCurvesEnd()
{
    auto p = newPlotter(curveWith({}, 20));
    PlotSettings view = p->currentSettings();
    view.minX = 0.155;
    view.maxX = 5.0;
    p->zoomStack.append(view);
    p->curZoom = 1;
    p->BuildPattern();
    QCOMPARE(mw->pattern.size(), 4); // samples 16 to 19

    // A view wholly past the curve selects no sample.
    view.minX = 3.0;
    p->zoomStack[1] = view;
    p->BuildPattern();
    QVERIFY(mw->pattern.isEmpty());
}

void TestPattern::buildOnImageOrWithoutMainWindowChangesNothing()
{
    auto p = newPlotter(curveWith({{30, 1, 0}}));
    float cells[4] = {1, 2, 3, 4};
    p->setMatrixData(QPoint(2, 2), cells);
    mw->pattern = {7, 8};
    p->BuildPattern();
    QCOMPARE(mw->pattern, QVector<float>({7, 8}));

    Plotter alone;
    alone.setCurveData(0, curveWith({}));
    alone.BuildPattern(); // no main window: must not crash
}

void TestPattern::traceFindsEveryCopy()
{
    DialogCloser closer;
    auto p = newPlotter(curveWith({{30, 1, 0}, {90, 2, 0}, {150, 1, 0.5}}));
    mw->pattern = kShape;

    p->TracePattern_Time();
    QVERIFY(closer.texts.isEmpty());
    // Gain and offset do not change the correlation score.
    QCOMPARE(p->scoreList, QVector<QPointF>({{30, 1}, {90, 1}, {150, 1}}));
    QCOMPARE(PlotterTestAccess::pattern(*p), kShape);
    QCOMPARE(p->currentTrace, 1);
    QCOMPARE(p->slider->minimum(), 0);
    QCOMPARE(p->slider->maximum(), 2);
    QCOMPARE(p->slider->value(), 0);
    QVERIFY(!p->slider->isHidden());
    QVERIFY(!p->horizontalSlider->isHidden());
    QCOMPARE(p->horizontalSlider->tickPosition(), QSlider::TicksBothSides);
    QVERIFY(p->isMarkCurve);
    QVERIFY(!p->xLabelIsShown);

    p->UndoPattern();
    QVERIFY(p->scoreList.isEmpty());
    QVERIFY(p->slider->isHidden());
    QVERIFY(p->horizontalSlider->isHidden());
    QVERIFY(!p->isMarkCurve);
    QCOMPARE(p->currentTrace, 1);
}

void TestPattern::traceByAmplitudeAndBothTellCopiesApart()
{
    DialogCloser closer;
    auto p = newPlotter(curveWith({{30, 1, 0}, {90, 2, 0}, {150, 1, 0.5}}));
    mw->pattern = kShape;

    // Efficiency at 150: 1 - 5 * 0.25 / 11.2; the doubled copy scores 0.
    p->TracePattern_Amp();
    const float efficiency = float(1.0 - 1.25 / 11.2);
    QCOMPARE(p->scoreList, QVector<QPointF>({{30, 1}, {150, double(efficiency)}}));
    QCOMPARE(p->currentTrace, 2);
    QCOMPARE(p->slider->maximum(), 1);

    p->TracePattern_TimeAmp();
    QCOMPARE(p->scoreList, QVector<QPointF>({{30, 1}, {150, double((1.0f + efficiency) / 2)}}));
    QCOMPARE(p->currentTrace, 3);
    QVERIFY(closer.texts.isEmpty());
}

void TestPattern::thresholdDecidesWhichPeaksCount()
{
    DialogCloser closer;
    // The copy at 150 has efficiency 1 - 5 / 11.2 = 0.554.
    auto p = newPlotter(curveWith({{30, 1, 0}, {150, 1, 1.0}}));
    mw->pattern = kShape;

    QSignalBlocker block(p->horizontalSlider);
    p->horizontalSlider->setValue(50);
    p->TracePattern_Amp();
    QCOMPARE(xs(p->scoreList), QVector<double>({30, 150}));
    QCOMPARE(p->scoreList[1].y(), double(float(1.0 - 5.0 / 11.2)));

    p->horizontalSlider->setValue(56);
    p->TracePattern_Amp();
    QVERIFY(p->scoreList.isEmpty()); // only the exact copy: no finding
    QCOMPARE(closer.texts, QStringList({"No pattern is found!"}));
    QCOMPARE(closer.titles, QStringList({"Pattern Trace by Amplitude"}));
}

void TestPattern::patternOnlyAtItsOwnPlaceIsNoFinding()
{
    DialogCloser closer;
    auto p = newPlotter(curveWith({{30, 1, 0}}));
    mw->pattern = kShape;
    p->currentTrace = 2;

    p->TracePattern_Time();
    QCOMPARE(closer.titles, QStringList({"Pattern Trace by Time"}));
    QCOMPARE(closer.texts, QStringList({"No pattern is found!"}));
    // No hit is kept or drawn, the kind of the last success stays.
    QVERIFY(p->scoreList.isEmpty());
    QCOMPARE(p->currentTrace, 2);
    QVERIFY(p->slider->isHidden());
    QVERIFY(p->horizontalSlider->isHidden());
    QVERIFY(p->isMarkCurve);
    QVERIFY(!p->xLabelIsShown);
    QCOMPARE(p->horizontalSlider->value(), 80);

    p->TracePattern_TimeAmp();
    QCOMPARE(closer.titles.last(), QString("Pattern Trace by Time+Amplitude"));
}

void TestPattern::failedTraceResetsTheSliderAndRerunsTheLastKind()
{
    DialogCloser closer;
    // The doubled copy matches by time only.
    auto p = newPlotter(curveWith({{30, 1, 0}, {90, 2, 0}}));
    mw->pattern = kShape;
    {
        QSignalBlocker block(p->horizontalSlider);
        p->horizontalSlider->setValue(50);
    }

    // By amplitude only the pattern's own place is found: the box, then the
    // slider goes back to 80, which runs the trace by time (a new window's
    // kind) at 0.8, and that one succeeds.
    p->TracePattern_Amp();
    QCOMPARE(closer.titles, QStringList({"Pattern Trace by Amplitude"}));
    QCOMPARE(p->horizontalSlider->value(), 80);
    QCOMPARE(p->currentTrace, 1);
    QCOMPARE(p->scoreList, QVector<QPointF>({{30, 1}, {90, 1}}));
    QVERIFY(!p->slider->isHidden());
    QVERIFY(p->isMarkCurve);

    // At 80 already: a failure does not run anything again.
    closer.titles.clear();
    p->TracePattern_Amp();
    QCOMPARE(closer.titles, QStringList({"Pattern Trace by Amplitude"}));
    QVERIFY(p->scoreList.isEmpty());
    QCOMPARE(p->currentTrace, 1);
}

void TestPattern::patternTooLongOrEmptyFindsNothing()
{
    DialogCloser closer;
    auto p = newPlotter(curveWith({{30, 1, 0}}, 40));

    // As long as the curve, and one sample longer: nothing is scored.
    mw->pattern = QVector<float>(40, 1.0f);
    p->TracePattern_Time();
    mw->pattern = QVector<float>(41, 1.0f);
    p->TracePattern_Time();
    // One sample shorter: a single score, which is never a hit.
    mw->pattern = QVector<float>(39, 1.0f);
    p->TracePattern_Time();
    mw->pattern.clear();
    p->TracePattern_Time();
    QCOMPARE(closer.texts.size(), 4);
    QVERIFY(p->scoreList.isEmpty());
    QVERIFY(p->isMarkCurve);

    // A window without any curve.
    Plotter empty;
    empty.mainw = mw.get();
    mw->pattern = kShape;
    empty.TracePattern_Time();
    QCOMPARE(closer.texts.size(), 5);
    QVERIFY(empty.scoreList.isEmpty());
}

void TestPattern::traceOnImageOrWithoutMainWindowDoesNothing()
{
    DialogCloser closer;
    auto p = newPlotter(curveWith({{30, 1, 0}, {90, 1, 0}}));
    float cells[4] = {1, 2, 3, 4};
    p->setMatrixData(QPoint(2, 2), cells);
    mw->pattern = kShape;
    p->TracePattern_Time();
    QVERIFY(p->scoreList.isEmpty());
    QVERIFY(!p->isMarkCurve);
    QCOMPARE(p->currentMatrixMapIndex, 0);

    Plotter alone;
    alone.setCurveData(0, curveWith({{30, 1, 0}, {90, 1, 0}}));
    alone.TracePattern_Time();
    alone.recalculatePatterTrace(10);
    QVERIFY(alone.scoreList.isEmpty());
    QVERIFY(closer.texts.isEmpty());
}

void TestPattern::undoAfterFailedTrace()
{
    DialogCloser closer;
    auto p = newPlotter(curveWith({{30, 1, 0}}));
    mw->pattern = kShape;
    p->TracePattern_Time();
    QVERIFY(p->isMarkCurve);
    p->UndoPattern();
    QVERIFY(!p->isMarkCurve);
    QVERIFY(p->slider->isHidden());
    QVERIFY(p->horizontalSlider->isHidden());
}

void TestPattern::sliderHandlerRerunsTheTraceOfItsKind()
{
    DialogCloser closer;
    auto p = newPlotter(curveWith({{30, 1, 0}, {150, 1, 1.0}}));
    mw->pattern = kShape;
    {
        QSignalBlocker block(p->horizontalSlider);
        p->horizontalSlider->setValue(50);
    }
    p->TracePattern_Amp();
    QCOMPARE(p->scoreList.size(), 2);

    // Releasing the slider at 60 re-runs the trace by amplitude at 0.6, which
    // finds only the exact copy; the reset to 80 runs it once more, with its
    // own box.
    p->horizontalSlider->setValue(60);
    QCOMPARE(closer.titles, QStringList({"Pattern Trace by Amplitude", "Pattern Trace by Amplitude"}));
    QVERIFY(p->scoreList.isEmpty());
    QCOMPARE(p->horizontalSlider->value(), 80);

    // An unknown kind runs nothing.
    closer.titles.clear();
    p->currentTrace = 7;
    p->recalculatePatterTrace(0);
    QVERIFY(closer.titles.isEmpty());
}

void TestPattern::sliderHandlerInManualDenoiseMode()
{
    DialogCloser closer;
    const int count = mw->plotterCount;
    QVERIFY2(count >= 3, qPrintable(QString::number(count)));
    QVector<bool> manual;
    QVector<float> depth;
    for (int i = 0; i < count; ++i) {
        manual << mw->plotterList[i]->isManuDenoise;
        depth << mw->plotterList[i]->deNoiseDeep;
    }

    Plotter* moved = mw->plotterList[2];
    moved->isManuDenoise = true;
    moved->deNoiseDeep = 0.35f;
    mw->currentSignalIndex = 0;
    mw->isBondSignals = false;
    moved->recalculatePatterTrace(35);
    // Unbonded: the other windows are left alone, and no trace runs.
    QVERIFY(!moved->signalRaw.isEmpty()); // de-noising keeps the raw samples
    QVERIFY(!mw->plotterList[0]->isManuDenoise);
    QVERIFY(mw->plotterList[0]->signalRaw.isEmpty());
    QVERIFY(moved->scoreList.isEmpty());
    QVERIFY(closer.titles.isEmpty());

    mw->isBondSignals = true;
    moved->recalculatePatterTrace(35);
    // Every other displayed window follows the moved slider's depth, also
    // the window of the current signal.
    for (int i = 0; i < count; ++i) {
        QVERIFY(mw->plotterList[i]->isManuDenoise);
        QCOMPARE(mw->plotterList[i]->deNoiseDeep, 0.35f);
        QVERIFY(!mw->plotterList[i]->signalRaw.isEmpty());
    }

    // Back to the loaded record for the tests that follow.
    for (int i = 0; i < count; ++i) {
        mw->plotterList[i]->isManuDenoise = manual[i];
        mw->plotterList[i]->deNoiseDeep = depth[i];
        mw->plotterList[i]->signalRaw.clear();
    }
    mw->isBondSignals = true;
    mw->display_raw_signals(false);

    Plotter alone;
    alone.isManuDenoise = true;
    alone.recalculatePatterTrace(0); // no main window: must not crash
}

void TestPattern::builtPatternTracedOnAnotherWindow()
{
    DialogCloser closer;
    auto source = newPlotter(curveWith({{60, 1, 0}}));
    PlotSettings view = source->currentSettings();
    view.minX = 0.6;
    view.maxX = 0.64;
    source->zoomStack.append(view);
    source->curZoom = 1;
    source->BuildPattern();
    QCOMPARE(mw->pattern, kShape);

    auto target = newPlotter(curveWith({{20, 3, -1}, {100, 1, 0}, {170, 0.5, 2}}));
    target->TracePattern_Time();
    QCOMPARE(xs(target->scoreList), QVector<double>({20, 100, 170}));
    QVERIFY(source->scoreList.isEmpty());
    QVERIFY(closer.texts.isEmpty());
}

void TestPattern::loadedSignalTracedWithOneSecond()
{
    DialogCloser closer;
    Plotter* ecg = mw->plotterList[4];
    QCOMPARE(ecg->title, QString("ECG lead II_mgh038.txt"));
    const int n = int(ecg->curveMap.value(0).size());
    QCOMPARE(n, 16384);

    // One second of the 360 Hz signal: samples 360 (t = 1) through 720 (t = 2).
    PlotSettings view = ecg->currentSettings();
    view.minX = 1.0;
    view.maxX = 2.0;
    ecg->zoomStack.append(view);
    ecg->curZoom = 1;
    ecg->BuildPattern();
    QCOMPARE(mw->pattern.size(), 361);
    QCOMPARE(mw->pattern.first(), float(ecg->curveMap.value(0)[360].y()));
    ecg->zoomStack.removeLast();
    ecg->curZoom = 0;

    ecg->TracePattern_Time();
    QVERIFY(closer.texts.isEmpty());
    QVERIFY(ecg->scoreList.size() > 1);
    // The pattern's own place scores exactly 1 among the other beats.
    QVERIFY(ecg->scoreList.contains(QPointF(360, 1)));
    double last = -1;
    for (const QPointF& hit : ecg->scoreList) {
        QVERIFY(hit.x() > last);
        QVERIFY(hit.x() >= 1 && hit.x() < n - 361 - 1);
        QVERIFY(hit.y() >= double(0.8f) && hit.y() <= 1.0);
        last = hit.x();
    }
    // The other windows are not touched.
    QVERIFY(mw->plotterList[3]->scoreList.isEmpty());
    QVERIFY(!mw->plotterList[3]->isMarkCurve);

    ecg->UndoPattern();
    QVERIFY(!ecg->isMarkCurve);
}

QTEST_MAIN(TestPattern)
#include "test_pattern.moc"
