// Context menus of the plot windows (entries, order and enabled states for
// every view) and the dispatch of their entries: frame and curve switches,
// wavelet length check, decomposition level pick.

#include <QtTest>

#include <QAction>
#include <QMenu>

#include "app/mainwindow.h"
#include "plot/plotter.h"
#include "testutil.h"

class PlotterTestAccess
{
public:
    static void setExtractedRow(Plotter& p, int row) { p.previousId = row; }
};

namespace {

// One line per entry: "-" for a separator, "[title]" for a submenu (with
// "off" when disabled), else the action's text (with "off" when disabled).
QStringList describe(const QMenu* menu)
{
    QStringList out;
    const auto actions = menu->actions();
    for (QAction* a : actions) {
        if (a->isSeparator()) {
            out << QStringLiteral("-");
            continue;
        }
        QString text = a->menu() ? QStringLiteral("[%1]").arg(a->text()) : a->text();
        if (!a->isEnabled())
            text += QStringLiteral(" off");
        out << text;
    }
    return out;
}

QMenu* submenu(const QMenu* menu, const QString& title)
{
    const auto actions = menu->actions();
    for (QAction* a : actions) {
        if (a->menu() && a->text() == title)
            return a->menu();
    }
    return nullptr;
}

void rightPress(QWidget* w, const QPoint& pos = QPoint(200, 100))
{
    QMouseEvent e(QEvent::MouseButtonPress, QPointF(pos), QPointF(w->mapToGlobal(pos)),
                  Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void setImage(Plotter& p, int cols, int rows, const std::function<float(int, int)>& cell)
{
    QVector<float> block(cols * rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            block[r * cols + c] = cell(r, c);
    p.currentMatrixMapIndex = 0;
    p.minX = 0.0f;
    p.maxX = 1.0f;
    p.minY = 1.0f;
    p.maxY = 100.0f;
    p.setMatrixData(QPoint(cols, rows), block.data());
}

const QStringList kCommonDefault = {
    "Switch single-multi frame",
    "Switch single-multi curve",
    "-",
    "[Trace pattern] off",
    "Undo pattern off",
    "-",
    "Auto-correlation",
    "Cross-correlation",
    "Undo correlation off",
    "-",
    "De-noise",
    "Auto-De-noise",
    "Save denoised-data off",
    "Undo De-noise off",
    "-",
};

} // namespace

class TestContextMenu : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The record's files are resources of the static library.
        Q_INIT_RESOURCE(resources);
    }
    void init()
    {
        w = new MainWindow;
        w->show();
    }
    void cleanup()
    {
        delete w;
        w = nullptr;
    }

    void analysisMenuInTimeDomain();
    void frequencyDomainDisablesFrequencySubmenu();
    void switchEntriesFollowWindowCounts();
    void frameSwitchKeepsBondState();
    void curveSwitchTogglesMultiCurve();
    void markedCurveOffersUndoPatternOnly();
    void correlationAndDenoiseEntries();
    void patternEnablesTraceSubmenu();
    void decompositionMenus();
    void zoomedWindowsMenus();
    void rightPressSetsCurrentSignal();
    void passiveWindowIgnoresPresses();
    void chosenEntryRunsInsidePress();
    void waveletLengthCheck();
    void spectrumAndStftSetAnalysisType();
    void refusedAnalysesKeepTheMenuState();
    void searchDecomposeLevelPicksFirstLargest();
    void getDecomposeLevelTakesExtractedRow();
    void actionsTextsAndUnusedEntries();

private:
    MainWindow* w = nullptr;
};

void TestContextMenu::analysisMenuInTimeDomain()
{
    Plotter* p = w->plotterList[0];
    QCOMPARE(w->analysisType, 0);
    QScopedPointer<QMenu> menu(p->buildContextMenu());
    QVERIFY(menu);
    QVERIFY(!menu->parent());
    QCOMPARE(describe(menu.data()),
             QStringList({"Time domain analysis", "[Frequency domain analysis]",
                          "[Time frequency domain analysis]", "-", "[Common operation]"}));
    QCOMPARE(describe(submenu(menu.data(), "Frequency domain analysis")),
             QStringList({"Fast Fourier Transform", "Power spectral density"}));
    QCOMPARE(describe(submenu(menu.data(), "Time frequency domain analysis")),
             QStringList({"Wavelet analysis", "STFT analysis"}));
    QMenu* common = submenu(menu.data(), "Common operation");
    QCOMPARE(describe(common), kCommonDefault);
    QCOMPARE(describe(submenu(common, "Trace pattern")),
             QStringList({"Trace pattern by time", "Trace pattern by amp", "Trace pattern by time and amp"}));
    // The submenus belong to the top menu and go with it.
    QCOMPARE(submenu(common, "Trace pattern")->parent(), static_cast<QObject*>(menu.data()));
    QCOMPARE(p->menu_Common_Operation, common);

    // Without any window in use the analyses are out of reach.
    w->plotterCount = 0;
    menu.reset(p->buildContextMenu());
    QCOMPARE(describe(menu.data()),
             QStringList({"Time domain analysis", "[Frequency domain analysis] off",
                          "[Time frequency domain analysis] off", "-", "[Common operation] off"}));
}

void TestContextMenu::frequencyDomainDisablesFrequencySubmenu()
{
    w->analysisType = 1;
    QScopedPointer<QMenu> menu(w->plotterList[3]->buildContextMenu());
    QCOMPARE(describe(menu.data()),
             QStringList({"Time domain analysis", "[Frequency domain analysis] off",
                          "[Time frequency domain analysis]", "-", "[Common operation]"}));
}

void TestContextMenu::switchEntriesFollowWindowCounts()
{
    Plotter* p = w->plotterList[0];
    w->previousPlotterCount = 1;
    QScopedPointer<QMenu> menu(p->buildContextMenu());
    QMenu* common = submenu(menu.data(), "Common operation");
    QCOMPARE(describe(common).mid(0, 2),
             QStringList({"Switch single-multi frame off", "Switch single-multi curve off"}));

    // One window shown alone after a frame switch.
    w->previousPlotterCount = 8;
    w->plotterCount = 1;
    menu.reset(p->buildContextMenu());
    common = submenu(menu.data(), "Common operation");
    QCOMPARE(describe(common).mid(0, 2),
             QStringList({"Switch single-multi frame", "Switch single-multi curve off"}));
    // Cross-correlation needs more than one window.
    QVERIFY(describe(common).contains("Cross-correlation off"));

    // All signals as curves of one window.
    w->isMultiCurve = true;
    menu.reset(p->buildContextMenu());
    QCOMPARE(describe(menu.data()),
             QStringList({"Time domain analysis", "[Frequency domain analysis] off",
                          "[Time frequency domain analysis] off", "-", "[Common operation]"}));
    common = submenu(menu.data(), "Common operation");
    QCOMPARE(describe(common),
             QStringList({"Switch single-multi frame off", "Switch single-multi curve", "-",
                          "[Trace pattern] off", "Undo pattern off", "-", "Auto-correlation off",
                          "Cross-correlation off", "Undo correlation off", "-", "De-noise off",
                          "Auto-De-noise off", "Save denoised-data off", "Undo De-noise off", "-"}));
    p->isMarkCurve = true;
    menu.reset(p->buildContextMenu());
    QCOMPARE(describe(submenu(menu.data(), "Common operation")).mid(0, 2),
             QStringList({"Switch single-multi frame off", "Switch single-multi curve off"}));
}

void TestContextMenu::frameSwitchKeepsBondState()
{
    Plotter* p = w->plotterList[2];
    QVERIFY(w->isBondSignals);
    QVERIFY(!w->previousBondSignals);
    p->action_SwitchSingleMultiFrame->trigger();
    QCOMPARE(w->plotterCount, 1);
    QCOMPARE(w->previousPlotterCount, 8);
    QVERIFY(!w->isBondSignals);
    QVERIFY(w->previousBondSignals);
    QVERIFY(p->isVisible());
    for (int i = 0; i < 8; ++i) {
        if (i != 2)
            QVERIFY(!w->plotterList[i]->isVisible());
    }

    p->action_SwitchSingleMultiFrame->trigger();
    QCOMPARE(w->plotterCount, 8);
    QVERIFY(w->isBondSignals);
    QVERIFY(w->previousBondSignals); // cleared by the time-domain entry only
    for (int i = 0; i < 8; ++i)
        QVERIFY(w->plotterList[i]->isVisible());

    p->action_Time->trigger();
    QVERIFY(w->isBondSignals);
    QVERIFY(!w->previousBondSignals);
    QCOMPARE(w->analysisType, 0);

    // Unbonded: the single frame records that nothing is to be restored.
    w->isBondSignals = false;
    p->action_SwitchSingleMultiFrame->trigger();
    QVERIFY(!w->previousBondSignals);
    p->action_SwitchSingleMultiFrame->trigger();
    QVERIFY(!w->isBondSignals);
    QCOMPARE(w->plotterCount, 8);
}

void TestContextMenu::curveSwitchTogglesMultiCurve()
{
    Plotter* first = w->plotterList[0];
    w->plotterList[4]->action_SwitchSingleMultiCurve->trigger();
    QVERIFY(w->isMultiCurve);
    QCOMPARE(first->curveMap.size(), 8);
    QVERIFY(first->isVisible());
    for (int i = 1; i < 8; ++i)
        QVERIFY(!w->plotterList[i]->isVisible());

    first->action_SwitchSingleMultiCurve->trigger();
    QVERIFY(!w->isMultiCurve);
    QCOMPARE(first->curveMap.keys(), QList<int>({0}));
    QCOMPARE(w->plotterCount, 8);
    for (int i = 0; i < 8; ++i)
        QVERIFY(w->plotterList[i]->isVisible());
}

void TestContextMenu::markedCurveOffersUndoPatternOnly()
{
    Plotter* p = w->plotterList[1];
    p->isMarkCurve = true;
    QScopedPointer<QMenu> menu(p->buildContextMenu());
    QCOMPARE(describe(submenu(menu.data(), "Common operation")),
             QStringList({"Switch single-multi frame", "Switch single-multi curve off", "-",
                          "[Trace pattern] off", "Undo pattern", "-", "Auto-correlation off",
                          "Cross-correlation off", "Undo correlation off", "-", "De-noise off",
                          "Auto-De-noise off", "Save denoised-data off", "Undo De-noise off", "-"}));
    // The state stays on the actions after the menu is gone; the next build
    // sets it again.
    menu.reset();
    QVERIFY(!p->action_AutoCorrelation->isEnabled());
    p->isMarkCurve = false;
    menu.reset(p->buildContextMenu());
    QCOMPARE(describe(submenu(menu.data(), "Common operation")), kCommonDefault);
}

void TestContextMenu::correlationAndDenoiseEntries()
{
    Plotter* p = w->plotterList[0];
    p->title = "ART_mgh038.txt Auto-correlation";
    QScopedPointer<QMenu> menu(p->buildContextMenu());
    QVERIFY(describe(submenu(menu.data(), "Common operation")).contains("Undo correlation"));
    p->title = "ART_mgh038.txt Cross-correlation with CO2_mgh038.txt";
    menu.reset(p->buildContextMenu());
    QVERIFY(describe(submenu(menu.data(), "Common operation")).contains("Undo correlation"));
    p->title = "Correlation";
    menu.reset(p->buildContextMenu());
    QVERIFY(describe(submenu(menu.data(), "Common operation")).contains("Undo correlation off"));

    p->signalRaw = {1.0, 2.0};
    menu.reset(p->buildContextMenu());
    QStringList common = describe(submenu(menu.data(), "Common operation"));
    QVERIFY(common.contains("Save denoised-data"));
    QVERIFY(common.contains("Undo De-noise"));
    w->isMultiCurve = true;
    menu.reset(p->buildContextMenu());
    common = describe(submenu(menu.data(), "Common operation"));
    QVERIFY(common.contains("Save denoised-data off"));
    QVERIFY(common.contains("Undo De-noise"));
}

void TestContextMenu::patternEnablesTraceSubmenu()
{
    w->pattern = {1.0f, 2.0f, 3.0f};
    QScopedPointer<QMenu> menu(w->plotterList[6]->buildContextMenu());
    QVERIFY(describe(submenu(menu.data(), "Common operation")).contains("[Trace pattern]"));
}

void TestContextMenu::decompositionMenus()
{
    Plotter* p = w->plotterList[0];
    w->analysisType = 2;
    QScopedPointer<QMenu> menu(p->buildContextMenu());
    QCOMPARE(describe(menu.data()),
             QStringList({"-", "Time domain analysis", "-", "Get decompose level off", "-",
                          "Search decompose level off", "-"}));
    w->isBondSignals = false;
    menu.reset(p->buildContextMenu());
    QCOMPARE(describe(menu.data()),
             QStringList({"-", "Time domain analysis", "-", "Get decompose level", "-",
                          "Search decompose level", "-"}));

    w->analysisType = 3;
    menu.reset(p->buildContextMenu());
    QCOMPARE(describe(menu.data()), QStringList({"-", "Time domain analysis", "-"}));

    // An unzoomed image window gets the same menu.
    Plotter* img = w->plotterListMatrix[1];
    img->resize(600, 400);
    setImage(*img, 10, 4, [](int, int) { return 1.0f; });
    w->analysisType = 2;
    menu.reset(img->buildContextMenu());
    QCOMPARE(describe(menu.data()).size(), 7);
}

void TestContextMenu::zoomedWindowsMenus()
{
    Plotter* p = w->plotterList[0];
    PlotSettings view = p->zoomStack[0];
    p->zoomStack.append(view);
    p->curZoom = 1;
    QScopedPointer<QMenu> menu(p->buildContextMenu());
    QCOMPARE(describe(menu.data()), QStringList({"-", "Build pattern", "-"}));
    w->analysisType = 2;
    menu.reset(p->buildContextMenu());
    QCOMPARE(describe(menu.data()), QStringList({"-", "Build pattern", "-"}));

    Plotter img;
    img.mainw = w;
    img.resize(600, 400);
    setImage(img, 10, 4, [](int, int) { return 1.0f; });
    img.zoomStack.append(img.zoomStack[0]);
    img.curZoom = 1;
    QVERIFY(!img.buildContextMenu());

    // No main window: no menu.
    Plotter lone;
    QVERIFY(!lone.buildContextMenu());
}

void TestContextMenu::rightPressSetsCurrentSignal()
{
    DialogCloser closer;
    QCOMPARE(w->currentSignalIndex, 0);
    rightPress(w->plotterList[5]);
    QCOMPARE(w->currentSignalIndex, 5);
    rightPress(w->plotterList[3], QPoint(5, 5)); // anywhere in the window
    QCOMPARE(w->currentSignalIndex, 3);

    // A window outside the list in use resets it to 0.
    Plotter other;
    other.mainw = w;
    other.resize(600, 400);
    other.setCurveData(0, {QPointF(0, 0), QPointF(1, 1)});
    rightPress(&other);
    QCOMPARE(w->currentSignalIndex, 0);

    // An image window leaves it alone.
    w->currentSignalIndex = 4;
    Plotter* img = w->plotterListMatrix[1];
    img->passitive = false;
    img->resize(600, 400);
    setImage(*img, 10, 4, [](int, int) { return 1.0f; });
    w->analysisType = 2;
    rightPress(img);
    QCOMPARE(w->currentSignalIndex, 4);
    QVERIFY(closer.texts.isEmpty());
}

void TestContextMenu::passiveWindowIgnoresPresses()
{
    DialogCloser closer;
    w->currentSignalIndex = 2;
    Plotter* p = w->plotterList[5];
    p->passitive = true;
    rightPress(p);
    QCOMPARE(w->currentSignalIndex, 2);
    p->passitive = false;
}

void TestContextMenu::chosenEntryRunsInsidePress()
{
    DialogCloser closer(2000); // only a fallback: the menu is answered below
    w->analysisType = 1;
    QStringList seen;
    QTimer::singleShot(50, w, [&seen] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        seen = describe(menu);
        const auto actions = menu->actions();
        for (QAction* a : actions) {
            if (a->text() == "Time domain analysis")
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
        }
    });
    rightPress(w->plotterList[2]);
    QCOMPARE(seen.value(0), QString("Time domain analysis"));
    QCOMPARE(seen.value(1), QString("[Frequency domain analysis] off"));
    QCOMPARE(w->analysisType, 0);
    QCOMPARE(w->currentSignalIndex, 2);
    // The menu is gone once the press is handled.
    QTest::qWait(10);
    for (QWidget* top : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<QMenu*>(top) || top->parent());
}

