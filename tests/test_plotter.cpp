#include <QtTest>

#include <QAction>
#include <QSlider>
#include <QToolButton>

#include "app/mainwindow.h"
#include "plot/plotter.h"
#include "testutil.h"

#include <algorithm>
#include <iterator>

class PlotterTestAccess
{
public:
    static QToolButton* in(Plotter& p) { return p.zoomInButton; }
    static QToolButton* out(Plotter& p) { return p.zoomOutButton; }
    static QPixmap& pixmap(Plotter& p) { return p.pixmap; }
    static QImage image(Plotter& p) { return p.pixmap.toImage(); }
    static int lmissing(const Plotter& p) { return p.Lmissing; }
    static QVector<float>& pattern(Plotter& p) { return p.pattern; }
    static void setLabel(Plotter& p, const QString& text, QPoint pos)
    {
        p.curveLabel = text;
        p.curveLabelPos = pos;
    }
};
using A = PlotterTestAccess;

namespace {

PlotSettings view(double minX, double maxX, double minY = 0, double maxY = 1)
{
    PlotSettings s;
    s.minX = minX;
    s.maxX = maxX;
    s.minY = minY;
    s.maxY = maxY;
    return s;
}

// What a rubber-band zoom does: truncate above the current view, append, zoomIn.
void pushZoom(Plotter& p, const PlotSettings& s)
{
    p.zoomStack.resize(p.curZoom + 1);
    p.zoomStack.append(s);
    p.zoomIn();
}

// Gives the main window's options defined values and an empty window table
// for the test's own windows; puts its own table back before it dies.
struct MainSetup
{
    MainSetup(MainWindow& w, bool bond, bool single) : mw(w), count(w.plotterCount)
    {
        std::copy(std::begin(w.plotterList), std::end(w.plotterList), saved);
        w.isBondSignals = bond;
        w.isSingleWindow = single;
        w.isMagneticCursor = w.isMultiCurve = false;
        w.plotterCount = 0;
        std::fill(std::begin(w.plotterList), std::end(w.plotterList), nullptr);
    }
    ~MainSetup()
    {
        std::copy(std::begin(saved), std::end(saved), mw.plotterList);
        mw.plotterCount = count;
    }
    MainWindow& mw;
    Plotter* saved[20];
    int count;
};

// y = 5 across the middle, with end points that make the view 0..10 on both axes.
QVector<QPointF> shelf(double step = 1.0)
{
    QVector<QPointF> v{{0, 0}};
    for (double x = step; x < 10 - step / 2; x += step)
        v.append({x, 5});
    v.append({10, 10});
    return v;
}

// 655 x 301 gives the plot area (82, 50, 501, 201): a 0..10 view maps x to
// 82 + 50 x and y to 250 - 20 y, exactly on pixels.
const QSize probeSize(655, 301);
const QRgb red = QColor(Qt::red).rgb(), green = QColor(Qt::green).rgb(), blue = QColor(Qt::blue).rgb();

QRgb dark(const Plotter& p) { return p.palette().color(QPalette::Dark).rgb(); }
QRgb quiteDark(const Plotter& p) { return p.palette().color(QPalette::Dark).lighter(150).rgb(); }
QRgb light(const Plotter& p) { return p.palette().color(QPalette::Light).rgb(); }

// Count of pixels of (or, with `other`, not of) a colour, and their bounding box.
int count(const QImage& img, const QRect& area, QRgb colour, bool other = false, QRect* box = nullptr)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((img.pixel(x, y) == colour) != other) {
                ++n;
                if (box)
                    *box |= QRect(x, y, 1, 1);
            }
    return n;
}

} // namespace

