// Reference-trace model: choice of the references, the fit and its output,
// the scores in the target window's x label, and bad input.

#include <QtTest>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "app/mainwindow.h"
#include "testutil.h"

namespace {

const double kUnset = -777.0;

// Deterministic noise in [-1, 1].
QVector<double> noise(int n, quint32 seed)
{
    QVector<double> v(n);
    quint32 s = seed;
    for (int i = 0; i < n; ++i) {
        s = s * 1664525u + 1013904223u;
        v[i] = double(s >> 8) / double(1u << 24) * 2.0 - 1.0;
    }
    return v;
}

QVector<QPointF> curveOf(const QVector<double>& y)
{
    QVector<QPointF> c(y.size());
    for (int k = 0; k < y.size(); ++k)
        c[k] = QPointF(k / 360.0, y[k]);
    return c;
}

} // namespace

class TestPrediction : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void oneWindowChangesNothing();
    void noReferenceShowsTheMessageAndStillScores();
    void oneReferenceUsesItAtThreeSamples();
    void threeBestReferencesOfFour();
    void fitOnEverySample();
    void badTargetsAndLengths();

private:
    // Shows the traces in windows 0.. as their curve 0 and loaded signal.
    void show(const QVector<QVector<double> >& traces, int target);
    QString label() const { return mw->plotterList[mw->currentSignalIndex]->xLabel; }

    std::unique_ptr<MainWindow> mw;
};

void TestPrediction::initTestCase()
{
    Q_INIT_RESOURCE(resources);
    DialogCloser closer;
    mw = std::make_unique<MainWindow>();
    QCOMPARE(mw->plotterCount, 8);
    QCOMPARE(mw->leftShift, 0);
}

void TestPrediction::cleanupTestCase()
{
    mw.reset();
}

void TestPrediction::show(const QVector<QVector<double> >& traces, int target)
{
    for (int i = 0; i < 20; ++i)
        mw->plotterList[i]->curveMap.clear();
    for (int i = 0; i < traces.size(); ++i) {
        mw->plotterList[i]->curveMap[0] = curveOf(traces[i]);
        mw->signal[i] = curveOf(traces[i]);
        mw->plotterList[i]->xLabel.clear();
        mw->plotterList[i]->xLabelIsShown = false;
    }
    mw->plotterCount = int(traces.size());
    mw->currentSignalIndex = target;
}

void TestPrediction::oneWindowChangesNothing()
{
    DialogCloser closer;
    show({noise(300, 1)}, 0);
    mw->plotterList[0]->xLabel = "keep";
    std::vector<double> simulation(300, kUnset);
    mw->prediction(simulation.data(), 100);
    QCOMPARE(mw->plotterList[0]->xLabel, QString("keep"));
    QVERIFY(!mw->plotterList[0]->xLabelIsShown);
    for (double v : simulation)
        QCOMPARE(v, kUnset);
    QVERIFY(closer.texts.isEmpty());

    mw->prediction(nullptr, 100); // no array: nothing to fill
}

void TestPrediction::noReferenceShowsTheMessageAndStillScores()
{
    DialogCloser closer;
    // Six samples: no lag is tried, so no trace qualifies.
    show({{1, 2, 3, 5, 5, 5}, {1, 2, 3, 5, 5, 5}}, 0);
    std::vector<double> simulation = {1, 2, 2, 6, 6, 6};
    mw->prediction(simulation.data(), 3);
    QCOMPARE(closer.titles, QStringList({"Reference Trace"}));
    QCOMPARE(closer.texts, QStringList({"No available reference found!"}));
    QCOMPARE(simulation, std::vector<double>({1, 2, 2, 6, 6, 6}));
    // [1, 2, 3] against [1, 2, 2], and [5, 5, 5] against [6, 6, 6].
    QCOMPARE(label(), QString("Simulation score: 0.5_0.866025\n Prediction score: 0_1"));
    QVERIFY(mw->plotterList[0]->xLabelIsShown);

    // Nothing left to predict: the prediction score is that of nothing.
    simulation = {1, 2, 3, 5, 5, 5};
    mw->prediction(simulation.data(), 0);
    QCOMPARE(label(), QString("Simulation score: 1_1\n Prediction score: 0_0"));
}

void TestPrediction::oneReferenceUsesItAtThreeSamples()
{
    DialogCloser closer;
    const int n = 300;
    const QVector<double> ref = noise(n, 7);
    // Representable by the model from the reference at t, t - 1 and t - 2.
    QVector<double> target(n);
    for (int k = 0; k < n; ++k) {
        const double r1 = k >= 1 ? ref[k - 1] : 0.0;
        const double r2 = k >= 2 ? ref[k - 2] : 0.0;
        target[k] = ref[k] + 0.5 * r1 * r2 - 0.25 * ref[k] * ref[k] * ref[k] + 0.1 * r2 * r2;
    }
    QVector<double> opposite = target;
    for (double& v : opposite)
        v = -v;

    show({opposite, target, ref}, 1);
    std::vector<double> simulation(size_t(n), kUnset);
    mw->prediction(simulation.data(), 100);
    QVERIFY(closer.texts.isEmpty());

    QCOMPARE(simulation[0], target[0]);
    QCOMPARE(simulation[1], target[1]);
    for (int k = 2; k < n; ++k)
        QVERIFY2(std::fabs(simulation[size_t(k)] - target[k]) < 1e-6, qPrintable(QString::number(k)));
    QCOMPARE(label(), QString("Simulation score: 1_1\n Prediction score: 1_1"));
    QVERIFY(mw->plotterList[1]->xLabelIsShown);
    QVERIFY(!mw->plotterList[0]->xLabelIsShown);
}