void TestContextMenu::waveletLengthCheck()
{
    DialogCloser closer;
    Plotter p;
    p.mainw = w;
    QVector<QPointF> c;
    for (int i = 0; i < 1023; ++i)
        c.append(QPointF(i / 360.0, i % 7));
    p.setCurveData(0, c);
    w->isBondSignals = false;
    p.action_Wavelet->trigger();
    QCOMPARE(closer.texts, QStringList({"Data length should >= 1024!"}));
    QCOMPARE(closer.titles, QStringList({QString()}));
    QCOMPARE(w->analysisType, 0);
    QCOMPARE(w->transformType, 1);

    // 1024 points pass the check and run the analysis (one wavelet only).
    c.append(QPointF(1023 / 360.0, 0));
    p.setCurveData(0, c);
    w->isSingleWindow = true;
    p.action_Wavelet->trigger();
    QCOMPARE(closer.texts.size(), 1);
    QCOMPARE(w->analysisType, 2);
    QCOMPARE(w->transformType, 1);
}

void TestContextMenu::spectrumAndStftSetAnalysisType()
{
    DialogCloser closer;
    Plotter* p = w->plotterList[0];
    w->isBondSignals = false;
    w->isSingleWindow = true;
    p->action_Spectrum->trigger();
    QCOMPARE(w->analysisType, 1);
    p->action_Time->trigger();
    QCOMPARE(w->analysisType, 0);
    p->action_STFT->trigger();
    QCOMPARE(w->analysisType, 3);
    QCOMPARE(w->transformType, 2);
    QVERIFY(closer.texts.isEmpty());
}