class TestPlotter : public QObject
{
    Q_OBJECT
private slots:
    void newWindowDefaults()
    {
        Plotter p;
        QCOMPARE(QVector<int>({p.MarginLeft, p.MarginRight, p.MarginTop, p.MarginBottom}),
                 QVector<int>({72, 72, 50, 50}));
        QCOMPARE(p.imageColorDepth(), 76);
        QCOMPARE(p.currentTrace, 1);
        QCOMPARE(A::lmissing(p), 100);
        QCOMPARE(p.currentMatrixMapIndex, 0);
        QVERIFY(p.yLabelIsShown);
        QVERIFY(!p.xLabelIsShown && !p.titleIsShown && !p.unitIsShown && !p.isSecondCurve && !p.isImageMode());
        QVERIFY(!p.matrixExtract && !p.passitive && !p.isMarkCurve && !p.isPrediction);
        QVERIFY(!p.verticalLineEnable && !p.isManuDenoise && p.extractedRow() == 0);
        QVERIFY(!p.mainw && !p.pList0 && !p.pList2 && !p.pList3 && !p.progressBar);
        QCOMPARE(p.backgroundRole(), QPalette::Dark);
        QCOMPARE(p.focusPolicy(), Qt::StrongFocus);
        QVERIFY(p.hasMouseTracking() && p.autoFillBackground());

        QSlider* h = p.horizontalSlider;
        QCOMPARE(QVector<int>({h->minimum(), h->maximum(), h->value(), h->tickInterval()}),
                 QVector<int>({0, 100, 80, 5}));
        QCOMPARE(h->tickPosition(), QSlider::TicksBothSides);
        QVERIFY(!h->hasTracking() && !h->isHidden());
        QCOMPARE(p.slider->orientation(), Qt::Vertical);
        QCOMPARE(QVector<int>({p.slider->minimum(), p.slider->maximum()}), QVector<int>({0, 5}));
        QVERIFY(!p.slider->hasTracking() && p.slider->isHidden());

        // A new window already holds one view: 0..1 both ways, no second axis.
        QCOMPARE(p.zoomStack.size(), 1);
        QCOMPARE(p.curZoom, 0);
        const PlotSettings& s = p.currentSettings();
        QCOMPARE(QVector<double>({s.minX, s.maxX, s.minY, s.maxY, s.minX2, s.maxX2, s.minY2, s.maxY2}),
                 QVector<double>({0, 1, 0, 1, 0, 0, 0, 0}));
        QCOMPARE(s.numXTicks + s.numYTicks, 20);

        QCOMPARE(p.sizeHint(), QSize(864, 576));
        QCOMPARE(p.minimumSizeHint(), QSize(432, 288));
        p.MarginLeft = 50;
        p.MarginRight = p.MarginTop = 10;
        QCOMPARE(p.sizeHint(), QSize(600, 400));
        QCOMPARE(p.minimumSizeHint(), QSize(300, 200));
        p.resize(655, 301);
        QCOMPARE(p.plotArea(), QRect(60, 10, 585, 241));
    }

