// Auto- and cross-correlation as a second curve, and their undo.

#include <QtTest>

#include <QToolButton>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "app/mainwindow.h"
#include "plot/plotter.h"
#include "testutil.h"

class PlotterTestAccess
{
public:
    static QToolButton* zoomInButton(Plotter& p) { return p.zoomInButton; }
    static QToolButton* zoomOutButton(Plotter& p) { return p.zoomOutButton; }
};

namespace {

using Curve = QVector<QPointF>;

Curve makeCurve(int n, double dt, const std::function<double(int)>& f, double x0 = 0.0)
{
    Curve c;
    for (int k = 0; k < n; ++k)
        c.append(QPointF(x0 + k * dt, f(k)));
    return c;
}

// The first `count` y values, continued with the last one.
std::vector<double> padded(const Curve& c, int count)
{
    std::vector<double> v(static_cast<size_t>(count));
    for (int j = 0; j < count; ++j)
        v[size_t(j)] = c.at(qMin(j, int(c.size()) - 1)).y();
    return v;
}

// The correlation by its definition, in ascending lag -(H-1) .. H-1:
// sum over j of pattern[j] * signal[j + lag], indices inside 0 .. H-1.
std::vector<double> bruteCorrelation(const std::vector<double>& signal, const std::vector<double>& pattern)
{
    const int H = int(signal.size());
    std::vector<double> c;
    for (int lag = -(H - 1); lag <= H - 1; ++lag) {
        double sum = 0.0;
        for (int j = 0; j < H; ++j) {
            const int i = j + lag;
            if (i >= 0 && i < H)
                sum += pattern[size_t(j)] * signal[size_t(i)];
        }
        c.push_back(sum);
    }
    return c;
}

// Checks curve 1 of `r` against the correlation of the initiating curve
// `init` with r's curve 0, scaled into `view`.
void verifyCorrelationCurve(const Plotter& r, const Curve& init, const PlotSettings& view)
{
    int N = 1;
    while (init.size() > N)
        N *= 2;
    const int H = N / 2;
    const Curve& own = r.curveMap.value(0);
    const std::vector<double> c = bruteCorrelation(padded(init, H), padded(own, H));
    double mn = c[0], mx = c[0];
    for (double v : c) {
        mn = qMin(mn, v);
        mx = qMax(mx, v);
    }

    QVERIFY(r.curveMap.contains(1));
    const Curve& got = r.curveMap.value(1);
    QCOMPARE(got.size(), qsizetype(N - 1));

    const PlotSettings& s = r.zoomStack.at(0);
    const double tol = 1e-9 * qMax(1.0, qAbs(mx) + qAbs(mn));
    QVERIFY2(qAbs(s.minY2 - mn) <= qMax(tol, 1e-6 * qAbs(mn)), qPrintable(QString::number(s.minY2)));
    QVERIFY2(qAbs(s.maxY2 - mx) <= qMax(tol, 1e-6 * qAbs(mx)), qPrintable(QString::number(s.maxY2)));
    QCOMPARE(s.minX2, view.minX - 0.5 * view.spanX());
    QCOMPARE(s.maxX2, view.maxX - 0.5 * view.spanX());
    QCOMPARE(s.minX, view.minX);
    QCOMPARE(s.maxY, view.maxY);

    const float dt = own.size() >= 3 ? float(own.at(2).x() - own.at(1).x())
                                     : float(own.at(1).x() - own.at(0).x());
    for (int k = 0; k < N - 1; ++k) {
        QCOMPARE(got.at(k).x(), own.at(0).x() + k * dt);
        const double expected = view.minY + (c[size_t(k)] - mn) * view.spanY() / (mx - mn);
        if (qAbs(got.at(k).y() - expected) > 1e-5 * qMax(1e-12, qAbs(view.spanY())))
            QFAIL(qPrintable(QString("point %1: %2 instead of %3").arg(k).arg(got.at(k).y()).arg(expected)));
    }
}

} // namespace

// Stops the calling test at the helper's first failure.
#define VERIFY_CORRELATION(...)                                                                    \
    do {                                                                                           \
        verifyCorrelationCurve(__VA_ARGS__);                                                       \
        if (QTest::currentTestFailed())                                                            \
            return;                                                                                \
    } while (false)