// An analysis that refuses its data (with a message) leaves the view as it
// was, so the context menu must stay that of the view.
void TestContextMenu::refusedAnalysesKeepTheMenuState()
{
    DialogCloser closer;
    Plotter p;
    p.mainw = w;
    w->isBondSignals = false;
    p.setCurveData(0, {{0, 1}});
    p.action_Spectrum->trigger();
    QCOMPARE(closer.texts.size(), 1);
    QCOMPARE(w->analysisType, 0);

    // No sampling rate: the first two samples share their time.
    QVector<QPointF> noRate;
    for (int i = 0; i < 63; ++i)
        noRate.append(QPointF(i < 2 ? 0.0 : i / 360.0, i % 5));
    p.setCurveData(0, noRate);
    p.action_STFT->trigger();
    QCOMPARE(closer.texts.size(), 2);
    QCOMPARE(w->analysisType, 0);
    QCOMPARE(w->transformType, 1);
}

void TestContextMenu::searchDecomposeLevelPicksFirstLargest()
{
    Plotter* img = w->plotterListMatrix[1];
    img->resize(600, 400);
    // 20 columns: the middle columns searched are 4 to 15.
    setImage(*img, 20, 12, [](int r, int c) {
        if (c == 3 && r == 1)
            return 100.0f; // outside the searched columns
        if ((r == 6 && c == 9) || (r == 8 && c == 4))
            return 50.0f; // largest inside, twice: the first row wins
        return static_cast<float>(r % 3);
    });
    w->decomposeLevel = 80;
    w->isBondSignals = false;
    img->action_searchDecomposeLevel->trigger();
    // Row 6 is the seventh row from the top: level 7.
    QCOMPARE(w->decomposeLevel, 7);
    QCOMPARE(w->analysisType, 0);

    // Rows kept from an earlier wider image are not read past their end,
    // and rows beyond the decomposition's 100 levels are held at 100.
    QMap<int, QVector<float> >& slot = img->matrixMapGroup[0];
    slot.clear();
    slot[0] = QVector<float>(40, 0.0f);
    slot[1] = QVector<float>(3, 9.0f);
    slot[120] = QVector<float>(40, 0.0f);
    slot[120][20] = 5.0f;
    img->action_searchDecomposeLevel->trigger();
    QCOMPARE(w->decomposeLevel, 100);

    // An empty image leaves the level alone.
    slot.clear();
    w->decomposeLevel = 33;
    img->action_searchDecomposeLevel->trigger();
    QCOMPARE(w->decomposeLevel, 33);
}

