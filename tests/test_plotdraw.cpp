#include <QtTest>

#include <QSlider>

#include "plot/plotter.h"

class PlotterTestAccess
{
public:
    static QImage image(Plotter& p) { return p.pixmap.toImage(); }
    static QVector<float>& pattern(Plotter& p) { return p.pattern; }
    static void setLabel(Plotter& p, const QString& text, QPoint pos)
    {
        p.curveLabel = text;
        p.curveLabelPos = pos;
    }
};

namespace {

// 655 x 301 gives the plot area (82, 50, 501, 201): with a 0..10 view on both
// axes x maps to 82 + 50 x and y to 250 - 20 y, exactly on pixels.
const QSize probeSize(655, 301);

QRgb dark(const Plotter& p)
{
    return p.palette().color(QPalette::Dark).rgb();
}

QRgb quiteDark(const Plotter& p)
{
    return p.palette().color(QPalette::Dark).lighter(150).rgb();
}

QRgb light(const Plotter& p)
{
    return p.palette().color(QPalette::Light).rgb();
}

int countColour(const QImage& img, const QRect& area, QRgb colour)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (img.pixel(x, y) == colour)
                ++n;
    return n;
}

int countOther(const QImage& img, const QRect& area, QRgb colour)
{
    return area.width() * area.height() - countColour(img, area, colour);
}

// Bounding box of the pixels of one colour inside an area.
QRect boundsOf(const QImage& img, const QRect& area, QRgb colour)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (img.pixel(x, y) == colour)
                box |= QRect(x, y, 1, 1);
    return box;
}

// y = 5 across the middle, with end points that make the view 0..10.
QVector<QPointF> shelf(double step = 1.0)
{
    QVector<QPointF> v{{0, 0}};
    for (double x = step; x < 10 - step / 2; x += step)
        v.append({x, 5});
    v.append({10, 10});
    return v;
}

} // namespace

class TestPlotDraw : public QObject
{
    Q_OBJECT
private slots:
    void gridCurveAndBackground()
    {
        Plotter p;
        p.resize(probeSize);
        p.setCurveData(0, shelf());
        const QImage img = PlotterTestAccess::image(p);
        QCOMPARE(img.size(), probeSize);

        QCOMPARE(img.pixel(2, 2), dark(p));
        QCOMPARE(img.pixel(400, 290), dark(p));
        // Grid line 3 of 10 at 82 + (500 * 3) / 10.
        QCOMPARE(img.pixel(232, 60), quiteDark(p));
        // 11 vertical lines: 9 inside, the outer two under the light frame.
        QCOMPARE(countColour(img, QRect(83, 60, 499, 1), quiteDark(p)), 9);
        QCOMPARE(img.pixel(82, 60), light(p));
        QCOMPARE(img.pixel(582, 60), light(p));
        // 11 horizontal lines likewise.
        QCOMPARE(countColour(img, QRect(107, 51, 1, 199), quiteDark(p)), 9);
        QCOMPARE(img.pixel(107, 50), light(p));
        QCOMPARE(img.pixel(107, 250), light(p));
        // Ticks below and left of the area.
        QCOMPARE(img.pixel(232, 253), light(p));
        QCOMPARE(img.pixel(79, 150), light(p));
        // Main curve in red on top of the grid.
        QCOMPARE(img.pixel(332, 150), QColor(Qt::red).rgb());
        QCOMPARE(img.pixel(200, 150), QColor(Qt::red).rgb());
        // Tick labels below the axis and left of it.
        QVERIFY(countOther(img, QRect(60, 256, 540, 14), dark(p)) > 0);
        QVERIFY(countOther(img, QRect(10, 140, 62, 20), dark(p)) > 0);
    }

    void curveColoursFollowTheirIds()
    {
        Plotter p;
        p.resize(probeSize);
        QVector<QPointF> low = {{0, 2}, {10, 2}};
        QVector<QPointF> high = {{0, 8}, {10, 8}};
        p.setCurveData(7, high); // id 7: colour 1, green
        p.setCurveData(0, shelf());
        p.setCurveData(2, low); // blue; its flat view is replaced below
        PlotSettings s;
        s.minX = 0;
        s.maxX = 10;
        s.minY = 0;
        s.maxY = 10;
        p.setPlotSettings(s);
        const QImage img = PlotterTestAccess::image(p);
        QCOMPARE(img.pixel(332, 150), QColor(Qt::red).rgb());
        QCOMPARE(img.pixel(332, 210), QColor(Qt::blue).rgb());
        QCOMPARE(img.pixel(332, 90), QColor(Qt::green).rgb());
    }

