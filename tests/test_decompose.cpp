// Decomposition of the displayed signals at one wavelet scale: the level
// dialog, the transform of every window with its title suffix, and undo.

#include <QtTest>

#include <QInputDialog>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "app/mainwindow.h"
#include "app/ui_mainwindow.h"
#include "dsp/wavelet.h"
#include "testutil.h"

namespace {

// Samples kept of every loaded signal, so that the larger scales stay quick.
const int kSamples = 1500;

// Centre frequency of the first mother wavelet ("Complex Molet ").
const double kMorletCentre = 0.0966875;

// What the integer dialog showed when it was answered.
struct DialogSeen {
    bool seen = false;
    QString title;
    QString label;
    int value = 0;
    int minimum = 0;
    int maximum = 0;
};

// Answers the next integer dialog with `answer` (accepting it) and records
// what it offered.
void answerNextIntDialog(DialogSeen& seen, int answer)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, &seen, answer] {
        const auto widgets = QApplication::topLevelWidgets();
        for (QWidget* w : widgets) {
            auto* dialog = qobject_cast<QInputDialog*>(w);
            if (dialog == nullptr || !dialog->isVisible())
                continue;
            seen.seen = true;
            seen.title = dialog->windowTitle();
            seen.label = dialog->labelText();
            seen.value = dialog->intValue();
            seen.minimum = dialog->intMinimum();
            seen.maximum = dialog->intMaximum();
            dialog->setIntValue(answer);
            dialog->accept();
            timer->stop();
            timer->deleteLater();
            return;
        }
    });
    timer->start();
}

// Modulus of the Morlet transform at one scale, as the decomposition should
// give it for these samples.
QVector<double> morletAt(const QVector<QPointF>& curve, float scale)
{
    const int n = int(curve.size());
    std::vector<float> in(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k)
        in[size_t(k)] = float(curve[k].y());
    std::vector<float> out(size_t(n), 0.0f);
    wavelet transform;
    transform.cwt(out.data(), in.data(), n, 0, 1, &scale, 0);
    QVector<double> y(n);
    for (int k = 0; k < n; ++k)
        y[k] = double(out[size_t(k)]);
    return y;
}

QVector<double> ys(const QVector<QPointF>& curve)
{
    QVector<double> y;
    for (const QPointF& p : curve)
        y << p.y();
    return y;
}

QVector<double> xs(const QVector<QPointF>& curve)
{
    QVector<double> x;
    for (const QPointF& p : curve)
        x << p.x();
    return x;
}

float scaleOfLevel(int level)
{
    return float((2 * kMorletCentre * 100.0) / (101 - level));
}

} // namespace

class TestDecompose : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void levelDialogOffersTheCurrentLevel();
    void cancelledDialogKeepsTheLevel();
    void decomposeAtTheDefaultLevel();
    void decomposeTwiceCompounds();
    void undoBringsBackTheLoadedSignals();
    void levelsOneAndHundred();
    void levelsOutsideTheRangeAreBounded();
    void windowsWithShorterOrNoCurve();
    void nothingToDecompose();
    void multiCurveDisplayDecomposesWindowZeroOnly();

private:
    Plotter* window(int i) { return mw->plotterList[i]; }

    std::unique_ptr<MainWindow> mw;
    QVector<QPointF> loaded[8];
    QStringList titles;
};

void TestDecompose::initTestCase()
{
    Q_INIT_RESOURCE(resources);
    DialogCloser closer;
    mw = std::make_unique<MainWindow>();
    QCOMPARE(mw->plotterCountRaw, 8);
    QCOMPARE(mw->decomposeLevel, 80);
    for (int i = 0; i < 8; ++i) {
        mw->signal[i] = mw->signal[i].mid(0, kSamples);
        loaded[i] = mw->signal[i];
        titles << window(i)->titleRaw;
    }
    QCOMPARE(titles.first(), QString("ART_mgh038.txt"));
}

void TestDecompose::init()
{
    for (int i = 0; i < 8; ++i)
        mw->signal[i] = loaded[i];
    mw->plotterCountRaw = 8;
    mw->isMultiCurve = false;
    mw->decomposeLevel = 80;
    mw->display_raw_signals(false);
    QCOMPARE(mw->plotterCount, 8);
}