void TestContextMenu::getDecomposeLevelTakesExtractedRow()
{
    Plotter* img = w->plotterListMatrix[1];
    PlotterTestAccess::setExtractedRow(*img, 19);
    img->action_getDecomposeLevel->trigger();
    QCOMPARE(w->decomposeLevel, 20);
    QCOMPARE(w->analysisType, 0);
    // A row of a taller STFT image read out earlier is held at level 100.
    PlotterTestAccess::setExtractedRow(*img, 127);
    img->action_getDecomposeLevel->trigger();
    QCOMPARE(w->decomposeLevel, 100);
}

void TestContextMenu::actionsTextsAndUnusedEntries()
{
    Plotter* p = w->plotterList[0];
    QCOMPARE(p->action_HHT->text(), QString("HHT analysis"));
    QCOMPARE(p->action_Simulation->text(), QString("Simulation"));
    // The simulation entries do nothing.
    const int type = w->analysisType;
    const int count = w->plotterCount;
    p->action_Simulation->trigger();
    p->action_SimulationPrediction->trigger();
    p->action_UndoSimulation->trigger();
    QCOMPARE(w->analysisType, type);
    QCOMPARE(w->plotterCount, count);
}

QTEST_MAIN(TestContextMenu)
#include "test_contextmenu.moc"
