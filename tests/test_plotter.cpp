#include <QtTest>

#include <QAction>
#include <QSlider>
#include <QToolButton>

#include "app/mainwindow.h"
#include "plot/plotter.h"
#include "testutil.h"

class PlotterTestAccess
{
public:
    static QToolButton* zoomInButton(Plotter& p) { return p.zoomInButton; }
    static QToolButton* zoomOutButton(Plotter& p) { return p.zoomOutButton; }
    static QPixmap& pixmap(Plotter& p) { return p.pixmap; }
    static int lmissing(const Plotter& p) { return p.Lmissing; }
    static bool flagsAllClear(const Plotter& p)
    {
        return !p.rubberBandIsShown && !p.cursorPosIsShown && !p.enableCursorPosCheck && !p.signingOff
               && !p.isImage && p.previousId == 0 && p.curveLabel.isEmpty() && p.curveLabelPos == QPoint(0, 0);
    }
};

namespace {

QVector<QPointF> points(std::initializer_list<QPointF> list)
{
    return QVector<QPointF>(list);
}

// A view with the given x range and otherwise the unit square.
PlotSettings viewX(double minX, double maxX)
{
    PlotSettings s;
    s.minX = minX;
    s.maxX = maxX;
    s.minY = 0;
    s.maxY = 1;
    return s;
}

// Pushes views the way a rubber-band zoom does: truncate, append, zoomIn.
void pushZoom(Plotter& p, const PlotSettings& s)
{
    p.zoomStack.resize(p.curZoom + 1);
    p.zoomStack.append(s);
    p.zoomIn();
}

// Gives the main window's fields that the plot window reads defined values
// (the window under test may not set them all in its constructor).
void setUpMain(MainWindow& mw, bool bond, bool single)
{
    mw.isBondSignals = bond;
    mw.isSingleWindow = single;
    mw.isMagneticCursor = false;
    mw.isMultiCurve = false;
    mw.plotterCount = 0;
    for (Plotter*& p : mw.plotterList)
        p = nullptr;
}

} // namespace

class TestPlotter : public QObject
{
    Q_OBJECT
private slots:
    void newWindowDefaults()
    {
        Plotter p;
        QCOMPARE(p.MarginLeft, 72);
        QCOMPARE(p.MarginRight, 72);
        QCOMPARE(p.MarginTop, 50);
        QCOMPARE(p.MarginBottom, 50);
        QCOMPARE(p.imageColorDepth(), 76);
        QCOMPARE(p.currentTrace, 1);
        QCOMPARE(PlotterTestAccess::lmissing(p), 100);
        QCOMPARE(p.currentMatrixMapIndex, 0);
        QCOMPARE(p.imageCount, 0);
        QVERIFY(p.yLabelIsShown);
        QVERIFY(!p.xLabelIsShown && !p.titleIsShown && !p.unitIsShown && !p.isSecondCurve);
        QVERIFY(!p.matrixExtract && !p.passitive && !p.isMarkCurve && !p.isPrediction);
        QVERIFY(!p.verticalLineEnable && !p.isManuDenoise);
        QVERIFY(PlotterTestAccess::flagsAllClear(p));
        QVERIFY(p.mainw == nullptr && p.pList0 == nullptr && p.pList2 == nullptr && p.pList3 == nullptr);
        QVERIFY(p.progressBar == nullptr);
        QCOMPARE(p.minxZoom, 0.0);
        QCOMPARE(p.maxxZoom, 0.0);
        QCOMPARE(p.deNoiseDeep, 0.0f);
        QVERIFY(p.signalRaw.isEmpty() && p.scoreList.isEmpty() && p.curveMap.isEmpty());
        QCOMPARE(p.backgroundRole(), QPalette::Dark);
        QVERIFY(p.autoFillBackground());
        QCOMPARE(p.focusPolicy(), Qt::StrongFocus);
        QVERIFY(p.hasMouseTracking());

        QCOMPARE(p.horizontalSlider->orientation(), Qt::Horizontal);
        QCOMPARE(p.horizontalSlider->minimum(), 0);
        QCOMPARE(p.horizontalSlider->maximum(), 100);
        QCOMPARE(p.horizontalSlider->value(), 80);
        QCOMPARE(p.horizontalSlider->tickInterval(), 5);
        QCOMPARE(p.horizontalSlider->tickPosition(), QSlider::TicksBothSides);
        QVERIFY(!p.horizontalSlider->hasTracking());
        QVERIFY(!p.horizontalSlider->isHidden());

        QCOMPARE(p.slider->orientation(), Qt::Vertical);
        QCOMPARE(p.slider->minimum(), 0);
        QCOMPARE(p.slider->maximum(), 5);
        QCOMPARE(p.slider->tickPosition(), QSlider::TicksBothSides);
        QVERIFY(!p.slider->hasTracking());
        QVERIFY(p.slider->isHidden());

        // One default view from the start: x and y 0..1, ten ticks, no second axis.
        QCOMPARE(p.zoomStack.size(), 1);
        QCOMPARE(p.curZoom, 0);
        const PlotSettings& s = p.currentSettings();
        QCOMPARE(s.minX, 0.0);
        QCOMPARE(s.maxX, 1.0);
        QCOMPARE(s.minY, 0.0);
        QCOMPARE(s.maxY, 1.0);
        QCOMPARE(s.numXTicks, 10);
        QCOMPARE(s.numYTicks, 10);
        QCOMPARE(s.spanX2(), 0.0);
        QCOMPARE(s.minY2, 0.0);
        QCOMPARE(s.maxY2, 0.0);
    }