    void actionsTextsAndConnections()
    {
        Plotter p;
        using Slot = void (Plotter::*)();
        const QList<QPair<QString, Slot>> table = {
            {"Time domain analysis", &Plotter::TimeAnalysis}, {"Fast Fourier Transform", &Plotter::spectrumAnalysis},
            {"Wavelet analysis", &Plotter::waveletAnalysis}, {"STFT analysis", &Plotter::stftAnalysis},
            {"Get decompose level", &Plotter::getDecomposeLevel},
            {"Search decompose level", &Plotter::searchDecomposeLevel}, {"HHT analysis", nullptr},
            {"Analytic component display", nullptr}, {"Power distribution", nullptr},
            {"Frequency peak distribution", nullptr}, {"Maximum component", nullptr},
            {"Build pattern", &Plotter::BuildPattern}, {"Trace pattern by time", &Plotter::TracePattern_Time},
            {"Trace pattern by amp", &Plotter::TracePattern_Amp},
            {"Trace pattern by time and amp", &Plotter::TracePattern_TimeAmp},
            {"Undo pattern", &Plotter::UndoPattern}, {"Auto-correlation", &Plotter::AutoCorrelation},
            {"Cross-correlation", &Plotter::CrossCorrelation}, {"Undo correlation", &Plotter::UndoCorrelation},
            {"De-noise", &Plotter::ManuDenoiseProcess}, {"Auto-De-noise", &Plotter::AutoDenoiseProcess},
            {"Save denoised-data", &Plotter::SaveDenoisedData}, {"Undo De-noise", &Plotter::UndoDenoise},
            {"Power spectral density", &Plotter::PowerSpectralDensity}, {"Simulation", &Plotter::Simulation},
            {"Simulation and Prediction", &Plotter::SimulationPrediction},
            {"Undo Simulation", &Plotter::UndoSimulation},
            {"Switch single-multi frame", &Plotter::SwitchSingleMultiFrame},
            {"Switch single-multi curve", &Plotter::SwitchSingleMultiCurve}};
        const QList<QAction*> actions = p.findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly);
        QCOMPARE(actions.size(), 29);
        QCOMPARE(p.action_Time, actions[0]);
        QCOMPARE(p.action_SwitchSingleMultiCurve, actions[28]);
        for (int i = 0; i < 29; ++i) {
            QAction* a = actions[i];
            QCOMPARE(a->text(), table[i].first);
            QVERIFY(a->isEnabled());
            // disconnect() reports whether the connection existed; one each.
            if (table[i].second)
                QVERIFY2(QObject::disconnect(a, &QAction::triggered, &p, table[i].second), qPrintable(a->text()));
            QVERIFY(!QObject::disconnect(a, &QAction::triggered, nullptr, nullptr));
        }
    }

    void curveDataEntry()
    {
        Plotter p;
        p.setCurveData(0, {{0, 1}, {1, 3}, {2, -2}});
        PlotSettings s = p.currentSettings();
        QCOMPARE(QVector<double>({s.minX, s.maxX, s.minY, s.maxY}), QVector<double>({0, 2, -2, 3}));
        QCOMPARE(s.numXTicks + s.numYTicks, 20);
        QCOMPARE(p.maxY, 3.0f);

        // Empty curve: stored, ranges left at their start values.
        p.setCurveData(3, {});
        QVERIFY(p.curveMap.contains(3));
        QCOMPARE(QVector<float>({p.minX, p.minY, p.maxX, p.maxY}),
                 QVector<float>({123456792.0f, 123456792.0f, -123456792.0f, -123456792.0f}));
        QCOMPARE(p.currentSettings().maxY, -123456792.0);

        // Data entry on a zoomed window: one level, buttons and sliders hidden,
        // view of the new curve alone, second axis defined.
        pushZoom(p, view(2, 8));
        pushZoom(p, view(3, 4));
        p.slider->show();
        p.horizontalSlider->show();
        A::in(p)->show();
        p.currentSettings().minY2 = 7;
        p.setCurveData(1, {{-1, 5}, {1, 6}});
        QCOMPARE(p.zoomStack.size(), 1);
        QCOMPARE(p.curZoom, 0);
        QVERIFY(A::in(p)->isHidden() && A::out(p)->isHidden());
        QVERIFY(p.slider->isHidden() && p.horizontalSlider->isHidden());
        s = p.currentSettings();
        QCOMPARE(QVector<double>({s.minX, s.maxX, s.minY, s.maxY, s.minX2, s.maxX2, s.minY2, s.maxY2}),
                 QVector<double>({-1, 1, 5, 6, 0, 0, 0, 0}));
        QCOMPARE(p.curveMap.keys(), QList<int>({0, 1, 3}));

        // clearCurve of a missing id only redraws; the view stays.
        p.resize(300, 200);
        pushZoom(p, view(0, 0.5));
        const qint64 key = A::pixmap(p).cacheKey();
        p.clearCurve(5);
        QVERIFY(A::pixmap(p).cacheKey() != key);
        QCOMPARE(p.curveMap.size(), 3);
        p.clearCurve(0);
        QCOMPARE(p.curveMap.keys(), QList<int>({1, 3}));
        QCOMPARE(p.curZoom, 1);
    }

    void matrixDataEntry()
    {
        Plotter p;
        p.resize(400, 300);
        QVector<float> cells(128 * 4);
        for (int i = 0; i < cells.size(); ++i)
            cells[i] = float(i);
        p.setMatrixData(QPoint(4, 128), cells.data());
        QCOMPARE(p.matrixMapGroup[0].size(), 128);

        // A smaller image replaces the slot's whole contents.
        p.minX = 1.5f;
        p.maxX = 9.5f;
        p.minY = 2.0f;
        p.maxY = 180.0f;
        p.setMatrixData(QPoint(3, 100), cells.data());
        const QMap<int, QVector<float>>& image = p.matrixMapGroup[0];
        QCOMPARE(image.keys().size(), 100);
        QCOMPARE(image.lastKey(), 99);
        QCOMPARE(image.value(37), QVector<float>({111, 112, 113}));
        QVERIFY(p.isImageMode());
        const PlotSettings& s = p.currentSettings();
        QCOMPARE(QVector<double>({s.minX, s.maxX, s.minY, s.maxY, s.minY2}), QVector<double>({1.5, 9.5, 2, 180, 0}));
        QCOMPARE(s.draw, QRect(QPoint(0, 0), QPoint(2, 99)));
        QCOMPARE(s.numXTicks + s.numYTicks, 20);

        // Slots outside 0..7 write nothing and change nothing.
        p.setCurveData(0, {{0, 0}, {1, 1}});
        for (int bad : {8, -1, 1000}) {
            p.currentMatrixMapIndex = bad;
            p.setMatrixData(QPoint(2, 2), cells.data());
            QVERIFY(!p.isImageMode());
            QCOMPARE(p.currentSettings().maxX, 1.0);
        }
        for (int k = 1; k < 8; ++k)
            QVERIFY(p.matrixMapGroup[k].isEmpty());
        p.currentMatrixMapIndex = 7;
        p.setMatrixData(QPoint(2, 2), nullptr);
        QVERIFY(p.matrixMapGroup[7].isEmpty());
        p.setMatrixData(QPoint(2, 3), cells.data());
        QCOMPARE(p.matrixMapGroup[7].size(), 3);
        // An image window left on a bad slot draws the grid only.
        p.currentMatrixMapIndex = 9;
        p.refreshPixmap();
        QVERIFY(!p.grab().isNull());
    }

    void zoomStackAndButtons()
    {
        Plotter p;
        QToolButton* in = A::in(p);
        QToolButton* out = A::out(p);
        p.setCurveData(0, {{0, 0}, {10, 10}});
        pushZoom(p, view(2, 8));
        QCOMPARE(p.curZoom, 1);
        QVERIFY(!out->isHidden() && out->isEnabled());
        QVERIFY(in->isHidden() && !in->isEnabled());
        p.zoomOut();
        QCOMPARE(p.curZoom, 0);
        QVERIFY(!out->isEnabled() && !in->isHidden() && in->isEnabled());
        p.zoomOut();
        QCOMPARE(p.curZoom, 0);

        p.zoomStack.append(view(3, 4));
        p.zoomIn();
        QVERIFY(in->isEnabled() && out->isEnabled());
        p.zoomIn();
        QCOMPARE(p.curZoom, 2);
        QVERIFY(!in->isEnabled());
        p.zoomIn();
        QCOMPARE(p.curZoom, 2);
        QCOMPARE(p.currentSettings().minX, 3.0);
    }

    void noMainWindowNoLinksNoData()
    {
        Plotter p;
        p.show();
        p.resize(300, 200);
        QVERIFY(!p.grab().isNull());
        p.zoomIn();
        p.zoomOut();
        float cells[6] = {1, 2, 3, 4, 5, 6};
        p.setMatrixData(QPoint(3, 2), cells);
        pushZoom(p, p.currentSettings());
        QCOMPARE(p.curZoom, 1);
        p.zoomOut();
        QCOMPARE(p.curZoom, 0);
        p.resize(20, 20);
        QVERIFY(!p.grab().isNull());
        p.resize(0, 0);
        p.refreshPixmap();
        QVERIFY(A::pixmap(p).isNull());
    }

    void bondedZoomOut()
    {
        DialogCloser closer;
        MainWindow mw;
        MainSetup setup(mw, true, false);
        Plotter w[3];
        for (int i = 0; i < 3; ++i) {
            w[i].mainw = &mw;
            w[i].setCurveData(0, {{0, 0}, {10, 10}});
            mw.plotterList[i] = &w[i];
        }
        mw.plotterCount = 3;
        pushZoom(w[1], view(1, 9));
        pushZoom(w[1], view(2, 8));
        pushZoom(w[2], view(3, 7));
        w[0].zoomOut();
        QCOMPARE(QVector<int>({w[0].curZoom, w[1].curZoom, w[2].curZoom}), QVector<int>({0, 1, 0}));
        QVERIFY(!A::out(w[2])->isEnabled() && !A::in(w[2])->isHidden() && A::out(w[1])->isEnabled());
        mw.plotterCount = 1; // windows beyond the count are not reached
        w[0].zoomOut();
        QCOMPARE(w[1].curZoom, 1);

        // Image mode with the bond on: this window alone, links untouched.
        Plotter image, below;
        image.mainw = &mw;
        image.pList3 = &below;
        float cells[4] = {1, 2, 3, 4};
        image.setMatrixData(QPoint(2, 2), cells);
        pushZoom(below, view(1, 2));
        pushZoom(image, view(1, 2));
        mw.plotterCount = 3;
        image.zoomOut();
        QCOMPARE(QVector<int>({image.curZoom, below.curZoom, w[1].curZoom}), QVector<int>({0, 1, 1}));
    }

    void imageWindowDrivesItsLinks()
    {
        DialogCloser closer;
        MainWindow mw;
        MainSetup setup(mw, false, true);
        Plotter image, above, below;
        image.mainw = above.mainw = below.mainw = &mw;
        image.pList0 = &above;
        image.pList3 = &below;
        above.passitive = below.passitive = true;
        float cells[8] = {1, 2, 3, 4, 5, 6, 7, 8};
        image.minX = 0;
        image.maxX = 10;
        image.setMatrixData(QPoint(4, 2), cells);
        above.setCurveData(0, {{0, 0}, {10, 1}});
        below.setCurveData(0, {{0, 0}, {10, 1}});
        above.isMarkCurve = true;

        // The rubber band pushes the copy onto pList3 first, then zooms.
        below.zoomStack.append(view(2, 5));
        pushZoom(image, view(2, 5));
        QCOMPARE(below.curZoom, 1);
        QCOMPARE(QVector<double>({above.minxZoom, above.maxxZoom}), QVector<double>({2, 5}));
        // At its last level the image window still moves pList3.
        below.zoomStack.append(view(3, 4));
        image.zoomIn();
        QCOMPARE(QVector<int>({image.curZoom, below.curZoom}), QVector<int>({1, 2}));
        image.zoomOut();
        QCOMPARE(QVector<int>({image.curZoom, below.curZoom}), QVector<int>({0, 1}));
        QCOMPARE(QVector<double>({above.minxZoom, above.maxxZoom}), QVector<double>({0, 10}));
        above.isMarkCurve = false;
        image.zoomIn();
        QCOMPARE(above.maxxZoom, 10.0);
        QCOMPARE(below.curZoom, 2);

        // Passive, bonded or curve windows do not drive the links.
        image.zoomOut();
        image.passitive = true;
        image.zoomIn();
        QCOMPARE(QVector<int>({image.curZoom, below.curZoom}), QVector<int>({1, 1}));
        image.passitive = false;
        mw.isBondSignals = true;
        image.zoomOut();
        QCOMPARE(QVector<int>({image.curZoom, below.curZoom}), QVector<int>({0, 1}));
        mw.isBondSignals = false;
        image.setCurveData(0, {{0, 0}, {1, 1}});
        pushZoom(image, view(0, 0.5));
        QCOMPARE(below.curZoom, 1);
    }

    void resizePlacesButtonsAndSliders()
    {
        Plotter p;
        p.setCurveData(0, {{0, 0}, {1, 1}});
        p.show();
        p.resize(600, 400);
        QTRY_COMPARE(p.size(), QSize(600, 400));
        QToolButton* in = A::in(p);
        const int x = 600 - A::out(p)->width() - 10;
        QCOMPARE(A::out(p)->pos(), QPoint(x, 5));
        QCOMPARE(in->pos(), QPoint(x, in->height() + 10));
        QCOMPARE(p.slider->geometry(), QRect(x, 2 * in->height() + 15, in->width(), 300 - in->width() / 2));
        QCOMPARE(p.horizontalSlider->geometry(), QRect(300 - 114, 375, 228, in->width()));
        QCOMPARE(A::pixmap(p).size(), QSize(600, 400));

        // In image mode the slider keeps its hinted size.
        float cells[4] = {1, 2, 3, 4};
        p.setMatrixData(QPoint(2, 2), cells);
        const QSize hinted = p.slider->size();
        p.resize(700, 500);
        QTRY_COMPARE(p.size(), QSize(700, 500));
        QCOMPARE(p.slider->geometry(), QRect(QPoint(700 - A::out(p)->width() - 10, 2 * in->height() + 15), hinted));
        QCOMPARE(A::pixmap(p).size(), QSize(700, 500));
    }

    void gridCurvesAndBackground()
    {
        Plotter p;
        p.resize(probeSize);
        p.setCurveData(7, {{0, 7.5}, {10, 7.5}}); // colour 7 mod 6: green
        p.setCurveData(0, shelf());
        QImage img = A::image(p);
        QCOMPARE(img.pixel(2, 2), dark(p));
        QCOMPARE(img.pixel(232, 60), quiteDark(p)); // grid line 3 of 10
        // 11 lines each way; the outer ones lie under the light frame.
        QCOMPARE(count(img, QRect(83, 60, 499, 1), quiteDark(p)), 9);
        QCOMPARE(count(img, QRect(107, 51, 1, 199), quiteDark(p)), 9);
        QCOMPARE(img.pixel(82, 60), light(p));
        QCOMPARE(img.pixel(107, 250), light(p));
        QCOMPARE(img.pixel(232, 253), light(p)); // x tick
        QCOMPARE(img.pixel(332, 150), red);
        QCOMPARE(img.pixel(332, 100), green);
        QVERIFY(count(img, QRect(60, 256, 540, 14), dark(p), true) > 0); // x tick labels
        QCOMPARE(img.pixel(585, 150), dark(p));

        // Second axis: right ticks, green labels, frame redrawn darker.
        p.isSecondCurve = true;
        p.currentSettings().maxX2 = p.currentSettings().maxY2 = 1;
        p.refreshPixmap();
        img = A::image(p);
        QCOMPARE(img.pixel(150, 50), quiteDark(p));
        QCOMPARE(img.pixel(585, 150), light(p));
        QVERIFY(count(img, QRect(588, 140, 60, 20), green) > 0);
        QVERIFY(count(img, QRect(60, 271, 540, 10), green) > 0);

        // A constant curve lies flat across the middle; zero tick counts survive.
        p.isSecondCurve = false;
        p.curveMap.clear();
        p.setCurveData(0, {{0, 5}, {10, 5}});
        QCOMPARE(count(A::image(p), QRect(83, 150, 499, 1), red), 499);
        p.setCurveData(0, {{3, -2}});
        p.currentSettings().numXTicks = 0;
        p.currentSettings().numYTicks = -3;
        p.refreshPixmap();

        // Smaller than the margins: nothing at all is drawn.
        p.resize(150, 90);
        p.refreshPixmap();
        img = A::image(p);
        QCOMPARE(count(img, img.rect(), dark(p), true), 0);
    }

    void titleLabelsAndTheLargestIdRule()
    {
        Plotter p;
        p.resize(probeSize);
        p.title = "Title of the plot";
        p.titleIsShown = true;
        p.yLabel = "mmHg";
        const QRect titleBox(82, 0, 501, 40), yLabelBox(0, 100, 9, 100);
        p.setCurveData(0, shelf());
        p.setCurveData(1, shelf());
        QVERIFY(p.titleIsShown);
        QVERIFY(count(A::image(p), yLabelBox, dark(p), true) > 0);
        // A curve id above 1: the title shows in this drawing, then goes.
        p.setCurveData(2, shelf());
        QVERIFY(!p.titleIsShown);
        QVERIFY(count(A::image(p), titleBox, dark(p), true) > 0);
        p.refreshPixmap();
        QCOMPARE(count(A::image(p), titleBox, dark(p), true), 0);
        p.yLabelIsShown = false;
        p.xLabel = "Time (s)";
        p.xLabelIsShown = true;
        p.refreshPixmap();
        QCOMPARE(count(A::image(p), yLabelBox, dark(p), true), 0);
        QVERIFY(count(A::image(p), QRect(82, 276, 501, 25), dark(p), true) > 0);
    }

    void passiveMarkAndTraceHighlights()
    {
        Plotter p;
        p.resize(probeSize);
        p.passitive = true;
        p.setCurveData(0, shelf(0.5)); // 21 points, index k at x = k / 2
        p.isMarkCurve = true;
        p.minxZoom = 3;
        p.maxxZoom = 7;
        p.refreshPixmap();
        QImage img = A::image(p);
        QCOMPARE(QVector<QRgb>({img.pixel(157, 150), img.pixel(332, 150), img.pixel(507, 150)}),
                 QVector<QRgb>({red, green, red}));
        p.minxZoom = -4; // clamped to the curve's ends
        p.maxxZoom = 25;
        p.refreshPixmap();
        QCOMPARE(QVector<double>({p.minxZoom, p.maxxZoom}), QVector<double>({0, 10}));
        QCOMPARE(A::image(p).pixel(157, 150), green);

        // Active window: hits green, selected hit blue, pattern cyan; a hit
        // running past the curve's end is cut there.
        p.passitive = p.isMarkCurve = false;
        p.scoreList = {{2, 0.9}, {12, 0.8}, {19, 0.7}};
        A::pattern(p) = {8, 8, 8, 8};
        p.refreshPixmap();
        img = A::image(p);
        QCOMPARE(QVector<QRgb>({img.pixel(332, 150), img.pixel(432, 150), img.pixel(182, 150), img.pixel(182, 90),
                                img.pixel(557, 150)}),
                 QVector<QRgb>({red, green, blue, QColor(Qt::cyan).rgb(), green}));
        p.slider->setEnabled(false);
        p.refreshPixmap();
        QCOMPARE(A::image(p).pixel(182, 150), red);
        p.slider->setEnabled(true);
        p.slider->blockSignals(true);
        p.slider->setValue(3); // no such hit: no highlights
        p.refreshPixmap();
        QCOMPARE(A::image(p).pixel(182, 150), red);
    }

    void cursorLabelAndVerticalLine()
    {
        Plotter p;
        QPalette pal = p.palette();
        pal.setColor(QPalette::Light, QColor(200, 200, 0)); // keep white for the label
        p.setPalette(pal);
        p.resize(probeSize);
        p.show();
        QVERIFY(QTest::qWaitForWindowExposed(&p));
        const QRgb white = QColor(Qt::white).rgb();
        const QRect inside(20, 20, 560, 240); // clear of the data-less window's slider
        auto labelBox = [&](const QString& text, QPoint pos) {
            A::setLabel(p, text, pos);
            QRect box;
            count(p.grab().toImage(), inside, white, false, &box);
            return box;
        };
        QRect box = labelBox("ABCDEFGH", {200, 150});
        QVERIFY(box.left() >= 199 && box.right() > 220 && box.top() >= 136 && box.bottom() <= 151);
        box = labelBox("ABCDEFGH", {560, 150}); // would pass the right edge
        QVERIFY(box.right() <= 561 && box.left() < 540);
        box = labelBox("ABCDEFGH", {200, 55}); // would pass the top
        QVERIFY(box.top() >= 54 && box.bottom() <= 70 && !box.isEmpty());
        QVERIFY(labelBox(QString(), {200, 150}).isEmpty());

        // The vertical line of an image window, carried into its links' drawings.
        Plotter row, signal;
        for (Plotter* w : {&row, &signal}) {
            w->resize(probeSize);
            w->show();
            w->setCurveData(0, shelf());
        }
        float cells[4] = {1, 2, 3, 4};
        p.setMatrixData(QPoint(2, 2), cells);
        p.verticalLineEnable = true;
        A::setLabel(p, QString(), {307, 150});
        QCOMPARE(p.grab().toImage().pixel(307, 100), light(p));
        QCOMPARE(A::image(row).pixel(307, 100), dark(row)); // no links yet
        p.pList2 = &row;
        p.pList3 = &signal;
        p.grab();
        for (Plotter* w : {&row, &signal}) {
            const QImage img = A::image(*w);
            QCOMPARE(QVector<QRgb>({img.pixel(307, 2), img.pixel(307, 150), img.pixel(307, 298)}),
                     QVector<QRgb>(3, light(p)));
        }
    }
};

QTEST_MAIN(TestPlotter)
#include "test_plotter.moc"
