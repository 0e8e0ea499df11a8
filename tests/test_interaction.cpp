// Mouse, keyboard and wheel handling of the plot window: rubber-band zoom,
// bonded and linked zoom, the vertical-line click, the magnetic cursor,
// arrow keys, plus/minus and the wheel.

#include <QtTest>

#include "app/mainwindow.h"
#include "plot/plotter.h"
#include "testutil.h"

class PlotterTestAccess
{
public:
    static QString label(const Plotter& p) { return p.curveLabel; }
    static QPoint labelPos(const Plotter& p) { return p.curveLabelPos; }
    static bool searching(const Plotter& p) { return p.enableCursorPosCheck; }
    static bool signingOff(const Plotter& p) { return p.signingOff; }
    static bool bandShown(const Plotter& p) { return p.rubberBandIsShown; }
    static void showBand(Plotter& p, const QRect& band)
    {
        p.rubberBandRect = band;
        p.rubberBandIsShown = true;
    }
    static void setColorDepth(Plotter& p, int d) { p.colorDepth = d; }
};

namespace {

// Window of 600 x 400 with the default margins: plot area left 82, top 50,
// 446 x 300 pixels (last column 527, last row 349).
const QSize kSize(600, 400);

void sendMouse(QWidget* w, QEvent::Type type, const QPoint& pos, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void drag(QWidget* w, const QPoint& from, const QPoint& to)
{
    sendMouse(w, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    sendMouse(w, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    sendMouse(w, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

void moveTo(QWidget* w, const QPoint& pos)
{
    sendMouse(w, QEvent::MouseMove, pos, Qt::NoButton, Qt::NoButton);
}

bool sendWheel(QWidget* w, const QPoint& angle)
{
    const QPointF pos(300, 200);
    QWheelEvent e(pos, QPointF(w->mapToGlobal(pos.toPoint())), QPoint(), angle, Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    e.setAccepted(false);
    QApplication::sendEvent(w, &e);
    return e.isAccepted();
}

// A curve whose view is x 0 to 446 and y 0 to 300: one unit per pixel of
// the plot area in both directions.
QVector<QPointF> unitCurve()
{
    QVector<QPointF> c;
    for (int i = 0; i <= 446; ++i)
        c.append(QPointF(i, 300.0 * i / 446.0));
    return c;
}

void setImage(Plotter& p, int cols, int rows, float minX, float maxX, float minY, float maxY)
{
    QVector<float> block(cols * rows);
    for (int i = 0; i < block.size(); ++i)
        block[i] = static_cast<float>(i % 97);
    p.currentMatrixMapIndex = 0;
    p.minX = minX;
    p.maxX = maxX;
    p.minY = minY;
    p.maxY = maxY;
    p.setMatrixData(QPoint(cols, rows), block.data());
}

// Records the keys that reach it from a child.
class KeyParent : public QWidget
{
public:
    QList<int> keys;
    int wheels = 0;

protected:
    void keyPressEvent(QKeyEvent* e) override { keys << e->key(); }
    void wheelEvent(QWheelEvent*) override { ++wheels; }
};

} // namespace

class TestInteraction : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The record's files are resources of the static library.
        Q_INIT_RESOURCE(resources);
    }
    void rubberBandZoomsToExactView();
    void bandPartlyOutsideIsClamped();
    void clickThresholdIsFourPixels();
    void bandIsDrawnAlikeWhicheverWayDragged();
    void leftPressOutsidePlotAreaStartsNoBand();
    void passiveWindowIgnoresBandKeysAndWheel();
    void newZoomForgetsZoomInsAfterZoomOut();
    void bondedZoomAndZoomOutAcrossWindows();
    void unbondedZoomActsOnOneWindow();
    void imageZoomDrivesLinkedWindows();
    void imageZoomWithoutLinks();
    void imageZoomToEmptyCellsIsDropped();
    void verticalLineClick();
    void magneticCursorFindsSample();
    void magneticCursorSkipsShortAndDegenerateCurves();
    void magneticCursorMovesPointerOntoSample();
    void arrowKeysScrollByTicks();
    void plusMinusStepThroughZoomStack();
    void otherKeysReachParent();
    void wheelScrollsCurveView();
    void wheelChangesImageColourDepth();
};

void TestInteraction::rubberBandZoomsToExactView()
{
    Plotter p;
    p.resize(kSize);
    p.show();
    p.setCurveData(0, unitCurve());
    QCOMPARE(p.plotArea(), QRect(82, 50, 446, 300));

    drag(&p, QPoint(82 + 100, 50 + 50), QPoint(82 + 200, 50 + 150));
    QVERIFY(!PlotterTestAccess::bandShown(p));
    QCOMPARE(p.curZoom, 1);
    QCOMPARE(p.zoomStack.size(), 2);
    const PlotSettings& s = p.zoomStack[1];
    // x is the exact selection; y (150 to 250) widened to whole steps of 20.
    QCOMPARE(s.minX, 100.0);
    QCOMPARE(s.maxX, 200.0);
    QCOMPARE(s.numXTicks, 10);
    QCOMPARE(s.minY, 140.0);
    QCOMPARE(s.maxY, 260.0);
    QCOMPARE(s.numYTicks, 6);
    // The data view stays below it.
    QCOMPARE(p.zoomStack[0].minX, 0.0);
    QCOMPARE(p.zoomStack[0].maxX, 446.0);

    // A band dragged up and to the left selects the same view.
    p.setCurveData(0, unitCurve());
    drag(&p, QPoint(82 + 200, 50 + 150), QPoint(82 + 100, 50 + 50));
    QCOMPARE(p.curZoom, 1);
    QCOMPARE(p.zoomStack[1].minX, 100.0);
    QCOMPARE(p.zoomStack[1].maxX, 200.0);
    QCOMPARE(p.zoomStack[1].minY, 140.0);
    QCOMPARE(p.zoomStack[1].maxY, 260.0);
}

void TestInteraction::bandPartlyOutsideIsClamped()
{
    Plotter p;
    p.resize(kSize);
    p.show();
    p.setCurveData(0, unitCurve());
    // From inside the plot area to beyond its right and bottom edges.
    drag(&p, QPoint(82 + 300, 50 + 100), QPoint(590, 395));
    QCOMPARE(p.curZoom, 1);
    const PlotSettings& s = p.zoomStack[1];
    QCOMPARE(s.minX, 300.0);
    QCOMPARE(s.maxX, 446.0);
    QCOMPARE(s.minY, 0.0);
    QCOMPARE(s.maxY, 200.0);
    QCOMPARE(s.numYTicks, 10);
}

void TestInteraction::clickThresholdIsFourPixels()
{
    Plotter p;
    p.resize(kSize);
    p.show();
    p.setCurveData(0, unitCurve());
    const QPoint a(200, 150);

    drag(&p, a, a); // a plain click
    QCOMPARE(p.curZoom, 0);
    drag(&p, a, a + QPoint(2, 2)); // band of 3 x 3 pixels
    QCOMPARE(p.curZoom, 0);
    drag(&p, a, a + QPoint(50, 2)); // wide but only 3 pixels high
    QCOMPARE(p.curZoom, 0);
    drag(&p, a, a - QPoint(2, 50)); // tall but only 3 pixels wide
    QCOMPARE(p.curZoom, 0);
    QCOMPARE(p.zoomStack.size(), 1);

    drag(&p, a, a + QPoint(3, 3)); // 4 x 4 pixels already zoom
    QCOMPARE(p.curZoom, 1);
    QCOMPARE(p.zoomStack[1].minX, 200.0 - 82);
    QCOMPARE(p.zoomStack[1].maxX, 203.0 - 82);
}

void TestInteraction::leftPressOutsidePlotAreaStartsNoBand()
{
    Plotter p;
    p.resize(kSize);
    p.show();
    p.setCurveData(0, unitCurve());
    sendMouse(&p, QEvent::MouseButtonPress, QPoint(81, 100), Qt::LeftButton, Qt::LeftButton);
    QVERIFY(!PlotterTestAccess::bandShown(p));
    sendMouse(&p, QEvent::MouseMove, QPoint(300, 300), Qt::NoButton, Qt::LeftButton);
    sendMouse(&p, QEvent::MouseButtonRelease, QPoint(300, 300), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(p.curZoom, 0);

    // The plot area's edges belong to it.
    sendMouse(&p, QEvent::MouseButtonPress, QPoint(82, 50), Qt::LeftButton, Qt::LeftButton);
    QVERIFY(PlotterTestAccess::bandShown(p));
    QCOMPARE(p.rubberBandRect, QRect(QPoint(82, 50), QPoint(82, 50)));
    sendMouse(&p, QEvent::MouseMove, QPoint(90, 70), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(p.rubberBandRect, QRect(QPoint(82, 50), QPoint(90, 70)));
    // A release of another button leaves the band alone.
    sendMouse(&p, QEvent::MouseButtonRelease, QPoint(90, 70), Qt::MiddleButton, Qt::LeftButton);
    QVERIFY(PlotterTestAccess::bandShown(p));
    sendMouse(&p, QEvent::MouseButtonRelease, QPoint(90, 70), Qt::LeftButton, Qt::NoButton);
    QVERIFY(!PlotterTestAccess::bandShown(p));
    QCOMPARE(p.curZoom, 1);
}

void TestInteraction::bandIsDrawnAlikeWhicheverWayDragged()
{
    // The band is drawn on the pixels that its repaints cover, also when it
    // was dragged up and to the left.
    Plotter p;
    p.resize(kSize);
    p.setCurveData(0, unitCurve());
    PlotterTestAccess::showBand(p, QRect(QPoint(100, 80), QPoint(200, 150)));
    const QImage downRight = p.grab().toImage();
    PlotterTestAccess::showBand(p, QRect(QPoint(200, 150), QPoint(100, 80)));
    const QImage upLeft = p.grab().toImage();
    QCOMPARE(upLeft, downRight);
    const QRgb band = p.palette().color(QPalette::Light).rgb();
    QCOMPARE(upLeft.pixel(100, 115), band);
    QCOMPARE(upLeft.pixel(200, 115), band);
}

void TestInteraction::passiveWindowIgnoresBandKeysAndWheel()
{
    KeyParent parent;
    Plotter* p = new Plotter(&parent);
    parent.resize(kSize);
    p->resize(kSize);
    parent.show();
    p->setCurveData(0, unitCurve());
    p->passitive = true;

    drag(p, QPoint(182, 100), QPoint(282, 200));
    QCOMPARE(p->curZoom, 0);
    QVERIFY(!PlotterTestAccess::bandShown(*p));

    QTest::keyClick(p, Qt::Key_Left);
    QTest::keyClick(p, Qt::Key_A);
    QCOMPARE(p->zoomStack[0].minX, 0.0);
    QVERIFY(parent.keys.isEmpty());

    QVERIFY(sendWheel(p, QPoint(0, 120)));
    QCOMPARE(p->zoomStack[0].minY, 0.0);
    QCOMPARE(parent.wheels, 0);
}

void TestInteraction::newZoomForgetsZoomInsAfterZoomOut()
{
    MainWindow w;
    w.isBondSignals = false;
    Plotter p;
    p.mainw = &w;
    p.resize(kSize);
    p.show();
    p.setCurveData(0, unitCurve());
    drag(&p, QPoint(182, 100), QPoint(382, 300));
    drag(&p, QPoint(182, 100), QPoint(382, 300));
    QCOMPARE(p.curZoom, 2);
    QCOMPARE(p.zoomStack.size(), 3);
    QTest::keyClick(&p, Qt::Key_Minus);
    QCOMPARE(p.curZoom, 1);
    drag(&p, QPoint(100, 60), QPoint(300, 200));
    QCOMPARE(p.curZoom, 2);
    QCOMPARE(p.zoomStack.size(), 3);
}

void TestInteraction::bondedZoomAndZoomOutAcrossWindows()
{
    MainWindow w;
    w.show();
    QCOMPARE(w.plotterCount, 8);
    QVERIFY(w.isBondSignals);
    Plotter* first = w.plotterList[0];
    const QRect area = first->plotArea();
    QVERIFY(area.width() > 20 && area.height() > 20);

    QVector<PlotSettings> before;
    for (int i = 0; i < 8; ++i)
        before << w.plotterList[i]->zoomStack[0];

    const QPoint from = area.topLeft() + QPoint(area.width() / 4, area.height() / 5);
    const QPoint to = area.topLeft() + QPoint(area.width() / 2, area.height() / 2);
    drag(first, from, to);

    const int wp = first->width() - (first->MarginLeft + first->MarginRight) - 10;
    const double fracLeft = double(from.x() - area.left()) / wp;
    const double fracRight = double(to.x() - area.left()) / wp;
    for (int i = 0; i < 8; ++i) {
        Plotter* p = w.plotterList[i];
        QCOMPARE(p->curZoom, 1);
        QCOMPARE(p->zoomStack.size(), 2);
        const PlotSettings& s = p->zoomStack[1];
        // Same fractions of each window's own x range, not rounded.
        QVERIFY(qAbs(s.minX - (before[i].minX + fracLeft * before[i].spanX())) < 1e-9);
        QVERIFY(qAbs(s.maxX - (before[i].minX + fracRight * before[i].spanX())) < 1e-9);
        // y widened to whole steps within the window's own range.
        const double step = s.spanY() / s.numYTicks;
        QVERIFY(s.numYTicks >= 4);
        QVERIFY(qAbs(s.minY / step - qRound(s.minY / step)) < 1e-6);
        QVERIFY(qAbs(s.maxY / step - qRound(s.maxY / step)) < 1e-6);
    }

    // Minus on one window steps every zoomed window back.
    QTest::keyClick(w.plotterList[5], Qt::Key_Minus);
    for (int i = 0; i < 8; ++i)
        QCOMPARE(w.plotterList[i]->curZoom, 0);
}

void TestInteraction::unbondedZoomActsOnOneWindow()
{
    MainWindow w;
    w.show();
    w.isBondSignals = false;
    Plotter* p = w.plotterList[2];
    const QRect area = p->plotArea();
    drag(p, area.topLeft() + QPoint(10, 10), area.topLeft() + QPoint(60, 40));
    QCOMPARE(p->curZoom, 1);
    for (int i = 0; i < 8; ++i) {
        if (i != 2)
            QCOMPARE(w.plotterList[i]->curZoom, 0);
    }
}

void TestInteraction::imageZoomDrivesLinkedWindows()
{
    MainWindow w;
    w.isBondSignals = false;
    w.isSingleWindow = true; // no image selection after the zoom
    Plotter* img = w.plotterListMatrix[1];
    Plotter* above = w.plotterListMatrix[0];
    Plotter* row = w.plotterListMatrix[2];
    Plotter* below = w.plotterListMatrix[3];
    QCOMPARE(img->pList0, above);
    QCOMPARE(img->pList2, row);
    QCOMPARE(img->pList3, below);
    img->passitive = false;

    QVector<QPointF> sig;
    for (int i = 0; i <= 484; ++i)
        sig.append(QPointF(i, (i % 10) - 5.0));
    for (Plotter* q : {above, row, below}) {
        q->resize(kSize);
        q->setCurveData(0, sig);
    }
    img->resize(kSize);
    img->show();
    // Right margin 34: plot area 484 x 300; 485 columns and 301 rows give
    // one cell and one axis unit per pixel.
    QCOMPARE(img->MarginRight, 34);
    setImage(*img, 485, 301, 0.0f, 484.0f, 0.0f, 300.0f);
    QVERIFY(img->isImageMode());
    QCOMPARE(img->zoomStack[0].draw, QRect(0, 0, 485, 301));

    drag(img, QPoint(82 + 100, 50 + 50), QPoint(82 + 200, 50 + 150));
    QCOMPARE(img->curZoom, 1);
    const PlotSettings& s = img->zoomStack[1];
    QCOMPARE(s.minX, 100.0);
    QCOMPARE(s.maxX, 200.0);
    QCOMPARE(s.minY, 140.0);
    QCOMPARE(s.maxY, 260.0);
    QCOMPARE(s.draw.left(), 100);
    QCOMPARE(s.draw.right(), 200);
    QCOMPARE(s.draw.top(), 50);
    QCOMPARE(s.draw.bottom(), 150);

    // The signal window below follows the time range, keeping its y range.
    QCOMPARE(below->curZoom, 1);
    QCOMPARE(below->zoomStack.size(), 2);
    QCOMPARE(below->zoomStack[1].minX, 100.0);
    QCOMPARE(below->zoomStack[1].maxX, 200.0);
    QCOMPARE(below->zoomStack[1].minY, below->zoomStack[0].minY);
    QCOMPARE(below->zoomStack[1].maxY, below->zoomStack[0].maxY);
    // The one above marks it.
    QVERIFY(above->isMarkCurve);
    QCOMPARE(above->minxZoom, 100.0);
    QCOMPARE(above->maxxZoom, 200.0);
    QCOMPARE(row->curZoom, 0);

    // Minus steps the image and the window below back together.
    QTest::keyClick(img, Qt::Key_Minus);
    QCOMPARE(img->curZoom, 0);
    QCOMPARE(below->curZoom, 0);
}

void TestInteraction::imageZoomWithoutLinks()
{
    // An image in a signal window of a bonded analysis has no links.
    Plotter p;
    p.resize(kSize);
    p.show();
    setImage(p, 447, 301, 0.0f, 446.0f, 0.0f, 300.0f);
    drag(&p, QPoint(82 + 10, 50 + 20), QPoint(82 + 110, 50 + 220));
    QCOMPARE(p.curZoom, 1);
    QCOMPARE(p.zoomStack[1].draw.left(), 10);
    QCOMPARE(p.zoomStack[1].draw.right(), 110);
    QCOMPARE(p.zoomStack[1].draw.top(), 20);
    QCOMPARE(p.zoomStack[1].draw.bottom(), 220);
}

void TestInteraction::imageZoomToEmptyCellsIsDropped()
{
    Plotter p;
    p.resize(kSize);
    p.show();
    // Two by two cells over the whole area: a small band lies within one cell.
    setImage(p, 2, 2, 0.0f, 1.0f, 0.0f, 1.0f);
    drag(&p, QPoint(82 + 10, 50 + 10), QPoint(82 + 30, 50 + 30));
    QCOMPARE(p.curZoom, 0);
    QCOMPARE(p.zoomStack.size(), 1);
}

void TestInteraction::verticalLineClick()
{
    MainWindow w;
    w.isBondSignals = false;
    w.isSingleWindow = true;
    Plotter* img = w.plotterListMatrix[1];
    img->passitive = false;
    img->resize(kSize);
    img->show();
    setImage(*img, 485, 301, 0.0f, 484.0f, 0.0f, 300.0f);
    Plotter* row = w.plotterListMatrix[2];
    Plotter* below = w.plotterListMatrix[3];

    drag(img, QPoint(300, 200), QPoint(300, 200));
    QVERIFY(img->verticalLineEnable);
    QVERIFY(row->verticalLineEnable);
    QVERIFY(below->verticalLineEnable);
    QCOMPARE(img->curZoom, 0);
    drag(img, QPoint(310, 210), QPoint(312, 212));
    QVERIFY(!img->verticalLineEnable);
    QVERIFY(!row->verticalLineEnable);
    QVERIFY(!below->verticalLineEnable);

    // Bonded signals: a click changes nothing.
    w.isBondSignals = true;
    drag(img, QPoint(300, 200), QPoint(300, 200));
    QVERIFY(!img->verticalLineEnable);
    QVERIFY(!below->verticalLineEnable);

    // A click on a curve window changes nothing either.
    w.isBondSignals = false;
    Plotter c;
    c.mainw = &w;
    c.resize(kSize);
    c.show();
    c.setCurveData(0, unitCurve());
    drag(&c, QPoint(300, 200), QPoint(300, 200));
    QVERIFY(!c.verticalLineEnable);

    // An image window without links switches its own line only.
    Plotter lone;
    lone.mainw = &w;
    lone.resize(kSize);
    lone.show();
    setImage(lone, 447, 301, 0.0f, 446.0f, 0.0f, 300.0f);
    drag(&lone, QPoint(300, 200), QPoint(300, 200));
    QVERIFY(lone.verticalLineEnable);
}

void TestInteraction::magneticCursorFindsSample()
{
    Plotter p;
    p.resize(kSize);
    p.show();
    // View x 0 to 2, y -1 to 1. Sample 3 (1.5, -0.25) lies at pixel
    // x 82 + 445 * 0.75 = 415.75 and y 349 - 299 * 0.375 = 236.875.
    p.setCurveData(0, {QPointF(0, 0), QPointF(0.5, 0.5), QPointF(1, 1), QPointF(1.5, -0.25),
                       QPointF(2, -1)});

    // A new window owes a pointer move first; the move after it searches.
    QVERIFY(!PlotterTestAccess::searching(p));
    moveTo(&p, QPoint(415, 232));
    QCOMPARE(PlotterTestAccess::label(p), QString());
    QVERIFY(PlotterTestAccess::searching(p));
    moveTo(&p, QPoint(415, 232));
    QCOMPARE(PlotterTestAccess::label(p), QString("Signal_0: 1.5, -0.25"));
    QCOMPARE(PlotterTestAccess::labelPos(p), QPoint(415, 236));
    QVERIFY(!PlotterTestAccess::searching(p));

    // The next move owes the pointer move and keeps the label.
    moveTo(&p, QPoint(415, 232));
    QVERIFY(PlotterTestAccess::searching(p));
    QVERIFY(PlotterTestAccess::signingOff(p));
    QCOMPARE(PlotterTestAccess::label(p), QString("Signal_0: 1.5, -0.25"));

    // The sample's own pixel row lies just below its search band.
    moveTo(&p, QPoint(415, 236));
    QCOMPARE(PlotterTestAccess::label(p), QString());
    QVERIFY(!PlotterTestAccess::signingOff(p));
    // The band's top row still hits.
    moveTo(&p, QPoint(415, 228));
    QCOMPARE(PlotterTestAccess::label(p), QString("Signal_0: 1.5, -0.25"));
    moveTo(&p, QPoint(415, 228));
    moveTo(&p, QPoint(415, 227));
    QCOMPARE(PlotterTestAccess::label(p), QString());

    // Outside the plot area nothing changes.
    moveTo(&p, QPoint(415, 232));
    moveTo(&p, QPoint(415, 232));
    moveTo(&p, QPoint(40, 232));
    QCOMPARE(PlotterTestAccess::label(p), QString("Signal_0: 1.5, -0.25"));
    QVERIFY(PlotterTestAccess::searching(p));

    // A passive window refuses the band but still reads out samples.
    p.passitive = true;
    moveTo(&p, QPoint(415, 100));
    QCOMPARE(PlotterTestAccess::label(p), QString());
    moveTo(&p, QPoint(415, 232));
    QCOMPARE(PlotterTestAccess::label(p), QString("Signal_0: 1.5, -0.25"));
}

void TestInteraction::magneticCursorSkipsShortAndDegenerateCurves()
{
    Plotter p;
    p.resize(kSize);
    p.show();
    // Curve 0 has two equal first x values and curve 1 only two points:
    // both are passed over (curve 0's samples lie right under the pointer).
    // Curve 2, given last, sets the view (x 0 to 2, y -1 to 1) and is found.
    p.setCurveData(0, {QPointF(1, -0.25), QPointF(1, -0.25), QPointF(1, -0.25), QPointF(1, -0.25)});
    p.setCurveData(1, {QPointF(0, 0), QPointF(2, 0)});
    p.setCurveData(2, {QPointF(0, 0), QPointF(0.5, 0.5), QPointF(1, 1), QPointF(1.5, -0.25),
                       QPointF(2, -1)});
    moveTo(&p, QPoint(415, 232));
    moveTo(&p, QPoint(415, 232));
    QCOMPARE(PlotterTestAccess::label(p), QString("Signal_2: 1.5, -0.25"));

    // A window with only short curves finds nothing and does not fail.
    Plotter q;
    q.resize(kSize);
    q.show();
    q.setCurveData(0, {QPointF(0, 0), QPointF(1, 1)});
    q.setCurveData(1, {QPointF(0.5, 0.5)});
    for (int x = 82; x < 528; x += 37)
        for (int y = 50; y < 350; y += 23)
            moveTo(&q, QPoint(x, y));
    QCOMPARE(PlotterTestAccess::label(q), QString());
}

void TestInteraction::magneticCursorMovesPointerOntoSample()
{
    MainWindow w;
    w.isMagneticCursor = true;
    Plotter p;
    p.mainw = &w;
    p.resize(kSize);
    p.show();
    p.setCurveData(0, {QPointF(0, 0), QPointF(0.5, 0.5), QPointF(1, 1), QPointF(1.5, -0.25),
                       QPointF(2, -1)});
    const QPoint away = p.mapToGlobal(QPoint(300, 300));
    QCursor::setPos(away);
    // Nothing found yet: the first move does not send the pointer anywhere.
    moveTo(&p, QPoint(415, 232));
    QCOMPARE(QCursor::pos(), away);
    moveTo(&p, QPoint(415, 232));
    QCOMPARE(PlotterTestAccess::label(p), QString("Signal_0: 1.5, -0.25"));
    moveTo(&p, QPoint(415, 232));
    QCOMPARE(QCursor::pos(), p.mapToGlobal(QPoint(415, 236)));

    // With the option off the pointer stays where the user put it.
    w.isMagneticCursor = false;
    QCursor::setPos(away);
    moveTo(&p, QPoint(415, 232));
    moveTo(&p, QPoint(415, 232));
    QCOMPARE(QCursor::pos(), away);
}

void TestInteraction::arrowKeysScrollByTicks()
{
    Plotter p;
    p.resize(kSize);
    p.show();
    QVector<QPointF> c;
    for (int i = 0; i <= 10; ++i)
        c.append(QPointF(i, i - 5.0));
    p.setCurveData(0, c);

    QTest::keyClick(&p, Qt::Key_Left);
    QCOMPARE(p.zoomStack[0].minX, -1.0);
    QCOMPARE(p.zoomStack[0].maxX, 9.0);
    QTest::keyClick(&p, Qt::Key_Right);
    QCOMPARE(p.zoomStack[0].minX, 0.0);
    QCOMPARE(p.zoomStack[0].maxX, 10.0);
    QTest::keyClick(&p, Qt::Key_Up);
    QCOMPARE(p.zoomStack[0].minY, -4.0);
    QCOMPARE(p.zoomStack[0].maxY, 6.0);
    QTest::keyClick(&p, Qt::Key_Down, Qt::ShiftModifier); // modifiers do not matter
    QCOMPARE(p.zoomStack[0].minY, -5.0);
    QCOMPARE(p.zoomStack[0].maxY, 5.0);
}

void TestInteraction::plusMinusStepThroughZoomStack()
{
    MainWindow w;
    w.isBondSignals = false;
    Plotter p;
    p.mainw = &w;
    p.resize(kSize);
    p.show();
    p.setCurveData(0, unitCurve());
    drag(&p, QPoint(182, 100), QPoint(382, 300));
    QCOMPARE(p.curZoom, 1);
    QTest::keyClick(&p, Qt::Key_Minus);
    QCOMPARE(p.curZoom, 0);
    QTest::keyClick(&p, Qt::Key_Minus);
    QCOMPARE(p.curZoom, 0);
    QTest::keyClick(&p, Qt::Key_Plus);
    QCOMPARE(p.curZoom, 1);
    QTest::keyClick(&p, Qt::Key_Plus);
    QCOMPARE(p.curZoom, 1);

    // A scrolled zoom level comes back as it was left.
    QTest::keyClick(&p, Qt::Key_Right);
    const double shifted = p.zoomStack[1].minX;
    QCOMPARE(shifted, 100.0 + 20.0);
    QTest::keyClick(&p, Qt::Key_Minus);
    QTest::keyClick(&p, Qt::Key_Plus);
    QCOMPARE(p.zoomStack[p.curZoom].minX, shifted);
}

void TestInteraction::otherKeysReachParent()
{
    KeyParent parent;
    Plotter* p = new Plotter(&parent);
    parent.resize(kSize);
    p->resize(kSize);
    parent.show();
    p->setCurveData(0, unitCurve());
    QTest::keyClick(p, Qt::Key_A);
    QTest::keyClick(p, Qt::Key_Escape);
    QTest::keyClick(p, Qt::Key_Left);
    QCOMPARE(parent.keys, QList<int>({Qt::Key_A, Qt::Key_Escape}));
}

void TestInteraction::wheelScrollsCurveView()
{
    KeyParent parent;
    Plotter* p = new Plotter(&parent);
    parent.resize(kSize);
    p->resize(kSize);
    parent.show();
    QVector<QPointF> c;
    for (int i = 0; i <= 10; ++i)
        c.append(QPointF(i, i - 5.0));
    p->setCurveData(0, c);
    const PlotSettings& s = p->zoomStack[0];

    QVERIFY(sendWheel(p, QPoint(0, 120)));
    QCOMPARE(s.minY, -4.0);
    sendWheel(p, QPoint(0, -120));
    QCOMPARE(s.minY, -5.0);
    sendWheel(p, QPoint(0, 240));
    QCOMPARE(s.minY, -3.0);
    sendWheel(p, QPoint(0, -240));
    sendWheel(p, QPoint(0, 100));
    sendWheel(p, QPoint(0, 60));
    sendWheel(p, QPoint(0, -119));
    QCOMPARE(s.minY, -5.0);
    QCOMPARE(s.minX, 0.0);

    // Horizontal: one notch moves the x range one tick to the right.
    sendWheel(p, QPoint(120, 0));
    QCOMPARE(s.minX, 1.0);
    QCOMPARE(s.maxX, 11.0);
    QCOMPARE(s.minY, -5.0);
    // Diagonal trackpad scrolls follow the larger component.
    sendWheel(p, QPoint(-120, 40));
    QCOMPARE(s.minX, 0.0);
    QCOMPARE(s.minY, -5.0);
    sendWheel(p, QPoint(30, 120));
    QCOMPARE(s.minX, 0.0);
    QCOMPARE(s.minY, -4.0);
    QCOMPARE(parent.wheels, 0);
}

void TestInteraction::wheelChangesImageColourDepth()
{
    Plotter p;
    p.resize(kSize);
    p.show();
    setImage(p, 20, 10, 0.0f, 1.0f, 0.0f, 1.0f);
    QCOMPARE(p.imageColorDepth(), 76);
    sendWheel(&p, QPoint(0, 120));
    QCOMPARE(p.imageColorDepth(), 79);
    sendWheel(&p, QPoint(0, -240));
    QCOMPARE(p.imageColorDepth(), 73);
    sendWheel(&p, QPoint(0, 40));
    QCOMPARE(p.imageColorDepth(), 74);
    sendWheel(&p, QPoint(0, 39));
    QCOMPARE(p.imageColorDepth(), 74);
    // The view does not scroll in image mode.
    QCOMPARE(p.zoomStack[0].minY, 0.0);

    PlotterTestAccess::setColorDepth(p, 253);
    sendWheel(&p, QPoint(0, 120)); // 256 is refused whole
    QCOMPARE(p.imageColorDepth(), 253);
    sendWheel(&p, QPoint(0, 40));
    QCOMPARE(p.imageColorDepth(), 254);
    PlotterTestAccess::setColorDepth(p, 2);
    sendWheel(&p, QPoint(0, -120)); // -1 is refused whole
    QCOMPARE(p.imageColorDepth(), 2);
    sendWheel(&p, QPoint(0, -40));
    QCOMPARE(p.imageColorDepth(), 1);
}

QTEST_MAIN(TestInteraction)
#include "test_interaction.moc"