class TestCorrelation : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindow> mw;

    // Puts the given curves into the first windows, as the displayed set, with
    // base titles W0, W1, ...; the window after them holds a sentinel.
    void useWindows(const QVector<Curve>& curves)
    {
        mw->isMultiCurve = false;
        mw->isBondSignals = false;
        mw->plotterCount = int(curves.size());
        for (int i = 0; i <= curves.size() && i < 20; ++i) {
            Plotter* p = mw->plotterList[i];
            p->curveMap.clear();
            p->setCurveData(0, i < curves.size() ? curves.at(i) : makeCurve(8, 1.0, [](int k) { return k; }));
            if (i < curves.size() && curves.at(i).isEmpty())
                p->curveMap.clear();
            p->titlePrevious = i < curves.size() ? QString("W%1").arg(i) : QString("OUT");
            p->title = p->titlePrevious;
            p->isSecondCurve = false;
            p->isMarkCurve = true;
            p->xLabelIsShown = true;
            p->titleIsShown = false;
        }
    }

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        DialogCloser closer;
        mw = std::make_unique<MainWindow>();
        QVERIFY(mw->plotterCount > 0);
    }

    void cleanupTestCase() { mw.reset(); }

    // The block sizes and the drawn points of an auto-correlation: N - 1
    // points from the curve's first x on with its step, the extremes on the
    // view's edges, and the second axis over the shifted x range.
    void autoCorrelationShape_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("points");
        QTest::newRow("3 -> N 4") << 3 << 3;
        QTest::newRow("5 -> N 8") << 5 << 7;
        QTest::newRow("8 -> N 8") << 8 << 7;
        QTest::newRow("1000 -> N 1024") << 1000 << 1023;
        QTest::newRow("1025 -> N 2048") << 1025 << 2047;
    }

    void autoCorrelationShape()
    {
        QFETCH(int, n);
        QFETCH(int, points);
        Plotter p;
        const Curve curve = makeCurve(n, 1.0 / 360, [](int k) { return std::sin(0.05 * k) + 0.01 * k + 2.0; }, 0.5);
        p.setCurveData(0, curve);
        p.titlePrevious = "ECG";
        p.title = "something else";
        p.xLabelIsShown = true;
        p.isMarkCurve = true;
        const PlotSettings view = p.zoomStack.at(0);

        p.AutoCorrelation();

        QCOMPARE(p.curveMap.value(1).size(), qsizetype(points));
        VERIFY_CORRELATION(p, curve, view);
        QCOMPARE(p.title, QString("ECG Auto-correlation"));
        QVERIFY(p.isSecondCurve);
        QVERIFY(p.titleIsShown);
        QVERIFY(!p.xLabelIsShown);
        QVERIFY(!p.isMarkCurve);
        QCOMPARE(p.zoomStack.size(), qsizetype(1));
        QCOMPARE(p.curZoom, 0);
        QVERIFY(PlotterTestAccess::zoomInButton(p)->isHidden());
        QVERIFY(PlotterTestAccess::zoomOutButton(p)->isHidden());
        // Curve 0 is left alone.
        QCOMPARE(p.curveMap.value(0), curve);
    }

    // 16384 points: H = 8192, only the first 8192 samples enter, 16383 points
    // with the zero lag (the largest value of a self-correlation) at 8191.
    void autoCorrelationFullRecord()
    {
        Plotter p;
        const Curve curve = makeCurve(16384, 1.0 / 360, [](int k) {
            return k < 8192 ? 1.0 + 0.5 * std::cos(0.01 * k) : 1.0e6;
        });
        p.setCurveData(0, curve);
        const PlotSettings view = p.zoomStack.at(0);
        p.AutoCorrelation();

        const Curve& c = p.curveMap.value(1);
        QCOMPARE(c.size(), qsizetype(16383));
        int arg = 0;
        for (int k = 1; k < c.size(); ++k)
            if (c.at(k).y() > c.at(arg).y())
                arg = k;
        QCOMPARE(arg, 8191);
        QVERIFY(qAbs(c.at(8191).y() - view.maxY) <= 1e-6 * view.spanY());
        const float dtf = float(2 * (1.0 / 360) - 1 * (1.0 / 360));
        QCOMPARE(c.at(8191).x(), 0.0 + 8191 * dtf);

        double zeroLag = 0.0;
        for (int j = 0; j < 8192; ++j)
            zeroLag += curve.at(j).y() * curve.at(j).y();
        QVERIFY(qAbs(p.zoomStack.at(0).maxY2 - zeroLag) <= 1e-6 * zeroLag);
        // The view 0 .. T is labelled -T/2 .. T/2 on the second axis.
        QCOMPARE(p.zoomStack.at(0).minX2, -0.5 * view.maxX);
        QCOMPARE(p.zoomStack.at(0).maxX2, 0.5 * view.maxX);
    }

    // 1000 points run 23 steps past the curve's last x.
    void autoCorrelationRunsPastTheCurve()
    {
        Plotter p;
        const double dt = 0.25;
        p.setCurveData(0, makeCurve(1000, dt, [](int k) { return (k * 37) % 11; }));
        p.AutoCorrelation();
        const Curve& c = p.curveMap.value(1);
        QCOMPARE(c.size(), qsizetype(1023));
        QCOMPARE(c.last().x(), 999 * dt + 23 * dt);
    }

    // A zoomed window keeps only the current view, now with the second axis.
    void autoCorrelationOnZoomedViewDropsHistory()
    {
        Plotter p;
        p.setCurveData(0, makeCurve(64, 1.0, [](int k) { return k % 5; }));
        PlotSettings zoomed = p.zoomStack.at(0);
        zoomed.minX = 10;
        zoomed.maxX = 30;
        zoomed.minY = -1;
        zoomed.maxY = 7;
        p.zoomStack.append(zoomed);
        p.curZoom = 1;

        p.AutoCorrelation();
        QCOMPARE(p.zoomStack.size(), qsizetype(1));
        QCOMPARE(p.curZoom, 0);
        QCOMPARE(p.zoomStack.at(0).minX, 10.0);
        QCOMPARE(p.zoomStack.at(0).minX2, 0.0);
        QCOMPARE(p.zoomStack.at(0).maxX2, 20.0);
        VERIFY_CORRELATION(p, p.curveMap.value(0), zoomed);
    }

    // A correlation whose values are all equal is drawn along the middle of
    // the view, never as NaN; curves too short for a block draw nothing.
    void degenerateCurves()
    {
        {
            Plotter p;
            p.setCurveData(0, makeCurve(16, 1.0, [](int) { return 0.0; }));
            p.AutoCorrelation();
            const Curve& c = p.curveMap.value(1);
            QCOMPARE(c.size(), qsizetype(15));
            for (const QPointF& pt : c) {
                QVERIFY(std::isfinite(pt.y()));
                QCOMPARE(pt.y(), 0.0);
            }
            QCOMPARE(p.zoomStack.at(0).minY2, 0.0);
            QCOMPARE(p.zoomStack.at(0).maxY2, 0.0);
        }
        {
            // Two points: N = 2, one correlation value, the step from 0 to 1.
            Plotter p;
            p.setCurveData(0, Curve{QPointF(1.0, 2.0), QPointF(1.5, 4.0)});
            p.AutoCorrelation();
            const Curve& c = p.curveMap.value(1);
            QCOMPARE(c.size(), qsizetype(1));
            QCOMPARE(c.at(0).x(), 1.0);
            QCOMPARE(c.at(0).y(), 3.0); // middle of the view 2 .. 4
            QVERIFY(p.isSecondCurve);
        }
        {
            Plotter p;
            p.setCurveData(0, Curve{QPointF(1.0, 2.0)});
            p.titlePrevious = "one";
            p.title = "one";
            p.AutoCorrelation();
            QVERIFY(!p.curveMap.contains(1));
            QVERIFY(!p.isSecondCurve);
            QCOMPARE(p.title, QString("one"));
        }
        {
            Plotter p;
            p.setCurveData(0, Curve());
            p.AutoCorrelation();
            QVERIFY(!p.curveMap.contains(1));
            p.curveMap.clear();
            p.AutoCorrelation();
            p.CrossCorrelation();
            QVERIFY(p.curveMap.isEmpty());
            QVERIFY(!p.isSecondCurve);
        }
    }

    // Cross-correlation from window 1 over windows of unequal lengths, with
    // the bond option off: every displayed window gets its correlation with
    // window 1's curve under its own base title.
    void crossCorrelationOverDisplayedWindows()
    {
        const Curve w0 = makeCurve(10, 0.1, [](int k) { return 3.0 - 0.2 * k; }, 2.0); // shorter than H
        const Curve w1 = makeCurve(40, 0.5, [](int k) { return std::sin(0.3 * k) + 0.05 * k; }, 1.0);
        const Curve w2 = makeCurve(200, 0.01, [](int k) { return (k * 13) % 7 - 3.0; }); // longer than N
        const Curve w3 = Curve{QPointF(0.0, 1.0), QPointF(0.2, -1.0)};
        const Curve w4 = Curve{QPointF(0.0, 5.0)};
        useWindows({w0, w1, w2, w3, w4, Curve()});

        // Window 2 is zoomed: the correlation takes its base view.
        Plotter* p2 = mw->plotterList[2];
        const PlotSettings base2 = p2->zoomStack.at(0);
        PlotSettings zoomed = base2;
        zoomed.maxX = 0.5;
        p2->zoomStack.append(zoomed);
        p2->curZoom = 1;

        QVector<PlotSettings> views;
        for (int i = 0; i < 4; ++i)
            views << mw->plotterList[i]->zoomStack.at(0);

        mw->plotterList[1]->CrossCorrelation();

        for (int i = 0; i < 4; ++i) {
            Plotter* p = mw->plotterList[i];
            VERIFY_CORRELATION(*p, w1, views.at(i));
            QCOMPARE(p->curveMap.value(1).size(), qsizetype(63));
            QCOMPARE(p->title, QString("W%1 Cross-correlation with W1").arg(i));
            QVERIFY(p->isSecondCurve);
            QVERIFY(!p->isMarkCurve);
            QVERIFY(!p->xLabelIsShown);
            QVERIFY(p->titleIsShown);
            QCOMPARE(p->zoomStack.size(), qsizetype(1));
            QCOMPARE(p->curZoom, 0);
            QVERIFY(!p->isHidden());
        }
        QCOMPARE(p2->zoomStack.at(0).maxX, base2.maxX);

        // One point has no time step, no curve has nothing to correlate:
        // both windows stay as they were.
        for (int i : {4, 5}) {
            Plotter* p = mw->plotterList[i];
            QVERIFY(!p->curveMap.contains(1));
            QVERIFY(!p->isSecondCurve);
            QCOMPARE(p->title, QString("W%1").arg(i));
        }
        // The window after the displayed set is not touched.
        Plotter* out = mw->plotterList[6];
        QVERIFY(!out->curveMap.contains(1));
        QCOMPARE(out->title, QString("OUT"));
    }

    // Run from the last of three windows: window 2 names itself.
    void crossCorrelationTitlesFromWindowTwo()
    {
        const Curve c = makeCurve(30, 1.0, [](int k) { return k % 4; });
        useWindows({c, c, c});
        mw->plotterList[0]->titlePrevious = "ART";
        mw->plotterList[1]->titlePrevious = "CO2";
        mw->plotterList[2]->titlePrevious = "CVP";
        mw->isBondSignals = true;
        mw->plotterList[2]->CrossCorrelation();
        QCOMPARE(mw->plotterList[0]->title, QString("ART Cross-correlation with CVP"));
        QCOMPARE(mw->plotterList[1]->title, QString("CO2 Cross-correlation with CVP"));
        QCOMPARE(mw->plotterList[2]->title, QString("CVP Cross-correlation with CVP"));
        QCOMPARE(mw->plotterList[3]->title, QString("OUT"));
    }

    // Auto-correlation stays on its window, whatever the bond option says.
    void autoCorrelationStaysOnOneWindow()
    {
        const Curve c = makeCurve(30, 1.0, [](int k) { return k % 4; });
        useWindows({c, c, c});
        mw->isBondSignals = true;
        mw->plotterList[1]->AutoCorrelation();
        QCOMPARE(mw->plotterList[1]->title, QString("W1 Auto-correlation"));
        QVERIFY(!mw->plotterList[0]->curveMap.contains(1));
        QVERIFY(!mw->plotterList[2]->curveMap.contains(1));
        QCOMPARE(mw->plotterList[0]->title, QString("W0"));
    }

    // Undo clears the correlation of every displayed window and puts the base
    // titles back; the view with its second axis and the hidden x label stay.
    void undoCorrelationRestoresEveryWindow()
    {
        const Curve c = makeCurve(30, 1.0, [](int k) { return k % 4; });
        useWindows({c, c, c});
        mw->plotterList[0]->CrossCorrelation();
        const PlotSettings view = mw->plotterList[2]->zoomStack.at(0);
        // A window that holds no correlation loses its suffix as well.
        mw->plotterList[2]->curveMap.remove(1);
        mw->plotterList[2]->isSecondCurve = false;
        mw->plotterList[2]->title = "W2 de-noised";
        mw->plotterList[2]->isMarkCurve = true;

        mw->plotterList[1]->UndoCorrelation();
        for (int i = 0; i < 3; ++i) {
            Plotter* p = mw->plotterList[i];
            QVERIFY(!p->curveMap.contains(1));
            QCOMPARE(p->curveMap.value(0), c);
            QVERIFY(!p->isSecondCurve);
            QVERIFY(!p->isMarkCurve);
            QCOMPARE(p->title, QString("W%1").arg(i));
            QVERIFY(!p->xLabelIsShown);
        }
        QCOMPARE(mw->plotterList[2]->zoomStack.size(), qsizetype(1));
        QCOMPARE(mw->plotterList[2]->zoomStack.at(0).minX2, view.minX2);
        QCOMPARE(mw->plotterList[2]->zoomStack.at(0).maxY2, view.maxY2);
        QCOMPARE(mw->plotterList[3]->title, QString("OUT"));
    }

    // A window shown alone (one frame) that is not first in the table, and a
    // window without a main window, still lose their second axis.
    void undoCorrelationOnWindowShownAlone()
    {
        const Curve c = makeCurve(30, 1.0, [](int k) { return k % 4; });
        useWindows({c, c, c});
        mw->plotterList[2]->AutoCorrelation();
        mw->plotterCount = 1;
        mw->plotterList[2]->UndoCorrelation();
        QVERIFY(!mw->plotterList[2]->isSecondCurve);
        QVERIFY(!mw->plotterList[2]->curveMap.contains(1));
        QCOMPARE(mw->plotterList[2]->title, QString("W2"));

        Plotter alone;
        alone.setCurveData(0, c);
        alone.titlePrevious = "base";
        alone.AutoCorrelation();
        QCOMPARE(alone.title, QString("base Auto-correlation"));
        alone.UndoCorrelation();
        QVERIFY(!alone.isSecondCurve);
        QVERIFY(!alone.curveMap.contains(1));
        QCOMPARE(alone.title, QString("base"));
    }

    // Without a main window a cross-correlation covers this window alone.
    void crossCorrelationWithoutMainWindow()
    {
        Plotter p;
        const Curve c = makeCurve(12, 1.0, [](int k) { return k * k; });
        p.setCurveData(0, c);
        p.titlePrevious = "X";
        const PlotSettings view = p.zoomStack.at(0);
        p.CrossCorrelation();
        QCOMPARE(p.title, QString("X Cross-correlation with X"));
        VERIFY_CORRELATION(p, c, view);
    }

    // Over the loaded record laid out anew: each of the eight windows holds
    // its 16384 samples and gets 16383 correlation points under its loading
    // title; undo gives every title back.
    void crossCorrelationOverTheRecord()
    {
        mw->isMultiCurve = false;
        mw->display_raw_signals(false);
        QCOMPARE(mw->plotterCount, 8);
        Plotter* from = mw->plotterList[3];
        from->CrossCorrelation();
        for (int i = 0; i < 8; ++i) {
            Plotter* p = mw->plotterList[i];
            QCOMPARE(p->curveMap.value(1).size(), qsizetype(16383));
            QCOMPARE(p->title, p->titleRaw + " Cross-correlation with ECG lead I_mgh038.txt");
            QVERIFY(p->isSecondCurve);
        }
        mw->plotterList[6]->UndoCorrelation();
        for (int i = 0; i < 8; ++i) {
            Plotter* p = mw->plotterList[i];
            QVERIFY(!p->curveMap.contains(1));
            QCOMPARE(p->title, p->titleRaw);
            QCOMPARE(p->curveMap.value(0), mw->signal[i]);
        }
    }

    // In the multi-curve display curve 1 is a signal: neither correlation nor
    // undo may replace or remove it.
    void multiCurveDisplayKeepsSignalCurves()
    {
        const Curve c = makeCurve(30, 1.0, [](int k) { return k % 4; });
        useWindows({c});
        Plotter* p = mw->plotterList[0];
        const Curve second = makeCurve(30, 1.0, [](int k) { return -k; });
        p->curveMap[1] = second;
        mw->isMultiCurve = true;
        p->AutoCorrelation();
        p->CrossCorrelation();
        QCOMPARE(p->curveMap.value(1), second);
        QVERIFY(!p->isSecondCurve);
        p->UndoCorrelation();
        QCOMPARE(p->curveMap.value(1), second);
        mw->isMultiCurve = false;
    }
};

QTEST_MAIN(TestCorrelation)
#include "test_correlation.moc"
