// Time-frequency image drawing: the fast picture must equal the point by
// point painting it replaces; colours, sentinels, coverage and pen width.

#include <QtTest>

#include <QPainter>
#include <QRandomGenerator>

#include <cmath>

#include "plot/tfimage.h"

namespace {

using Image = QMap<int, QVector<float> >;

Image makeImage(int rows, int cols, quint32 seed)
{
    QRandomGenerator rng(seed);
    Image m;
    for (int r = 0; r < rows; ++r) {
        QVector<float> row(cols);
        for (int c = 0; c < cols; ++c)
            row[c] = float(rng.generateDouble() * 200.0 - 50.0);
        m.insert(r, row);
    }
    return m;
}

// Point-by-point painting, one pen per pixel, into a canvas whose plot
// area is R.
QImage paintReference(const Image& m, const QRect& d, const QRect& R, const QSize& canvas, int depth)
{
    QImage out(canvas, QImage::Format_RGB32);
    out.fill(Qt::black);
    QPainter painter(&out);
    painter.setClipRect(R.adjusted(1, 1, -1, -1));
    const int H = R.bottom() - R.top();
    const int W = R.right() - R.left();
    const double stepY = double(d.bottom() - d.top()) / H;
    const double stepX = double(d.right() - d.left()) / W;
    const int penWidth = int((d.right() - d.left()) / 8196.0);
    float mx = -1234567.0f, mn = 1234567.0f;
    for (int i = 0; i < H; ++i)
        for (int j = 0; j < W; ++j) {
            const float v = m[int(d.top() + i * stepY)][int(d.left() + j * stepX)];
            if (v > mx)
                mx = v;
            if (v < mn)
                mn = v;
        }
    const double scale = (mx - mn == 0) ? 1.0 : 255.0 / (mx - mn);
    for (int i = 0; i < H; ++i)
        for (int j = 0; j < W; ++j) {
            const float v = m[int(d.top() + i * stepY)][int(d.left() + j * stepX)];
            const int level = int((v - mn) * scale);
            QPen pen(QBrush(QColor(level, depth, depth)), penWidth, Qt::SolidLine, Qt::SquareCap,
                     Qt::BevelJoin);
            painter.setPen(pen);
            painter.drawPoint(R.left() + j, R.top() + i);
        }
    return out;
}

QImage paintFast(const Image& m, const QRect& d, const QRect& R, const QSize& canvas, int depth)
{
    QImage out(canvas, QImage::Format_RGB32);
    out.fill(Qt::black);
    QPainter painter(&out);
    tfimage::paint(&painter, m, d, R, depth);
    return out;
}

} // namespace