void TestDecompose::cleanupTestCase()
{
    mw.reset();
}

void TestDecompose::levelDialogOffersTheCurrentLevel()
{
    DialogSeen seen;
    answerNextIntDialog(seen, 57);
    mw->form()->action_Set_Decompose_Level->trigger();
    QVERIFY(seen.seen);
    QCOMPARE(seen.title, QString("Decompose Level Setup"));
    QCOMPARE(seen.label, QString("Input decompose level (1-100):"));
    QCOMPARE(seen.value, 80);
    QCOMPARE(seen.minimum, 1);
    QCOMPARE(seen.maximum, 100);
    QCOMPARE(mw->decomposeLevel, 57);

    // The next dialog starts from the level just set; values beyond the
    // range are not accepted.
    answerNextIntDialog(seen, 250);
    mw->on_action_Set_Decompose_Level_triggered();
    QCOMPARE(seen.value, 57);
    QCOMPARE(mw->decomposeLevel, 100);
}

void TestDecompose::cancelledDialogKeepsTheLevel()
{
    DialogCloser closer; // rejects the dialog
    mw->decomposeLevel = 33;
    mw->on_action_Set_Decompose_Level_triggered();
    QCOMPARE(mw->decomposeLevel, 33);
}

void TestDecompose::decomposeAtTheDefaultLevel()
{
    // Level 80 is the scale 0.9208333 (as a float, 0.92083335).
    QVERIFY(std::fabs(scaleOfLevel(80) - 0.9208333) < 1e-7);
    mw->form()->action_Decompose->trigger();
    for (int i = 0; i < 8; ++i) {
        const QVector<QPointF> curve = window(i)->curveMap.value(0);
        QCOMPARE(curve.size(), kSamples);
        QCOMPARE(xs(curve), xs(loaded[i]));
        QCOMPARE(ys(curve), morletAt(loaded[i], scaleOfLevel(80)));
        for (const QPointF& p : curve)
            QVERIFY(p.y() >= 0.0); // the modulus of a complex transform
        QCOMPARE(window(i)->title, titles[i] + "_Decomposed_Level_80");
        QCOMPARE(window(i)->titlePrevious, window(i)->title);
    }
    QCOMPARE(window(4)->title, QString("ECG lead II_mgh038.txt_Decomposed_Level_80"));
}

void TestDecompose::decomposeTwiceCompounds()
{
    mw->on_action_Decompose_triggered();
    mw->on_action_Decompose_triggered();
    QCOMPARE(window(0)->title, QString("ART_mgh038.txt_Decomposed_Level_80_Decomposed_Level_80"));
    QCOMPARE(window(0)->titlePrevious, window(0)->title);

    QVector<QPointF> once = loaded[3];
    const QVector<double> first = morletAt(loaded[3], scaleOfLevel(80));
    for (int k = 0; k < once.size(); ++k)
        once[k].setY(first[k]);
    QCOMPARE(ys(window(3)->curveMap.value(0)), morletAt(once, scaleOfLevel(80)));
}

void TestDecompose::undoBringsBackTheLoadedSignals()
{
    mw->on_action_Decompose_triggered();
    mw->decomposeLevel = 20;
    mw->on_action_Decompose_triggered();
    QCOMPARE(window(7)->title, titles[7] + "_Decomposed_Level_80_Decomposed_Level_20");

    mw->form()->action_Undo_decompose->trigger();
    QCOMPARE(mw->plotterCount, 8);
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(window(i)->curveMap.value(0), loaded[i]);
        QCOMPARE(window(i)->title, titles[i]);
        QCOMPARE(window(i)->titlePrevious, titles[i]);
    }
    // The level is not part of what undo restores.
    QCOMPARE(mw->decomposeLevel, 20);
}