void TestPrediction::threeBestReferencesOfFour()
{
    DialogCloser closer;
    const int n = 1000;
    const QVector<double> r1 = noise(n, 11);
    const QVector<double> r2 = noise(n, 12);
    const QVector<double> r3 = noise(n, 13);
    const QVector<double> extra = noise(n, 14);
    QVector<double> r4(n);
    QVector<double> target(n);
    for (int k = 0; k < n; ++k) {
        target[k] = r1[k] + 0.7 * r2[k] + 0.5 * r3[k];
        // Like the third reference, but less alike the target.
        r4[k] = r3[k] + 1.2 * extra[k];
    }

    // Window order does not decide the ranking.
    show({r4, r2, target, r3, r1}, 2);
    std::vector<double> simulation(size_t(n), kUnset);
    mw->prediction(simulation.data(), 200);
    QVERIFY(closer.texts.isEmpty());

    // The model of the three best references reproduces the target from its
    // first sample on; the fourth reference would not.
    for (int k = 0; k < n; ++k)
        QVERIFY2(std::fabs(simulation[size_t(k)] - target[k]) < 1e-6, qPrintable(QString::number(k)));
}

void TestPrediction::fitOnEverySample()
{
    DialogCloser closer;
    const int n = 200;
    const QVector<double> ref = noise(n, 21);
    QVector<double> target(n);
    for (int k = 0; k < n; ++k)
        target[k] = 2.0 * ref[k] + (k >= 1 ? ref[k - 1] : 0.0);
    show({target, ref}, 0);

    // With one reference the fit sees every sample left after the two
    // dropped at the start, and no more.
    std::vector<double> simulation(size_t(n), kUnset);
    mw->prediction(simulation.data(), 0);
    for (int k = 0; k < n; ++k)
        QVERIFY2(std::fabs(simulation[size_t(k)] - target[k]) < 1e-6, qPrintable(QString::number(k)));
    QVERIFY(label().endsWith("\n Prediction score: 0_0"));

    simulation.assign(size_t(n), kUnset);
    mw->prediction(simulation.data(), 1);
    QVERIFY(std::fabs(simulation[size_t(n - 1)] - target[n - 1]) < 1e-6);

    // Everything missing: nothing to fit, the array stays as it was.
    simulation.assign(size_t(n), kUnset);
    mw->prediction(simulation.data(), n);
    for (double v : simulation)
        QCOMPARE(v, kUnset);
    simulation.assign(size_t(n), kUnset);
    mw->prediction(simulation.data(), n + 50);
    for (double v : simulation)
        QCOMPARE(v, kUnset);
    QVERIFY(label().startsWith("Simulation score: 0_0\n"));

    // A fitting window longer than the trace is the whole trace.
    simulation.assign(size_t(n), kUnset);
    mw->prediction(simulation.data(), -10);
    QVERIFY(std::fabs(simulation[size_t(n / 2)] - target[n / 2]) < 1e-6);
    QVERIFY(closer.texts.isEmpty());
}

void TestPrediction::badTargetsAndLengths()
{
    DialogCloser closer;
    const int n = 300;
    const QVector<double> ref = noise(n, 31);
    QVector<double> target = ref;
    for (double& v : target)
        v = 3.0 * v + 1.0;
    show({target, ref, ref}, 0);

    QMap<int, QVector<double> > map;
    map.insert(0, target);
    map.insert(1, ref);
    map.insert(2, ref);
    std::vector<double> simulation(size_t(n), kUnset);

    // A target outside the displayed windows, and one past the end.
    mw->dwnn(map, simulation.data(), 3, 100);
    mw->dwnn(map, simulation.data(), -1, 100);
    mw->dwnn(map, simulation.data(), 25, 100);
    mw->dwnn(map, nullptr, 0, 100);
    for (double v : simulation)
        QCOMPARE(v, kUnset);
    QVERIFY(closer.texts.isEmpty());

    // A target shorter than trace 0 is not modelled at all.
    QMap<int, QVector<double> > shortTarget = map;
    shortTarget[1] = ref.mid(0, 150);
    mw->dwnn(shortTarget, simulation.data(), 1, 50);
    for (double v : simulation)
        QCOMPARE(v, kUnset);

    // References of another length take no part.
    QMap<int, QVector<double> > shortRefs = map;
    shortRefs[1] = ref.mid(0, 150);
    shortRefs[2] = ref + QVector<double>(10, 0.0);
    mw->dwnn(shortRefs, simulation.data(), 0, 100);
    QCOMPARE(closer.texts, QStringList({"No available reference found!"}));
    for (double v : simulation)
        QCOMPARE(v, kUnset);

    // As many traces as samples: nothing happens.
    show({{1, 2}, {2, 1}, {1, 1}}, 0);
    std::vector<double> two(2, kUnset);
    mw->prediction(two.data(), 0);
    QCOMPARE(two, std::vector<double>(2, kUnset));

    // The target's current signal beyond the displayed windows.
    show({target, ref}, 0);
    mw->currentSignalIndex = 5;
    mw->plotterList[5]->xLabel = "keep";
    mw->prediction(simulation.data(), 100);
    QCOMPARE(mw->plotterList[5]->xLabel, QString("keep"));

    // A shift beyond the trace leaves it as it is.
    mw->currentSignalIndex = 0;
    mw->leftShift = n + 5;
    simulation.assign(size_t(n), kUnset);
    mw->prediction(simulation.data(), 100);
    mw->leftShift = 0;
    QVERIFY(std::fabs(simulation[size_t(n / 2)] - target[n / 2]) < 1e-6);
}

QTEST_MAIN(TestPrediction)
#include "test_prediction.moc"