    void sizeHintsFollowTheLeftMargin()
    {
        Plotter p;
        QCOMPARE(p.sizeHint(), QSize(864, 576));
        QCOMPARE(p.minimumSizeHint(), QSize(432, 288));
        p.MarginLeft = 50;
        p.MarginRight = 34;
        p.MarginTop = 10;
        QCOMPARE(p.sizeHint(), QSize(600, 400));
        QCOMPARE(p.minimumSizeHint(), QSize(300, 200));
    }

    void plotAreaFromSizeAndMargins()
    {
        Plotter p;
        p.resize(655, 301);
        QCOMPARE(p.plotArea(), QRect(82, 50, 501, 201));
        p.MarginRight = 34;
        p.MarginTop = 20;
        p.MarginBottom = 30;
        QCOMPARE(p.plotArea(), QRect(82, 20, 539, 251));
    }

    void actionsTextsAndConnections()
    {
        Plotter p;
        const QList<QAction*> actions = p.findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly);
        QStringList texts;
        for (QAction* a : actions)
            texts << a->text();
        const QStringList expected = {
            "Time domain analysis", "Fast Fourier Transform", "Wavelet analysis", "STFT analysis",
            "Get decompose level", "Search decompose level", "HHT analysis", "Analytic component display",
            "Power distribution", "Frequency peak distribution", "Maximum component", "Build pattern",
            "Trace pattern by time", "Trace pattern by amp", "Trace pattern by time and amp", "Undo pattern",
            "Auto-correlation", "Cross-correlation", "Undo correlation", "De-noise", "Auto-De-noise",
            "Save denoised-data", "Undo De-noise", "Power spectral density", "Simulation",
            "Simulation and Prediction", "Undo Simulation", "Switch single-multi frame",
            "Switch single-multi curve"};
        QCOMPARE(texts, expected);
        for (QAction* a : actions)
            QVERIFY(a->isEnabled());