    void flatCurveDrawsAcrossTheMiddle()
    {
        Plotter p;
        p.resize(probeSize);
        p.setCurveData(0, {{0, 5}, {10, 5}});
        QCOMPARE(p.currentSettings().spanY(), 0.0);
        QImage img = PlotterTestAccess::image(p);
        QCOMPARE(img.pixel(332, 150), QColor(Qt::red).rgb());
        QCOMPARE(countColour(img, QRect(83, 51, 499, 199), QColor(Qt::red).rgb()), 499);

        // A single point: both spans zero; tick counts of zero.
        p.setCurveData(0, {{3, -2}});
        p.currentSettings().numXTicks = 0;
        p.currentSettings().numYTicks = -3;
        p.refreshPixmap();
        img = PlotterTestAccess::image(p);
        QCOMPARE(img.pixel(2, 2), dark(p));
    }

    void secondAxisRedrawsTheFrameDarker()
    {
        Plotter p;
        p.resize(probeSize);
        p.setCurveData(0, shelf());
        QImage img = PlotterTestAccess::image(p);
        QCOMPARE(img.pixel(150, 50), light(p));
        QCOMPARE(img.pixel(585, 150), dark(p));
        const int belowLabels = countOther(img, QRect(60, 271, 540, 14), dark(p));

        p.isSecondCurve = true;
        p.currentSettings().minX2 = -5;
        p.currentSettings().maxX2 = 5;
        p.currentSettings().minY2 = -1;
        p.currentSettings().maxY2 = 1;
        p.refreshPixmap();
        img = PlotterTestAccess::image(p);
        QCOMPARE(img.pixel(150, 50), quiteDark(p));
        // Ticks on the right side and green labels beside and below.
        QCOMPARE(img.pixel(585, 150), light(p));
        QVERIFY(countColour(img, QRect(588, 140, 60, 20), QColor(Qt::green).rgb()) > 0);
        QVERIFY(countColour(img, QRect(60, 266, 540, 15), QColor(Qt::green).rgb()) > belowLabels);
    }

    void titleLabelsAndTheLargestIdRule()
    {
        Plotter p;
        p.resize(probeSize);
        p.title = "Title of the plot";
        p.titleIsShown = true;
        p.yLabel = "mmHg";
        const QRect titleBox(82, 0, 501, 40);
        const QRect yLabelBox(0, 100, 9, 100);

        p.setCurveData(0, shelf());
        p.setCurveData(1, shelf());
        QVERIFY(p.titleIsShown);
        QVERIFY(countOther(PlotterTestAccess::image(p), titleBox, dark(p)) > 0);
        QVERIFY(countOther(PlotterTestAccess::image(p), yLabelBox, dark(p)) > 0);

        // A third curve: the title shows once more, then goes.
        p.setCurveData(2, shelf());
        QVERIFY(!p.titleIsShown);
        QVERIFY(countOther(PlotterTestAccess::image(p), titleBox, dark(p)) > 0);
        p.refreshPixmap();
        QCOMPARE(countOther(PlotterTestAccess::image(p), titleBox, dark(p)), 0);

        p.yLabelIsShown = false;
        p.xLabel = "Time (s)";
        p.xLabelIsShown = true;
        p.refreshPixmap();
        QCOMPARE(countOther(PlotterTestAccess::image(p), yLabelBox, dark(p)), 0);
        QVERIFY(countOther(PlotterTestAccess::image(p), QRect(82, 276, 501, 25), dark(p)) > 0);
    }

    void passiveMarkRangeIsClampedAndHighlighted()
    {
        Plotter p;
        p.resize(probeSize);
        p.passitive = true;
        p.setCurveData(0, shelf(0.5));
        p.isMarkCurve = true;
        p.minxZoom = 3;
        p.maxxZoom = 7;
        p.refreshPixmap();
        QImage img = PlotterTestAccess::image(p);
        QCOMPARE(img.pixel(332, 150), QColor(Qt::green).rgb()); // x = 5
        QCOMPARE(img.pixel(157, 150), QColor(Qt::red).rgb());   // x = 1.5
        QCOMPARE(img.pixel(507, 150), QColor(Qt::red).rgb());   // x = 8.5

        // A range past the curve's ends is clamped to its first and last x.
        p.minxZoom = -4;
        p.maxxZoom = 25;
        p.refreshPixmap();
        QCOMPARE(p.minxZoom, 0.0);
        QCOMPARE(p.maxxZoom, 10.0);
        img = PlotterTestAccess::image(p);
        QCOMPARE(img.pixel(157, 150), QColor(Qt::green).rgb());

        // Without the mark the curve is plain.
        p.isMarkCurve = false;
        p.refreshPixmap();
        QCOMPARE(PlotterTestAccess::image(p).pixel(332, 150), QColor(Qt::red).rgb());
    }

