// Layout of the signal plot windows: grid, filler window, multi-curve mode
// and the return to the time-domain view.

#include <QtTest>

#include <memory>

#include "app/mainwindow.h"
#include "app/ui_mainwindow.h"
#include "testutil.h"

class MainWindowTestAccess
{
public:
    static Ui::MainWindow* ui(MainWindow& w) { return w.ui; }
};

namespace {

// Row and column of a window in the grid as (row, column); (-1, -1) when
// the grid does not hold it.
QPair<int, int> cellOf(QGridLayout* grid, QWidget* widget)
{
    const int index = grid->indexOf(widget);
    if (index < 0)
        return {-1, -1};
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
    if (rowSpan != 1 || columnSpan != 1)
        return {-2, -2};
    return {row, column};
}

QPair<int, int> cell(int row, int column) { return {row, column}; }

// A short curve whose values run from `low` to `high`.
QVector<QPointF> ramp(double low, double high, int points = 16)
{
    QVector<QPointF> curve;
    for (int k = 0; k < points; ++k)
        curve << QPointF(k / 360.0, low + (high - low) * k / (points - 1));
    return curve;
}

QVector<QPointF> flat(double value, int points = 16)
{
    return ramp(value, value, points);
}

} // namespace

class TestLayout : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindow> w;
    Ui::MainWindow* ui = nullptr;

    QGridLayout* grid() { return ui->workspaceLayout; }
    Plotter* win(int i) { return w->plotterList[i]; }

    // n short signals with distinct ranges, titled "S<i>".
    void useSignals(int n)
    {
        for (int i = 0; i < 30; ++i)
            w->signal[i] = i < n ? ramp(-i - 1.0, i + 1.0) : QVector<QPointF>();
        for (int i = 0; i < 20; ++i) {
            win(i)->titleRaw = i < n ? QString("S%1").arg(i) : QString();
            win(i)->unitRaw.clear();
            win(i)->xLabelRaw.clear();
            win(i)->yLabelRaw.clear();
        }
        w->plotterCountRaw = n;
    }

    int shownSignalWindows()
    {
        int shown = 0;
        for (int i = 0; i < 20; ++i)
            shown += win(i)->isHidden() ? 0 : 1;
        return shown;
    }

