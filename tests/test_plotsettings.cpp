#include <QtTest>

#include <cmath>

#include "plot/plotter.h"

namespace {

struct Axis
{
    double min;
    double max;
    int ticks;
};

Axis adjusted(double min, double max, int ticks = 10)
{
    PlotSettings::adjustAxis(min, max, ticks);
    return {min, max, ticks};
}

} // namespace

class TestPlotSettings : public QObject
{
    Q_OBJECT
private slots:
    void newViewHasEmptyDrawRectangle()
    {
        PlotSettings s;
        QCOMPARE(s.draw.left(), 0);
        QCOMPARE(s.draw.top(), 0);
        QCOMPARE(s.draw.right(), -1);
        QCOMPARE(s.draw.bottom(), -1);
        QVERIFY(s.draw.isEmpty());
        // Every number is defined, with usable tick counts.
        QCOMPARE(s.spanX(), 0.0);
        QCOMPARE(s.spanY2(), 0.0);
        QVERIFY(s.numXTicks > 0 && s.numYTicks > 0);
    }

    void adjustAxisSteps_data()
    {
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::addColumn<double>("newMin");
        QTest::addColumn<double>("newMax");
        QTest::addColumn<int>("ticks");
        // grossStep 5 is exactly 5 x 1: the step is doubled, not multiplied by 5.
        QTest::newRow("0..20") << 0.0 << 20.0 << 0.0 << 20.0 << 10;
        QTest::newRow("0..100") << 0.0 << 100.0 << 0.0 << 100.0 << 5;
        // grossStep 2 is not above 2: step 1.
        QTest::newRow("1..9") << 1.0 << 9.0 << 1.0 << 9.0 << 8;
        QTest::newRow("-3..7") << -3.0 << 7.0 << -4.0 << 8.0 << 6;
        QTest::newRow("0..4") << 0.0 << 4.0 << 0.0 << 4.0 << 4;
        // Step 0.5 (grossStep 0.625 > 0.5): 0.1..2.6 grows to 0..3.
        QTest::newRow("0.1..2.6") << 0.1 << 2.6 << 0.0 << 3.0 << 6;
        QTest::newRow("negative") << -250.0 << -10.0 << -250.0 << 0.0 << 5;
    }

    void adjustAxisSteps()
    {
        QFETCH(double, min);
        QFETCH(double, max);
        QFETCH(double, newMin);
        QFETCH(double, newMax);
        QFETCH(int, ticks);
        const Axis a = adjusted(min, max);
        QCOMPARE(a.min, newMin);
        QCOMPARE(a.max, newMax);
        QCOMPARE(a.ticks, ticks);
    }

    void adjustAxisDegenerateRangesStayFinite()
    {
        // A constant curve: no usable step, the range is kept with 4 ticks.
        Axis a = adjusted(5.0, 5.0, 10);
        QCOMPARE(a.min, 5.0);
        QCOMPARE(a.max, 5.0);
        QCOMPARE(a.ticks, 4);

        a = adjusted(0.0, 0.0, 0);
        QCOMPARE(a.min, 0.0);
        QCOMPARE(a.max, 0.0);
        QCOMPARE(a.ticks, 4);

        // Reversed range (the empty curve's start values).
        a = adjusted(3.0, -2.0, 10);
        QCOMPARE(a.min, 3.0);
        QCOMPARE(a.max, -2.0);
        QCOMPARE(a.ticks, 4);

        a = adjusted(-INFINITY, 1.0, 10);
        QCOMPARE(a.ticks, 4);
        QCOMPARE(a.max, 1.0);
    }

    void adjustTouchesOnlyTheYAxis()
    {
        PlotSettings s;
        s.minX = 0.123;
        s.maxX = 0.789;
        s.numXTicks = 7;
        s.minY = -3;
        s.maxY = 7;
        s.numYTicks = 10;
        s.minX2 = -1;
        s.maxX2 = 1;
        s.minY2 = -0.5;
        s.maxY2 = 0.5;
        s.draw = QRect(3, 4, 50, 60);
        s.adjust();
        QCOMPARE(s.minY, -4.0);
        QCOMPARE(s.maxY, 8.0);
        QCOMPARE(s.numYTicks, 6);
        QCOMPARE(s.minX, 0.123);
        QCOMPARE(s.maxX, 0.789);
        QCOMPARE(s.numXTicks, 7);
        QCOMPARE(s.minX2, -1.0);
        QCOMPARE(s.maxX2, 1.0);
        QCOMPARE(s.minY2, -0.5);
        QCOMPARE(s.maxY2, 0.5);
        QCOMPARE(s.draw, QRect(3, 4, 50, 60));
    }

    void scrollByWholeTicks()
    {
        PlotSettings s;
        s.minX = 0;
        s.maxX = 10;
        s.numXTicks = 10;
        s.minY = -5;
        s.maxY = 5;
        s.numYTicks = 10;
        s.minY2 = 1;
        s.maxY2 = 2;
        s.draw = QRect(0, 0, 8, 9);

        s.scroll(-1, 0);
        QCOMPARE(s.minX, -1.0);
        QCOMPARE(s.maxX, 9.0);
        QCOMPARE(s.minY, -5.0);
        QCOMPARE(s.maxY, 5.0);

        s.scroll(0, 2);
        QCOMPARE(s.minY, -3.0);
        QCOMPARE(s.maxY, 7.0);
        QCOMPARE(s.minX, -1.0);

        s.scroll(1, -2);
        QCOMPARE(s.minX, 0.0);
        QCOMPARE(s.maxX, 10.0);
        QCOMPARE(s.minY, -5.0);
        QCOMPARE(s.maxY, 5.0);

        // Widths, tick counts, second axis and cells never change.
        QCOMPARE(s.numXTicks, 10);
        QCOMPARE(s.numYTicks, 10);
        QCOMPARE(s.minY2, 1.0);
        QCOMPARE(s.maxY2, 2.0);
        QCOMPARE(s.draw, QRect(0, 0, 8, 9));

        // The step follows the tick count: 4 intervals over 0..2 is 0.5.
        s.minX = 0;
        s.maxX = 2;
        s.numXTicks = 4;
        s.scroll(3, 0);
        QCOMPARE(s.minX, 1.5);
        QCOMPARE(s.maxX, 3.5);
    }
};

QTEST_MAIN(TestPlotSettings)
#include "test_plotsettings.moc"