    void traceHitsSelectedHitAndPatternOverlay()
    {
        Plotter p;
        p.resize(probeSize);
        p.setCurveData(0, shelf(0.5)); // 21 points, index k at x = k / 2
        p.scoreList = {{2, 0.9}, {12, 0.8}, {19, 0.7}};
        PlotterTestAccess::pattern(p) = {8, 8, 8, 8};
        p.slider->setEnabled(true);
        QCOMPARE(p.slider->value(), 0);
        p.refreshPixmap();
        QImage img = PlotterTestAccess::image(p);
        QCOMPARE(img.pixel(332, 150), QColor(Qt::red).rgb());   // index 10, no hit
        QCOMPARE(img.pixel(432, 150), QColor(Qt::green).rgb()); // index 14, second hit
        QCOMPARE(img.pixel(182, 150), QColor(Qt::blue).rgb());  // index 4, selected hit
        QCOMPARE(img.pixel(182, 90), QColor(Qt::cyan).rgb());   // pattern at y = 8
        // The last hit runs past the curve's end and is cut there.
        QCOMPARE(img.pixel(557, 150), QColor(Qt::green).rgb()); // index 19

        // A disabled slider hides the highlights; a bad selection draws none.
        p.slider->setEnabled(false);
        p.refreshPixmap();
        QCOMPARE(PlotterTestAccess::image(p).pixel(182, 150), QColor(Qt::red).rgb());
        p.slider->setEnabled(true);
        p.scoreList = {{2, 0.9}};
        p.slider->blockSignals(true);
        p.slider->setValue(3);
        p.slider->blockSignals(false);
        p.refreshPixmap();
        QCOMPARE(PlotterTestAccess::image(p).pixel(182, 150), QColor(Qt::red).rgb());
    }

    void tooSmallWindowDrawsNothing()
    {
        Plotter p;
        p.resize(150, 90);
        p.setCurveData(0, shelf());
        p.title = "T";
        p.titleIsShown = true;
        const QImage img = PlotterTestAccess::image(p);
        QCOMPARE(countOther(img, img.rect(), dark(p)), 0);
    }

    void cursorLabelPlacement()
    {
        Plotter p;
        QPalette pal = p.palette();
        pal.setColor(QPalette::Light, QColor(200, 200, 0));
        p.setPalette(pal);
        p.resize(probeSize);
        p.show();
        QVERIFY(QTest::qWaitForWindowExposed(&p));
        const QRgb white = QColor(Qt::white).rgb();
        // Inside the frame: a window without data still shows its slider and buttons.
        const QRect search(20, 20, 560, 240);

        PlotterTestAccess::setLabel(p, "ABCDEFGH", QPoint(200, 150));
        QRect box = boundsOf(p.grab().toImage(), search, white);
        QVERIFY(!box.isEmpty());
        QVERIFY(box.left() >= 199 && box.right() > 220);
        QVERIFY(box.top() >= 136 && box.bottom() <= 151);

        // Past the right edge: to the left of the point, right-aligned.
        PlotterTestAccess::setLabel(p, "ABCDEFGH", QPoint(560, 150));
        box = boundsOf(p.grab().toImage(), search, white);
        QVERIFY(!box.isEmpty());
        QVERIFY(box.right() <= 561 && box.left() < 540);

        // Above the top of the area: below the point.
        PlotterTestAccess::setLabel(p, "ABCDEFGH", QPoint(200, 55));
        box = boundsOf(p.grab().toImage(), search, white);
        QVERIFY(!box.isEmpty());
        QVERIFY(box.top() >= 54 && box.bottom() <= 70);

        PlotterTestAccess::setLabel(p, QString(), QPoint(200, 150));
        QVERIFY(boundsOf(p.grab().toImage(), search, white).isEmpty());
    }

    void verticalLineReachesLinkedWindows()
    {
        Plotter image, row, signal;
        for (Plotter* w : {&image, &row, &signal}) {
            w->resize(probeSize);
            w->show();
        }
        QVERIFY(QTest::qWaitForWindowExposed(&image));
        row.setCurveData(0, shelf());
        signal.setCurveData(0, shelf());
        float cells[4] = {1, 2, 3, 4};
        image.setMatrixData(QPoint(2, 2), cells);
        image.verticalLineEnable = true;
        PlotterTestAccess::setLabel(image, QString(), QPoint(307, 150));

        // Without links only this window shows the line.
        QCOMPARE(image.grab().toImage().pixel(307, 100), light(image));
        QVERIFY(PlotterTestAccess::image(row).pixel(307, 100) != light(row));

        image.pList2 = &row;
        image.pList3 = &signal;
        image.grab();
        for (Plotter* w : {&row, &signal}) {
            const QImage img = PlotterTestAccess::image(*w);
            QCOMPARE(img.pixel(307, 2), light(*w));
            QCOMPARE(img.pixel(307, 100), light(*w));
            QCOMPARE(img.pixel(307, 298), light(*w));
        }

        // Only image windows carry the line.
        row.refreshPixmap();
        image.setCurveData(0, shelf());
        image.verticalLineEnable = true;
        image.grab();
        QVERIFY(PlotterTestAccess::image(row).pixel(307, 100) != light(row));
    }
};

QTEST_MAIN(TestPlotDraw)
#include "test_plotdraw.moc"
