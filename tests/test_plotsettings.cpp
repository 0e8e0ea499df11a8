#include <QtTest>

#include <cmath>

#include "plot/plotter.h"

class TestPlotSettings : public QObject
{
    Q_OBJECT
private slots:
    void adjustAxis_data()
    {
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::addColumn<double>("newMin");
        QTest::addColumn<double>("newMax");
        QTest::addColumn<int>("ticks");
        // grossStep 5 is exactly 5 x 1: the step is doubled, not multiplied by 5.
        QTest::newRow("0..20") << 0.0 << 20.0 << 0.0 << 20.0 << 10;
        QTest::newRow("0..100") << 0.0 << 100.0 << 0.0 << 100.0 << 5;
        QTest::newRow("1..9 step 1") << 1.0 << 9.0 << 1.0 << 9.0 << 8;
        QTest::newRow("-3..7 grows") << -3.0 << 7.0 << -4.0 << 8.0 << 6;
        QTest::newRow("0..4") << 0.0 << 4.0 << 0.0 << 4.0 << 4;
        QTest::newRow("0.1..2.6 step 0.5") << 0.1 << 2.6 << 0.0 << 3.0 << 6;
        // No usable step: the range stays, with the fewest ticks.
        QTest::newRow("flat") << 5.0 << 5.0 << 5.0 << 5.0 << 4;
        QTest::newRow("zero") << 0.0 << 0.0 << 0.0 << 0.0 << 4;
        QTest::newRow("reversed") << 3.0 << -2.0 << 3.0 << -2.0 << 4;
        QTest::newRow("infinite") << double(-INFINITY) << 1.0 << double(-INFINITY) << 1.0 << 4;
    }

    void adjustAxis()
    {
        QFETCH(double, min);
        QFETCH(double, max);
        QFETCH(double, newMin);
        QFETCH(double, newMax);
        QFETCH(int, ticks);
        int n = 10;
        PlotSettings::adjustAxis(min, max, n);
        QCOMPARE(min, newMin);
        QCOMPARE(max, newMax);
        QCOMPARE(n, ticks);
    }

    void adjustTouchesOnlyTheYAxis()
    {
        PlotSettings s;
        QCOMPARE(s.draw, QRect(QPoint(0, 0), QPoint(-1, -1)));
        s.minX = 0.123;
        s.maxX = 0.789;
        s.numXTicks = 7;
        s.minY = -3;
        s.maxY = 7;
        s.minX2 = -1;
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
        QCOMPARE(s.maxY2, 0.5);
        QCOMPARE(s.draw, QRect(3, 4, 50, 60));
    }

    void scrollByWholeTicks()
    {
        PlotSettings s;
        s.minX = 0;
        s.maxX = 10;
        s.minY = -5;
        s.maxY = 5;
        s.minY2 = 1;
        s.draw = QRect(0, 0, 8, 9);
        s.scroll(-1, 0);
        QCOMPARE(s.minX, -1.0);
        QCOMPARE(s.maxX, 9.0);
        QCOMPARE(s.minY, -5.0);
        s.scroll(0, 2);
        QCOMPARE(s.minY, -3.0);
        QCOMPARE(s.maxY, 7.0);
        QCOMPARE(s.minX, -1.0);
        QCOMPARE(s.numXTicks, 10);
        QCOMPARE(s.minY2, 1.0);
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