void TestDecompose::levelsOneAndHundred()
{
    mw->plotterCountRaw = 2;
    mw->display_raw_signals(false);

    mw->decomposeLevel = 1;
    mw->on_action_Decompose_triggered();
    QCOMPARE(ys(window(1)->curveMap.value(0)), morletAt(loaded[1], 0.193375f));
    QCOMPARE(window(1)->title, titles[1] + "_Decomposed_Level_1");

    mw->display_raw_signals(false);
    mw->decomposeLevel = 100;
    mw->on_action_Decompose_triggered();
    QCOMPARE(ys(window(0)->curveMap.value(0)), morletAt(loaded[0], 19.3375f));
    QCOMPARE(window(0)->title, titles[0] + "_Decomposed_Level_100");
}

void TestDecompose::levelsOutsideTheRangeAreBounded()
{
    mw->plotterCountRaw = 2;
    mw->display_raw_signals(false);

    // A level from a 128-row image would make the divisor 0 or negative.
    for (int level : {101, 127}) {
        mw->display_raw_signals(false);
        mw->decomposeLevel = level;
        mw->on_action_Decompose_triggered();
        QCOMPARE(mw->decomposeLevel, 100);
        QCOMPARE(window(0)->title, titles[0] + "_Decomposed_Level_100");
        QCOMPARE(ys(window(0)->curveMap.value(0)), morletAt(loaded[0], scaleOfLevel(100)));
        for (const QPointF& p : window(0)->curveMap.value(0))
            QVERIFY(std::isfinite(p.y()));
    }

    mw->display_raw_signals(false);
    mw->decomposeLevel = 0;
    mw->on_action_Decompose_triggered();
    QCOMPARE(mw->decomposeLevel, 1);
    QCOMPARE(window(1)->title, titles[1] + "_Decomposed_Level_1");
}

void TestDecompose::windowsWithShorterOrNoCurve()
{
    QVector<QPointF> shorter = loaded[2].mid(0, 300);
    window(2)->setCurveData(0, shorter);
    window(3)->curveMap.clear();
    const QString titleOf3 = window(3)->title;

    mw->on_action_Decompose_triggered();
    QCOMPARE(window(2)->curveMap.value(0).size(), 300);
    QCOMPARE(ys(window(2)->curveMap.value(0)), morletAt(shorter, scaleOfLevel(80)));
    QVERIFY(!window(3)->curveMap.contains(0));
    QCOMPARE(window(3)->title, titleOf3);

    // A window longer than window 0 is transformed over window 0's length.
    mw->display_raw_signals(false);
    window(0)->setCurveData(0, loaded[0].mid(0, 200));
    mw->on_action_Decompose_triggered();
    QCOMPARE(window(5)->curveMap.value(0).size(), 200);
    QCOMPARE(ys(window(5)->curveMap.value(0)), morletAt(loaded[5].mid(0, 200), scaleOfLevel(80)));
}

void TestDecompose::nothingToDecompose()
{
    window(0)->curveMap.clear();
    mw->on_action_Decompose_triggered();
    QCOMPARE(window(1)->curveMap.value(0), loaded[1]);
    QCOMPARE(window(1)->title, titles[1]);

    mw->display_raw_signals(false);
    mw->plotterCount = 0;
    mw->on_action_Decompose_triggered();
    QCOMPARE(window(0)->curveMap.value(0), loaded[0]);
    QCOMPARE(window(0)->title, titles[0]);
}

void TestDecompose::multiCurveDisplayDecomposesWindowZeroOnly()
{
    mw->isMultiCurve = true;
    mw->display_raw_signals(true);
    mw->on_action_Decompose_triggered();
    QCOMPARE(ys(window(0)->curveMap.value(0)), morletAt(loaded[0], scaleOfLevel(80)));
    for (int i = 1; i < 8; ++i) {
        QCOMPARE(window(0)->curveMap.value(i), loaded[i]);
        QVERIFY(window(i)->curveMap.isEmpty());
    }

    // Undo keeps the display mode.
    mw->on_action_Undo_decompose_triggered();
    QCOMPARE(window(0)->curveMap.value(0), loaded[0]);
    QVERIFY(!mw->form()->menuTools->isEnabled());
    mw->isMultiCurve = false;
}

QTEST_MAIN(TestDecompose)
#include "test_decompose.moc"