private slots:
    void initTestCase() { Q_INIT_RESOURCE(resources); }

    void init()
    {
        DialogCloser closer;
        w = std::make_unique<MainWindow>();
        ui = MainWindowTestAccess::ui(*w);
    }
    void cleanup() { w.reset(); }

    void gridOfTheEightLoadedSignals()
    {
        QCOMPARE(w->plotterCount, 8);
        QCOMPARE(w->previousPlotterCount, 8);
        const QStringList titles{"ART_mgh038.txt",        "CO2_mgh038.txt",        "CVP_mgh038.txt",
                                 "ECG lead I_mgh038.txt", "ECG lead II_mgh038.txt", "ECG lead V_mgh038.txt",
                                 "PAP_mgh038.txt",        "Resp. Imp._mgh038.txt"};
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(cellOf(grid(), win(i)), cell(i % 4, i / 4));
            QCOMPARE(win(i)->title, titles[i]);
            QVERIFY(!win(i)->isHidden());
            QCOMPARE(win(i)->passitive, false);
            QCOMPARE(win(i)->titleIsShown, true);
            QCOMPARE(win(i)->yLabelIsShown, true);
            QCOMPARE(win(i)->xLabelIsShown, false);
            QCOMPARE(win(i)->unitIsShown, false);
            QCOMPARE(win(i)->curveMap.keys(), QList<int>{0});
            QCOMPARE(win(i)->curveMap.value(0), w->signal[i]);
        }
        QCOMPARE(shownSignalWindows(), 8);
        QCOMPARE(grid()->rowCount(), 4);
        QCOMPARE(grid()->columnCount(), 2);
        QVERIFY(ui->menuTools->isEnabled());
    }

    void threeSignalsUseAFillerWindow()
    {
        useSignals(3);
        w->display_raw_signals(false);
        QCOMPARE(cellOf(grid(), win(0)), cell(0, 0));
        QCOMPARE(cellOf(grid(), win(1)), cell(1, 0));
        QCOMPARE(cellOf(grid(), win(2)), cell(0, 1));
        QCOMPARE(cellOf(grid(), win(3)), cell(1, 1));
        QCOMPARE(w->plotterCount, 4);
        QCOMPARE(w->previousPlotterCount, 4);
        QCOMPARE(shownSignalWindows(), 4);
        Plotter* filler = win(3);
        QCOMPARE(filler->passitive, true);
        QCOMPARE(filler->title, QString("S2"));
        QCOMPARE(filler->titlePrevious, QString("S2"));
        QCOMPARE(filler->titleIsShown, true);
        QCOMPARE(filler->curveMap.keys(), QList<int>{0});
        QCOMPARE(filler->curveMap.value(0), w->signal[2]);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(win(i)->passitive, false);

        // The next layout starts again from the three signals.
        w->display_raw_signals(false);
        QCOMPARE(w->plotterCount, 4);
        QCOMPARE(shownSignalWindows(), 4);

        // With four signals window 3 shows its own signal and stays passive.
        useSignals(4);
        w->display_raw_signals(false);
        QCOMPARE(w->plotterCount, 4);
        QCOMPARE(cellOf(grid(), win(3)), cell(1, 1));
        QCOMPARE(win(3)->title, QString("S3"));
        QCOMPARE(win(3)->curveMap.value(0), w->signal[3]);
        QCOMPARE(win(3)->passitive, true);
    }

    void oneAndTwoSignalsStandInOneColumn()
    {
        useSignals(1);
        w->display_raw_signals(false);
        QCOMPARE(cellOf(grid(), win(0)), cell(0, 0));
        QCOMPARE(w->plotterCount, 1);
        QCOMPARE(w->previousPlotterCount, 1);
        QCOMPARE(shownSignalWindows(), 1);
        QCOMPARE(win(1)->passitive, false); // no filler for a single signal

        useSignals(2);
        w->display_raw_signals(false);
        QCOMPARE(cellOf(grid(), win(0)), cell(0, 0));
        QCOMPARE(cellOf(grid(), win(1)), cell(1, 0));
        QCOMPARE(w->plotterCount, 2);
        QCOMPARE(shownSignalWindows(), 2);
        QCOMPARE(win(1)->title, QString("S1"));
    }

    void fiveSignals()
    {
        useSignals(5);
        w->display_raw_signals(false);
        QCOMPARE(cellOf(grid(), win(0)), cell(0, 0));
        QCOMPARE(cellOf(grid(), win(2)), cell(2, 0));
        QCOMPARE(cellOf(grid(), win(3)), cell(0, 1));
        QCOMPARE(cellOf(grid(), win(4)), cell(1, 1));
        QCOMPARE(cellOf(grid(), win(5)), cell(2, 1));
        QCOMPARE(win(5)->title, QString("S4"));
        QCOMPARE(w->plotterCount, 6);
        QCOMPARE(shownSignalWindows(), 6);
    }

    void noSignalShowsNothing()
    {
        useSignals(0);
        w->display_raw_signals(false);
        QCOMPARE(w->plotterCount, 0);
        QCOMPARE(w->previousPlotterCount, 0);
        QCOMPARE(shownSignalWindows(), 0);
        w->display_raw_signals(true);
        QCOMPARE(shownSignalWindows(), 0);
        QVERIFY(!ui->menuTools->isEnabled());
    }

    void countsBeyondTheWindowTable()
    {
        useSignals(20);
        w->display_raw_signals(false);
        QCOMPARE(w->plotterCount, 20);
        QCOMPARE(cellOf(grid(), win(9)), cell(9, 0));
        QCOMPARE(cellOf(grid(), win(10)), cell(0, 1));
        QCOMPARE(cellOf(grid(), win(19)), cell(9, 1));
        QCOMPARE(shownSignalWindows(), 20);

        useSignals(19);
        w->display_raw_signals(false);
        QCOMPARE(w->plotterCount, 20);
        QCOMPARE(cellOf(grid(), win(19)), cell(9, 1));
        QCOMPARE(win(19)->passitive, true);
        QCOMPARE(win(19)->title, QString("S18"));

        // More loaded signals than windows: only the first twenty are shown.
        useSignals(25);
        w->previousPlotterCount = 35;
        w->previousPlotterCountMatrix = 35;
        w->display_raw_signals(false);
        QCOMPARE(w->plotterCount, 20);
        QCOMPARE(shownSignalWindows(), 20);
        w->display_raw_signals(true);
        QCOMPARE(win(0)->curveMap.size(), 20);
    }

    void multiCurveFitsTheWidestRealSignal()
    {
        w->display_raw_signals(true);
        Plotter* p = win(0);
        QCOMPARE(p->curveMap.keys(), QList<int>({0, 1, 2, 3, 4, 5, 6, 7}));
        for (int i = 0; i < 8; ++i)
            QCOMPARE(p->curveMap.value(i), w->signal[i]);
        // ECG lead II has the widest range of the record.
        int widest = -1;
        float widestRange = 0.0f;
        for (int i = 0; i < 8; ++i) {
            float lo = 1e30f, hi = -1e30f;
            for (const QPointF& pt : w->signal[i]) {
                lo = qMin(lo, float(pt.y()));
                hi = qMax(hi, float(pt.y()));
            }
            if (hi - lo > widestRange) {
                widestRange = hi - lo;
                widest = i;
            }
        }
        QCOMPARE(widest, 4);
        float low = 1e30f, high = -1e30f;
        for (const QPointF& pt : w->signal[4]) {
            low = qMin(low, float(pt.y()));
            high = qMax(high, float(pt.y()));
        }
        QCOMPARE(p->minY, low);
        QCOMPARE(p->maxY, high);
        QCOMPARE(p->currentSettings().minY, double(low));
        QCOMPARE(p->currentSettings().maxY, double(high));
        QCOMPARE(shownSignalWindows(), 1);
        QVERIFY(!p->isHidden());
        QCOMPARE(cellOf(grid(), p), cell(0, 0));
        QVERIFY(!ui->menuTools->isEnabled());
        QCOMPARE(w->plotterCount, 8);
        QCOMPARE(w->previousPlotterCount, 8);

        // Back to one window per signal.
        w->display_raw_signals(false);
        QVERIFY(ui->menuTools->isEnabled());
        QCOMPARE(shownSignalWindows(), 8);
        QCOMPARE(p->curveMap.keys(), QList<int>{0});
        for (int i = 0; i < 8; ++i)
            QCOMPARE(cellOf(grid(), win(i)), cell(i % 4, i / 4));
    }

    void multiCurveWidestRangeRules()
    {
        Plotter* p = win(0);
        // Equal widest ranges: the first of them sets the axes.
        useSignals(4);
        w->signal[0] = ramp(0, 1);
        w->signal[1] = ramp(0, 3);
        w->signal[2] = ramp(10, 13);
        w->signal[3] = ramp(20, 22);
        w->display_raw_signals(true);
        QCOMPARE(p->minY, 0.0f);
        QCOMPARE(p->maxY, 3.0f);
        QCOMPARE(p->currentSettings().minY, 0.0);
        QCOMPARE(p->currentSettings().maxY, 3.0);

        // The widest curve is the last one: its view stands.
        w->signal[3] = ramp(20, 30);
        w->display_raw_signals(true);
        QCOMPARE(p->minY, 20.0f);
        QCOMPARE(p->maxY, 30.0f);

        // Every signal flat: the axes fit curve 0.
        w->signal[0] = flat(5);
        w->signal[1] = flat(7);
        w->signal[2] = flat(9);
        w->signal[3] = flat(11);
        w->display_raw_signals(true);
        QCOMPARE(p->minY, 5.0f);
        QCOMPARE(p->maxY, 5.0f);
        QCOMPARE(p->curveMap.size(), 4);
    }

    void layoutResetsTitlesLabelsAndMarks()
    {
        Plotter* p = win(1);
        p->title = "CO2 Spectrum";
        p->xLabel = "Hz";
        p->yLabel = "dB";
        p->unit = "u";
        p->xLabelIsShown = true;
        p->titleIsShown = false;
        p->yLabelIsShown = false;
        p->unitIsShown = true;
        p->isSecondCurve = true;
        p->scoreList << QPointF(3, 0.9);
        p->curveMap[1] = ramp(0, 1);
        win(0)->isMarkCurve = true;
        w->display_raw_signals(false);
        QCOMPARE(p->title, QString("CO2_mgh038.txt"));
        QCOMPARE(p->titlePrevious, QString("CO2_mgh038.txt"));
        QVERIFY(p->xLabel.isEmpty() && p->yLabel.isEmpty() && p->unit.isEmpty());
        QCOMPARE(p->xLabelIsShown, false);
        QCOMPARE(p->titleIsShown, true);
        QCOMPARE(p->yLabelIsShown, true);
        QCOMPARE(p->unitIsShown, false);
        QCOMPARE(p->isSecondCurve, false);
        QVERIFY(p->scoreList.isEmpty());
        QCOMPARE(p->curveMap.keys(), QList<int>{0});
        QCOMPARE(win(0)->isMarkCurve, false);
    }

    void decomposeKeepsBaseTitlesOnce()
    {
        win(2)->titlePrevious = "CVP decomposed";
        w->isDecompose = true;
        w->display_raw_signals(false);
        QCOMPARE(win(2)->titlePrevious, QString("CVP decomposed"));
        QCOMPARE(win(2)->title, QString("CVP_mgh038.txt"));
        QCOMPARE(w->isDecompose, false);
        w->display_raw_signals(false);
        QCOMPARE(win(2)->titlePrevious, QString("CVP_mgh038.txt"));
    }

    void previousTimeFrequencyWindowsAreHidden()
    {
        for (int i = 0; i < 4; ++i) {
            Plotter* m = w->plotterListMatrix[i];
            m->curveMap[0] = ramp(0, 1);
            ui->workspaceLayout->addWidget(m, i, 0);
            m->show();
        }
        w->previousPlotterCountMatrix = 4;
        w->display_raw_signals(false);
        for (int i = 0; i < 4; ++i) {
            QVERIFY(w->plotterListMatrix[i]->isHidden());
            QVERIFY(w->plotterListMatrix[i]->curveMap.isEmpty());
        }
        QCOMPARE(w->previousPlotterCountMatrix, 4);
        QCOMPARE(shownSignalWindows(), 8);
        for (int i = 0; i < 8; ++i)
            QCOMPARE(cellOf(grid(), win(i)), cell(i % 4, i / 4));
    }

    // Each view shows only its own windows, whatever the views before it
    // left standing.
    void viewsShowOnlyTheirOwnWindows_data()
    {
        QTest::addColumn<int>("steps");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("STFT, PSD") << 1 << QStringList{"s0"};
        QTest::newRow("FFT of 2, frame switch twice") << 2 << QStringList{"s2"};
        QTest::newRow("frame switch, PSD, STFT of 1") << 3 << QStringList{"m0", "m1", "m2", "m3"};
        QTest::newRow("STFT, PSD of 4, bonded de-noise") << 4 << QStringList{"s4"};
    }

    void viewsShowOnlyTheirOwnWindows()
    {
        QFETCH(int, steps);
        QFETCH(QStringList, expected);
        DialogCloser closer;
        ui->action_Bond_Signals->setChecked(false);
        w->isBondSignals = false;
        switch (steps) {
        case 1:
            w->on_action_STFT_Analysis_triggered();
            w->currentSignalIndex = 0;
            w->on_action_Power_Spectral_Density_triggered();
            break;
        case 2:
            w->currentSignalIndex = 2; // as a right press on window 2 sets it
            win(2)->action_Spectrum->trigger();
            win(2)->action_SwitchSingleMultiFrame->trigger();
            win(2)->action_SwitchSingleMultiFrame->trigger();
            break;
        case 3:
            w->currentSignalIndex = 1;
            win(1)->action_SwitchSingleMultiFrame->trigger();
            win(1)->action_PowerSpectralDensity->trigger();
            win(1)->action_STFT->trigger();
            break;
        case 4:
            w->currentSignalIndex = 4;
            w->on_action_STFT_Analysis_triggered();
            w->on_action_Power_Spectral_Density_triggered();
            win(4)->action_Denoise->trigger();
            ui->action_Bond_Signals->trigger();
            QVERIFY(w->isBondSignals);
            win(4)->horizontalSlider->setValue(50);
            break;
        }
        QStringList shown;
        for (int i = 0; i < 40; ++i) {
            const Plotter* p = i < 20 ? win(i) : w->plotterListMatrix[i - 20];
            if (!p->isHidden())
                shown << QString(i < 20 ? "s%1" : "m%1").arg(i % 20);
        }
        QCOMPARE(shown, expected);
        QVERIFY(closer.texts.isEmpty());
    }

    void timeDomAnalysisRestoresTheView()
    {
        w->analysisType = 3;
        ui->action_Bond_Signals->setEnabled(false);
        ui->menu_Frequency_Dom_Analysis->setEnabled(false);
        ui->menu_Time_Freq_Dom_Analysis->setEnabled(false);
        win(0)->title = "ART Spectrum ";
        w->on_action_Time_Dom_Analysis_triggered();
        QCOMPARE(w->analysisType, 0);
        QVERIFY(ui->action_Bond_Signals->isEnabled());
        QVERIFY(ui->menu_Frequency_Dom_Analysis->isEnabled());
        QVERIFY(ui->menu_Time_Freq_Dom_Analysis->isEnabled());
        QCOMPARE(win(0)->title, QString("ART_mgh038.txt"));
        QCOMPARE(shownSignalWindows(), 8);

        // In multi-curve mode it returns to the curves of window 0.
        w->isMultiCurve = true;
        ui->menu_Frequency_Dom_Analysis->setEnabled(false);
        w->on_action_Time_Dom_Analysis_triggered();
        QCOMPARE(shownSignalWindows(), 1);
        QCOMPARE(win(0)->curveMap.size(), 8);
        QVERIFY(!ui->menuTools->isEnabled());
        QVERIFY(ui->menu_Frequency_Dom_Analysis->isEnabled());
    }
};

QTEST_MAIN(TestLayout)
#include "test_layout.moc"