        // disconnect() reports whether the connection existed.
        using Slot = void (Plotter::*)();
        const QList<QPair<QAction*, Slot>> wired = {
            {p.action_Time, &Plotter::TimeAnalysis},
            {p.action_Spectrum, &Plotter::spectrumAnalysis},
            {p.action_Wavelet, &Plotter::waveletAnalysis},
            {p.action_STFT, &Plotter::stftAnalysis},
            {p.action_getDecomposeLevel, &Plotter::getDecomposeLevel},
            {p.action_searchDecomposeLevel, &Plotter::searchDecomposeLevel},
            {p.action_BuildPattern, &Plotter::BuildPattern},
            {p.action_TracePattern_Time, &Plotter::TracePattern_Time},
            {p.action_TracePattern_Amp, &Plotter::TracePattern_Amp},
            {p.action_TracePattern_TimeAmp, &Plotter::TracePattern_TimeAmp},
            {p.action_UndoPattern, &Plotter::UndoPattern},
            {p.action_AutoCorrelation, &Plotter::AutoCorrelation},
            {p.action_CrossCorrelation, &Plotter::CrossCorrelation},
            {p.action_UndoCorrelation, &Plotter::UndoCorrelation},
            {p.action_Denoise, &Plotter::ManuDenoiseProcess},
            {p.action_AutoDenoise, &Plotter::AutoDenoiseProcess},
            {p.action_SaveDenoisedData, &Plotter::SaveDenoisedData},
            {p.action_UndoDenoise, &Plotter::UndoDenoise},
            {p.action_PowerSpectralDensity, &Plotter::PowerSpectralDensity},
            {p.action_Simulation, &Plotter::Simulation},
            {p.action_SimulationPrediction, &Plotter::SimulationPrediction},
            {p.action_UndoSimulation, &Plotter::UndoSimulation},
            {p.action_SwitchSingleMultiFrame, &Plotter::SwitchSingleMultiFrame},
            {p.action_SwitchSingleMultiCurve, &Plotter::SwitchSingleMultiCurve},
        };
        for (const auto& w : wired) {
            QVERIFY2(QObject::disconnect(w.first, &QAction::triggered, &p, w.second), qPrintable(w.first->text()));
            // Exactly one connection per action.
            QVERIFY(!QObject::disconnect(w.first, &QAction::triggered, nullptr, nullptr));
        }
        for (QAction* a : {p.action_HHT, p.action_analytic, p.action_sum, p.action_peak, p.action_maxSelection})
            QVERIFY(!QObject::disconnect(a, &QAction::triggered, nullptr, nullptr));
    }

    void setCurveDataFitsTheView()
    {
        Plotter p;
        p.setCurveData(0, points({{0, 1}, {1, 3}, {2, -2}}));
        QCOMPARE(p.zoomStack.size(), 1);
        QCOMPARE(p.curZoom, 0);
        const PlotSettings& s = p.currentSettings();
        QCOMPARE(s.minX, 0.0);
        QCOMPARE(s.maxX, 2.0);
        QCOMPARE(s.minY, -2.0);
        QCOMPARE(s.maxY, 3.0);
        QCOMPARE(s.numXTicks, 10);
        QCOMPARE(s.numYTicks, 10);
        QCOMPARE(p.minY, -2.0f);
        QCOMPARE(p.maxY, 3.0f);
        QVERIFY(!p.isImageMode());
        QCOMPARE(p.curveMap.value(0).size(), 3);

        // Float precision is kept and not widened to whole steps.
        p.setCurveData(0, points({{0.1, 0.3}, {0.7, 0.9}}));
        QCOMPARE(p.currentSettings().minX, double(0.1f));
        QCOMPARE(p.currentSettings().maxY, double(0.9f));
    }

    void emptyCurveKeepsStartValues()
    {
        Plotter p;
        p.setCurveData(3, QVector<QPointF>());
        QVERIFY(p.curveMap.contains(3));
        QVERIFY(p.curveMap.value(3).isEmpty());
        QCOMPARE(p.minX, 123456792.0f);
        QCOMPARE(p.minY, 123456792.0f);
        QCOMPARE(p.maxX, -123456792.0f);
        QCOMPARE(p.maxY, -123456792.0f);
        QCOMPARE(p.currentSettings().minX, 123456792.0);
        QCOMPARE(p.currentSettings().maxY, -123456792.0);
        // The reversed view still draws.
        p.resize(400, 300);
        p.refreshPixmap();
        QVERIFY(!p.grab().isNull());
    }

    void dataEntryResetsZoomButtonsAndSliders()
    {
        Plotter p;
        p.setCurveData(0, points({{0, 0}, {10, 10}}));
        pushZoom(p, viewX(2, 8));
        pushZoom(p, viewX(3, 4));
        QCOMPARE(p.curZoom, 2);
        p.slider->show();
        p.horizontalSlider->show();
        PlotterTestAccess::zoomInButton(p)->show();

        // Second-axis values of an earlier view must not survive.
        p.currentSettings().minY2 = 7;
        p.setCurveData(1, points({{-1, 5}, {1, 6}}));
        QCOMPARE(p.zoomStack.size(), 1);
        QCOMPARE(p.curZoom, 0);
        QVERIFY(PlotterTestAccess::zoomInButton(p)->isHidden());
        QVERIFY(PlotterTestAccess::zoomOutButton(p)->isHidden());
        QVERIFY(p.slider->isHidden());
        QVERIFY(p.horizontalSlider->isHidden());

        // The view follows the last curve alone.
        const PlotSettings& s = p.currentSettings();
        QCOMPARE(s.minX, -1.0);
        QCOMPARE(s.maxX, 1.0);
        QCOMPARE(s.minY, 5.0);
        QCOMPARE(s.maxY, 6.0);
        QCOMPARE(s.minX2, 0.0);
        QCOMPARE(s.maxX2, 0.0);
        QCOMPARE(s.minY2, 0.0);
        QCOMPARE(s.maxY2, 0.0);
        QCOMPARE(p.curveMap.size(), 2);

        // Same id replaces.
        p.setCurveData(1, points({{0, 0}}));
        QCOMPARE(p.curveMap.value(1).size(), 1);
    }

    void clearCurve()
    {
        Plotter p;
        p.resize(400, 300);
        p.setCurveData(0, points({{0, 0}, {1, 1}}));
        p.setCurveData(1, points({{0, 2}, {4, 3}}));
        pushZoom(p, viewX(0.5, 1));

        const qint64 before = PlotterTestAccess::pixmap(p).cacheKey();
        p.clearCurve(5);
        QCOMPARE(p.curveMap.size(), 2);
        QVERIFY(PlotterTestAccess::pixmap(p).cacheKey() != before);
        QCOMPARE(p.curZoom, 1);

        p.clearCurve(0);
        QCOMPARE(p.curveMap.keys(), QList<int>{1});
        QCOMPARE(p.curZoom, 1);
        QCOMPARE(p.currentSettings().minX, 0.5);
    }

    void setMatrixDataStoresTheWholeImage()
    {
        Plotter p;
        p.resize(400, 300);
        QVector<float> big(128 * 4);
        for (int i = 0; i < big.size(); ++i)
            big[i] = -float(i);
        p.setMatrixData(QPoint(4, 128), big.data());
        QCOMPARE(p.matrixMapGroup[0].size(), 128);

        // A smaller image replaces the slot's contents entirely.
        QVector<float> small(100 * 3);
        for (int i = 0; i < small.size(); ++i)
            small[i] = float(i);
        p.minX = 1.5f;
        p.maxX = 9.5f;
        p.minY = 2.0f;
        p.maxY = 180.0f;
        p.setMatrixData(QPoint(3, 100), small.data());
        const QMap<int, QVector<float>>& image = p.matrixMapGroup[0];
        QCOMPARE(image.size(), 100);
        QCOMPARE(image.firstKey(), 0);
        QCOMPARE(image.lastKey(), 99);
        QCOMPARE(image.value(0), QVector<float>({0, 1, 2}));
        QCOMPARE(image.value(37), QVector<float>({111, 112, 113}));
        QCOMPARE(image.value(99).size(), 3);

        QVERIFY(p.isImageMode());
        QCOMPARE(p.zoomStack.size(), 1);
        const PlotSettings& s = p.currentSettings();
        QCOMPARE(s.minX, 1.5);
        QCOMPARE(s.maxX, 9.5);
        QCOMPARE(s.minY, 2.0);
        QCOMPARE(s.maxY, 180.0);
        QCOMPARE(s.numXTicks, 10);
        QCOMPARE(s.numYTicks, 10);
        QCOMPARE(s.draw.left(), 0);
        QCOMPARE(s.draw.top(), 0);
        QCOMPARE(s.draw.right(), 2);
        QCOMPARE(s.draw.bottom(), 99);
        QCOMPARE(s.minY2, 0.0);
        QCOMPARE(s.maxX2, 0.0);

        // Other slots untouched; the slot index picks where it goes.
        for (int k = 1; k < 8; ++k)
            QVERIFY(p.matrixMapGroup[k].isEmpty());
        p.currentMatrixMapIndex = 7;
        p.setMatrixData(QPoint(2, 2), small.data());
        QCOMPARE(p.matrixMapGroup[7].size(), 2);
        QCOMPARE(p.matrixMapGroup[0].size(), 100);
    }

    void setMatrixDataRefusesBadSlotsAndInput()
    {
        Plotter p;
        p.resize(400, 300);
        p.setCurveData(0, points({{0, 0}, {1, 1}}));
        float cells[4] = {1, 2, 3, 4};
        for (int bad : {8, -1, 1000}) {
            p.currentMatrixMapIndex = bad;
            p.setMatrixData(QPoint(2, 2), cells);
            QVERIFY(!p.isImageMode());
            QCOMPARE(p.currentSettings().maxX, 1.0);
            for (const auto& slot : p.matrixMapGroup)
                QVERIFY(slot.isEmpty());
        }
        // A window left on such a slot in image mode draws nothing and survives.
        p.currentMatrixMapIndex = 0;
        p.setMatrixData(QPoint(2, 2), cells);
        QVERIFY(p.isImageMode());
        p.currentMatrixMapIndex = 9;
        p.refreshPixmap();
        QVERIFY(!p.grab().isNull());

        p.currentMatrixMapIndex = 1;
        p.setMatrixData(QPoint(5, 5), nullptr);
        QVERIFY(p.matrixMapGroup[1].isEmpty());
    }

    void zoomStackAndButtons()
    {
        Plotter p;
        p.resize(500, 400);
        QToolButton* in = PlotterTestAccess::zoomInButton(p);
        QToolButton* out = PlotterTestAccess::zoomOutButton(p);
        p.setCurveData(0, points({{0, 0}, {10, 10}}));
        QVERIFY(in->isHidden() && out->isHidden());

        pushZoom(p, viewX(2, 8));
        QCOMPARE(p.curZoom, 1);
        QVERIFY(!out->isHidden());
        QVERIFY(out->isEnabled());
        QVERIFY(in->isHidden());
        QVERIFY(!in->isEnabled());

        // Back, then forward through the stack.
        p.zoomOut();
        QCOMPARE(p.curZoom, 0);
        QVERIFY(!out->isEnabled());
        QVERIFY(!in->isHidden());
        QVERIFY(in->isEnabled());
        p.zoomOut();
        QCOMPARE(p.curZoom, 0);

        p.zoomStack.append(viewX(3, 4));
        p.zoomIn();
        QCOMPARE(p.curZoom, 1);
        QVERIFY(in->isEnabled());
        QVERIFY(out->isEnabled());
        p.zoomIn();
        QCOMPARE(p.curZoom, 2);
        QVERIFY(!in->isEnabled());
        QCOMPARE(p.currentSettings().minX, 3.0);
        p.zoomIn();
        QCOMPARE(p.curZoom, 2);

        // A new zoom after stepping back forgets the views above.
        p.zoomOut();
        pushZoom(p, viewX(5, 6));
        QCOMPARE(p.zoomStack.size(), 3);
        QCOMPARE(p.currentSettings().minX, 5.0);
    }

    void windowWithoutMainWindowOrLinks()
    {
        // No main window, no links, no data: paint, resize and zoom safely.
        Plotter p;
        p.show();
        p.resize(300, 200);
        QVERIFY(!p.grab().isNull());
        p.zoomIn();
        p.zoomOut();
        QCOMPARE(p.curZoom, 0);

        // An image window without links or main window zooms alone.
        float cells[6] = {1, 2, 3, 4, 5, 6};
        p.setMatrixData(QPoint(3, 2), cells);
        pushZoom(p, p.currentSettings());
        QCOMPARE(p.curZoom, 1);
        p.zoomOut();
        QCOMPARE(p.curZoom, 0);
        p.resize(20, 20); // smaller than the margins: nothing to draw
        QVERIFY(!p.grab().isNull());
        p.resize(0, 0);
        p.refreshPixmap();
        QVERIFY(PlotterTestAccess::pixmap(p).isNull());
    }

    void bondedZoomOutStepsBackEveryZoomedWindow()
    {
        DialogCloser closer;
        MainWindow mw;
        setUpMain(mw, true, false);
        Plotter w[3];
        for (int i = 0; i < 3; ++i) {
            w[i].mainw = &mw;
            w[i].setCurveData(0, points({{0, 0}, {10, 10}}));
            mw.plotterList[i] = &w[i];
        }
        mw.plotterCount = 3;
        pushZoom(w[1], viewX(1, 9));
        pushZoom(w[1], viewX(2, 8));
        pushZoom(w[2], viewX(3, 7));

        w[0].zoomOut();
        QCOMPARE(w[0].curZoom, 0);
        QCOMPARE(w[1].curZoom, 1);
        QCOMPARE(w[2].curZoom, 0);
        QVERIFY(!PlotterTestAccess::zoomOutButton(w[2])->isEnabled());
        QVERIFY(!PlotterTestAccess::zoomInButton(w[2])->isHidden());
        QVERIFY(PlotterTestAccess::zoomOutButton(w[1])->isEnabled());

        // A window beyond the displayed count is not reached.
        mw.plotterCount = 1;
        w[0].zoomOut();
        QCOMPARE(w[1].curZoom, 1);

        // Bond off: only the window itself.
        mw.plotterCount = 3;
        mw.isBondSignals = false;
        pushZoom(w[0], viewX(4, 5));
        w[0].zoomOut();
        QCOMPARE(w[0].curZoom, 0);
        QCOMPARE(w[1].curZoom, 1);

        // Image mode with the bond on: this window alone, links untouched.
        mw.isBondSignals = true;
        Plotter image, above, below;
        image.mainw = &mw;
        image.pList0 = &above;
        image.pList3 = &below;
        float cells[4] = {1, 2, 3, 4};
        image.setMatrixData(QPoint(2, 2), cells);
        below.setCurveData(0, points({{0, 0}, {10, 10}}));
        pushZoom(below, viewX(1, 2));
        pushZoom(image, viewX(1, 2));
        image.zoomOut();
        QCOMPARE(image.curZoom, 0);
        QCOMPARE(below.curZoom, 1);
        QCOMPARE(w[1].curZoom, 1);
    }

    void imageWindowDrivesItsLinks()
    {
        DialogCloser closer;
        MainWindow mw;
        setUpMain(mw, false, true);
        Plotter image, above, row, below;
        image.mainw = above.mainw = row.mainw = below.mainw = &mw;
        image.pList0 = &above;
        image.pList2 = &row;
        image.pList3 = &below;
        above.passitive = below.passitive = row.passitive = true;

        float cells[8] = {1, 2, 3, 4, 5, 6, 7, 8};
        image.minX = 0;
        image.maxX = 10;
        image.setMatrixData(QPoint(4, 2), cells);
        above.setCurveData(0, points({{0, 0}, {10, 1}}));
        below.setCurveData(0, points({{0, 0}, {10, 1}}));
        above.isMarkCurve = true;

        // The rubber band pushes the copy onto pList3 first, then zooms.
        below.zoomStack.append(viewX(2, 5));
        pushZoom(image, viewX(2, 5));
        QCOMPARE(image.curZoom, 1);
        QCOMPARE(below.curZoom, 1);
        QCOMPARE(below.currentSettings().minX, 2.0);
        QCOMPARE(above.minxZoom, 2.0);
        QCOMPARE(above.maxxZoom, 5.0);
        QCOMPARE(above.curZoom, 0);

        // At its last level the image window still runs the link step.
        below.zoomStack.append(viewX(3, 4));
        image.zoomIn();
        QCOMPARE(image.curZoom, 1);
        QCOMPARE(below.curZoom, 2);

        image.zoomOut();
        QCOMPARE(image.curZoom, 0);
        QCOMPARE(below.curZoom, 1);
        QCOMPARE(above.minxZoom, 0.0);
        QCOMPARE(above.maxxZoom, 10.0);

        // Without a mark on pList0 its range stays.
        above.isMarkCurve = false;
        above.minxZoom = -7;
        image.zoomIn();
        QCOMPARE(below.curZoom, 2);
        QCOMPARE(above.minxZoom, -7.0);

        // A passive image window or bonded signals take no part in linking.
        image.zoomOut();
        QCOMPARE(below.curZoom, 1);
        image.passitive = true;
        image.zoomIn();
        QCOMPARE(image.curZoom, 1);
        QCOMPARE(below.curZoom, 1);
        image.passitive = false;
        mw.isBondSignals = true;
        image.zoomOut();
        QCOMPARE(image.curZoom, 0);
        QCOMPARE(below.curZoom, 1);

        // A curve window never drives the links.
        mw.isBondSignals = false;
        Plotter curve;
        curve.mainw = &mw;
        curve.pList3 = &below;
        curve.setCurveData(0, points({{0, 0}, {1, 1}}));
        pushZoom(curve, viewX(0, 0.5));
        QCOMPARE(below.curZoom, 1);
    }

    void resizePlacesButtonsAndSliders()
    {
        Plotter p;
        p.setCurveData(0, points({{0, 0}, {1, 1}}));
        p.show();
        p.resize(600, 400);
        QTRY_COMPARE(p.size(), QSize(600, 400));
        QToolButton* in = PlotterTestAccess::zoomInButton(p);
        QToolButton* out = PlotterTestAccess::zoomOutButton(p);
        const int x = 600 - out->width() - 10;
        QCOMPARE(out->pos(), QPoint(x, 5));
        QCOMPARE(in->pos(), QPoint(x, in->height() + 10));
        QCOMPARE(p.slider->pos(), QPoint(x, 2 * in->height() + 15));
        QCOMPARE(p.slider->height(), 400 - 100 - in->width() / 2);
        QCOMPARE(p.horizontalSlider->width(), (600 - 144) / 2);
        QCOMPARE(p.horizontalSlider->pos(), QPoint(300 - (600 - 144) / 4, 375));
        QCOMPARE(PlotterTestAccess::pixmap(p).size(), QSize(600, 400));

        // In image mode the slider keeps its hinted size.
        float cells[4] = {1, 2, 3, 4};
        p.setMatrixData(QPoint(2, 2), cells);
        const QSize hinted = p.slider->size();
        p.resize(700, 500);
        QTRY_COMPARE(p.size(), QSize(700, 500));
        QCOMPARE(p.slider->size(), hinted);
        QCOMPARE(p.slider->pos(), QPoint(700 - out->width() - 10, 2 * in->height() + 15));
        QCOMPARE(PlotterTestAccess::pixmap(p).size(), QSize(700, 500));
    }
};

QTEST_MAIN(TestPlotter)
#include "test_plotter.moc"