class TestImage : public QObject
{
    Q_OBJECT

private slots:
    void pictureEqualsPointPainting_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("cols");
        QTest::addColumn<QRect>("d");
        QTest::addColumn<QRect>("R");
        QTest::addColumn<int>("depth");
        // More pixels than cells, fewer pixels than cells, a zoomed view.
        QTest::newRow("enlarged") << 10 << 13 << QRect(0, 0, 13, 10) << QRect(82, 6, 70, 40) << 76;
        QTest::newRow("reduced") << 100 << 700 << QRect(0, 0, 700, 100) << QRect(82, 6, 120, 60) << 76;
        QTest::newRow("zoomed") << 100 << 700 << QRect(120, 30, 200, 41) << QRect(20, 10, 90, 50) << 200;
        QTest::newRow("one row") << 1 << 40 << QRect(0, 0, 40, 1) << QRect(5, 5, 30, 10) << 1;
        // 8196 columns or more in view widen the pen to 1, 2, 3 pixels.
        QTest::newRow("pen 1") << 3 << 8300 << QRect(0, 0, 8197, 3) << QRect(10, 4, 40, 20) << 76;
        QTest::newRow("pen 2") << 3 << 16400 << QRect(0, 0, 16393, 3) << QRect(10, 4, 40, 20) << 76;
        QTest::newRow("pen 3") << 4 << 24600 << QRect(0, 0, 24589, 4) << QRect(10, 4, 41, 23) << 254;
        QTest::newRow("pen 4") << 4 << 32800 << QRect(0, 0, 32785, 4) << QRect(3, 3, 33, 17) << 30;
    }

    void pictureEqualsPointPainting()
    {
        QFETCH(int, rows);
        QFETCH(int, cols);
        QFETCH(QRect, d);
        QFETCH(QRect, R);
        QFETCH(int, depth);
        const Image m = makeImage(rows, cols, quint32(rows * 7919 + cols));
        QVERIFY(tfimage::covers(m, d));
        const QSize canvas(R.right() + 20, R.bottom() + 20);
        const QImage ref = paintReference(m, d, R, canvas, depth);
        const QImage fast = paintFast(m, d, R, canvas, depth);
        QCOMPARE(fast, ref);
    }

    void penWidthSteps()
    {
        QCOMPARE(tfimage::penWidthFor(QRect(0, 0, 8196, 5)), 0); // right - left = 8195
        QCOMPARE(tfimage::penWidthFor(QRect(0, 0, 8197, 5)), 1); // exactly 8196
        QCOMPARE(tfimage::penWidthFor(QRect(0, 0, 16392, 5)), 1);
        QCOMPARE(tfimage::penWidthFor(QRect(0, 0, 16393, 5)), 2); // twice 8196
    }

    void uniformImageIsDepthColoured()
    {
        Image m;
        for (int r = 0; r < 6; ++r)
            m.insert(r, QVector<float>(9, 3.25f));
        const QImage img = tfimage::render(m, QRect(0, 0, 9, 6), 30, 20, 76);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                QCOMPARE(img.pixel(x, y), qRgb(0, 76, 76));
    }

    void extremeColours()
    {
        // The cells shown run over rows and columns d.top .. d.bottom - 1 and
        // d.left .. d.right - 1: here cells (0..1, 0..1) of a 3 x 3 image.
        Image m;
        m.insert(0, {0.0f, 1.0f, 99.0f});
        m.insert(1, {2.0f, 4.0f, 99.0f});
        m.insert(2, {99.0f, 99.0f, 99.0f});
        const QImage img = tfimage::render(m, QRect(0, 0, 3, 3), 4, 4, 10);
        QCOMPARE(img.pixel(0, 0), qRgb(0, 10, 10));   // minimum
        QCOMPARE(img.pixel(2, 0), qRgb(63, 10, 10));  // 1 of 0..4
        QCOMPARE(img.pixel(0, 2), qRgb(127, 10, 10)); // 2 of 0..4
        QCOMPARE(img.pixel(3, 3), qRgb(255, 10, 10)); // maximum
    }

    void sentinelsBoundTheScale()
    {
        // Every cell above 1234567: the scale starts at the sentinel.
        Image high;
        high.insert(0, {2000000.0f, 3000000.0f, 0.0f});
        high.insert(1, {2000000.0f, 3000000.0f, 0.0f});
        const QImage a = tfimage::render(high, QRect(0, 0, 3, 2), 4, 4, 76);
        const int expected = int((2000000.0f - 1234567.0f) * (255.0 / (3000000.0f - 1234567.0f)));
        QVERIFY(expected > 0);
        QCOMPARE(qRed(a.pixel(0, 0)), expected);
        QCOMPARE(qRed(a.pixel(3, 0)), 255);
        // Every cell below -1234567: the top of the scale is the sentinel.
        Image low;
        low.insert(0, {-3000000.0f, -2000000.0f, 0.0f});
        const QImage b = tfimage::render(low, QRect(0, 0, 3, 1), 4, 2, 76);
        QCOMPARE(qRed(b.pixel(0, 0)), 0);
        const int mid = int((-2000000.0f + 3000000.0f) * (255.0 / (-1234567.0f + 3000000.0f)));
        QVERIFY(mid < 255);
        QCOMPARE(qRed(b.pixel(3, 0)), mid);
    }

    void notANumberStaysInRange()
    {
        Image m;
        m.insert(0, {std::nanf(""), 1.0f, 2.0f});
        const QImage img = tfimage::render(m, QRect(0, 0, 3, 1), 6, 2, 76);
        for (int x = 0; x < 6; ++x) {
            const int red = qRed(img.pixel(x, 0));
            QVERIFY(red >= 0 && red <= 255);
        }
    }

    void coverage()
    {
        Image m;
        m.insert(0, QVector<float>(10));
        m.insert(1, QVector<float>(10));
        m.insert(2, QVector<float>(4));
        QVERIFY(tfimage::covers(m, QRect(0, 0, 10, 2)));
        QVERIFY(!tfimage::covers(m, QRect(0, 0, 10, 3))); // row 2 too short
        QVERIFY(tfimage::covers(m, QRect(0, 2, 4, 1)));
        QVERIFY(!tfimage::covers(m, QRect(0, 0, 10, 4))); // row 3 missing
        QVERIFY(!tfimage::covers(m, QRect(-1, 0, 3, 1)));
        QVERIFY(!tfimage::covers(Image(), QRect(0, 0, 1, 1)));
        QVERIFY(!tfimage::covers(m, QRect(0, 0, 0, 0))); // empty view
    }
};

QTEST_MAIN(TestImage)
#include "test_image.moc"
