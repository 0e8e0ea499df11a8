// Time-frequency image drawing: the fast picture must equal the point by
// point painting it replaces; colours, sentinels, coverage and pen width.

#include <QtTest>

#include <QPainter>
#include <QRandomGenerator>

#include <cmath>

#include "app/mainwindow.h"
#include "plot/plotter.h"
#include "plot/tfimage.h"
#include "testutil.h"

#include <QSlider>

class PlotterTestAccess
{
public:
    static QString& label(Plotter* p) { return p->curveLabel; }
    static QPoint& labelPos(Plotter* p) { return p->curveLabelPos; }
    static QImage picture(Plotter* p) { return p->pixmap.toImage(); }
    static void readOut(Plotter* p, const QPointF& pos) { p->readOutImage(pos); }
    static int& depth(Plotter* p) { return p->colorDepth; }
    static int& previousId(Plotter* p) { return p->previousId; }
};

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

// An image whose cell (r, c) holds r * 1000 + c.
QVector<float> indexedCells(int rows, int cols)
{
    QVector<float> cells(rows * cols);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            cells[r * cols + c] = float(r * 1000 + c);
    return cells;
}

class TestImage : public QObject
{
    Q_OBJECT

    MainWindow* mw = nullptr;

    // An image window of the four-window layout with its three links.
    struct Layout {
        Plotter signal, image, row, lower;
    };

    void link(Layout& l)
    {
        for (Plotter* p : {&l.signal, &l.image, &l.row, &l.lower}) {
            p->mainw = mw;
            p->resize(500, 300);
        }
        l.image.pList0 = &l.signal;
        l.image.pList2 = &l.row;
        l.image.pList3 = &l.lower;
        l.image.matrixExtract = true;
        l.signal.yLabel = "mmHg";
    }

    void loadImage(Plotter& p, int slot, const QVector<float>& cells, int rows, int cols)
    {
        p.currentMatrixMapIndex = slot;
        p.minX = 1.0f;
        p.maxX = 3.0f;
        p.minY = 1.8f;
        p.maxY = 180.0f;
        p.setMatrixData(QPoint(cols, rows), const_cast<float*>(cells.constData()));
    }

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        DialogCloser closer;
        mw = new MainWindow;
        mw->isBondSignals = false;
        mw->isSingleWindow = false;
        mw->transformType = 1;
        mw->waveletBase = QStringList({"Complex Molet ", "Mexican ", "Gaussian ", "Difference of Gaussian",
                                       "Haar", "Shanno", "Complex Hermitian", "1th Hermitian"});
        mw->stftWindow = QStringList({"square_window", "Bartlett_window", "Hanning_window",
                                      " Hamming_window", "Blackman_window", "Gaussian_window"});
        mw->deltaFrequency = 1.8;
        mw->deltaTime = 1.0 / 360;
        mw->firstTimeIndex = 10;
    }
    void cleanupTestCase() { delete mw; }

    void windowDrawsItsImage()
    {
        Plotter p;
        p.mainw = mw;
        p.resize(400, 300);
        p.imageCount = 8;
        loadImage(p, 0, QVector<float>(20 * 30, 5.0f), 20, 30);
        const QRect R = p.plotArea();
        QImage img = PlotterTestAccess::picture(&p);
        QCOMPARE(img.pixel(R.left() + 5, R.top() + 5), qRgb(0, 76, 76));
        QCOMPARE(img.pixel(R.right() - 2, R.bottom() - 2), qRgb(0, 76, 76));
        // The first and last pixel rows and columns of the area are spared.
        QVERIFY(img.pixel(R.left(), R.top() + 5) != qRgb(0, 76, 76));
        QVERIFY(img.pixel(R.right(), R.top() + 5) != qRgb(0, 76, 76));
        PlotterTestAccess::depth(&p) = 200;
        p.refreshPixmap();
        img = PlotterTestAccess::picture(&p);
        QCOMPARE(img.pixel(R.left() + 5, R.top() + 5), qRgb(0, 200, 200));
        // The selector shows while several images of the run exist.
        QVERIFY(!p.slider->isHidden());
        p.imageCount = 1;
        p.refreshPixmap();
        QVERIFY(p.slider->isHidden());
        p.imageCount = 8;
        mw->isSingleWindow = true;
        p.refreshPixmap();
        QVERIFY(p.slider->isHidden());
        mw->isSingleWindow = false;
        mw->isBondSignals = true;
        p.refreshPixmap();
        QVERIFY(p.slider->isHidden());
        mw->isBondSignals = false;
    }

    void tinyAreasAndEmptySlots()
    {
        Plotter p;
        p.mainw = mw;
        p.resize(400, 300);
        loadImage(p, 0, indexedCells(4, 5), 4, 5);
        // Plot areas of one pixel row, one pixel column, and none.
        for (int h : {1, 2}) {
            p.MarginTop = 300 - 50 - h;
            p.refreshPixmap();
        }
        p.MarginTop = 50;
        p.MarginLeft = 400 - 72 - 10 - 1;
        p.refreshPixmap();
        p.MarginLeft = 500;
        p.refreshPixmap();
        p.MarginLeft = 72;
        // A view larger than the image in its slot draws nothing.
        p.zoomStack[p.curZoom].draw = QRect(0, 0, 50, 50);
        p.refreshPixmap();
        PlotterTestAccess::readOut(&p, p.plotArea().center());
        QVERIFY(PlotterTestAccess::label(&p).isEmpty());
    }

    void readOutLabelAndRow()
    {
        Layout l;
        link(l);
        l.image.imageCount = 8;
        const int rows = 100, cols = 200;
        loadImage(l.image, 0, indexedCells(rows, cols), rows, cols);
        const QRect R = l.image.plotArea();

        // The bottom pixel row reads frequency 0 in parentheses and hands
        // row 99 to the row window: x = (c + 1) * step.
        PlotterTestAccess::readOut(&l.image, QPoint(R.left(), R.bottom()));
        QVERIFY2(PlotterTestAccess::label(&l.image).contains("(0) Hz"),
                 qPrintable(PlotterTestAccess::label(&l.image)));
        QCOMPARE(l.image.extractedRow(), 99);
        QVector<QPointF> extracted = l.row.curveMap.value(0);
        QCOMPARE(extracted.size(), cols);
        const double step = 2.0 / (cols - 1);
        QCOMPARE(extracted.first(), QPointF(step, 99000.0));
        QCOMPARE(extracted.last(), QPointF(cols * step, 99000.0 + cols - 1));
        QVERIFY(!l.row.isHidden());

        // Top-left pixel: first column, row 0.
        PlotterTestAccess::readOut(&l.image, R.topLeft());
        const float Tc = float(10 * (1.0 / 360));
        const float Fc = float(100 * 1.8) - float(1 * 1.8);
        QCOMPARE(PlotterTestAccess::label(&l.image),
                 QString("1(%1) S, 180(%2) Hz, 0 mmHg")
                     .arg(QString::number(Tc, 'g', 6), QString::number(Fc, 'g', 6)));
        QCOMPARE(PlotterTestAccess::label(&l.image), QString("1(0.0277778) S, 180(178.2) Hz, 0 mmHg"));
        QCOMPARE(PlotterTestAccess::labelPos(&l.image), R.topLeft());
        QCOMPARE(l.image.extractedRow(), 0);
        QCOMPARE(l.row.curveMap.value(0).first().y(), 0.0);
        QCOMPARE(l.row.curveMap.value(0).size(), cols);

        // A fractional pointer position (scaled screens) reads out where it
        // is; only the label's anchor is in whole pixels.
        PlotterTestAccess::readOut(&l.image, QPointF(R.left() + 0.5, R.top() + 0.75));
        const QString X = QString::number(1.0 + 0.5 * 2.0 / (R.right() - R.left()), 'g', 6);
        QVERIFY2(PlotterTestAccess::label(&l.image).startsWith(X + "("),
                 qPrintable(PlotterTestAccess::label(&l.image)));
        QCOMPARE(PlotterTestAccess::labelPos(&l.image), R.topLeft());

        // Moving along one row leaves the row window alone...
        l.row.curveMap.clear();
        PlotterTestAccess::readOut(&l.image, QPoint(R.left() + 40, R.top()));
        QVERIFY(l.row.curveMap.isEmpty());
        // ...unless the vertical line is on.
        l.image.verticalLineEnable = true;
        PlotterTestAccess::readOut(&l.image, QPoint(R.left() + 41, R.top()));
        QCOMPARE(l.row.curveMap.value(0).size(), cols);
        l.image.verticalLineEnable = false;

        // Outside the area, without read-out, or bonded: nothing.
        PlotterTestAccess::label(&l.image) = "kept";
        PlotterTestAccess::readOut(&l.image, QPoint(R.left() - 1, R.top()));
        mw->isBondSignals = true;
        PlotterTestAccess::readOut(&l.image, R.center());
        mw->isBondSignals = false;
        l.image.matrixExtract = false;
        PlotterTestAccess::readOut(&l.image, R.center());
        QCOMPARE(PlotterTestAccess::label(&l.image), QString("kept"));
    }

    void readOutWithoutLinks()
    {
        Plotter p;
        p.mainw = mw;
        p.resize(300, 200);
        p.matrixExtract = true;
        loadImage(p, 0, indexedCells(3, 1), 3, 1); // one column: no span
        PlotterTestAccess::readOut(&p, QPoint(p.plotArea().center().x(), p.plotArea().bottom()));
        QVERIFY2(PlotterTestAccess::label(&p).endsWith("(0) Hz, 2000 "), qPrintable(PlotterTestAccess::label(&p)));
    }

    void sliderLabelsFollowTheKnob()
    {
        Plotter p;
        p.mainw = mw;
        p.resize(500, 400);
        p.imageCount = 8;
        const QVector<float> cells = indexedCells(4, 4);
        for (int k = 7; k >= 0; --k)
            loadImage(p, k, cells, 4, 4);
        mw->transformType = 1;
        p.slider->setRange(0, 7);
        p.slider->setGeometry(430, 40, 20, 280);
        p.slider->setValue(7);
        QCOMPARE(p.currentMatrixMapIndex, 7);
        QCOMPARE(PlotterTestAccess::label(&p), QString("1th Hermitian"));
        QCOMPARE(PlotterTestAccess::labelPos(&p), QPoint(415, 75));
        p.slider->setValue(0);
        QCOMPARE(PlotterTestAccess::labelPos(&p), QPoint(415, 320));
        QCOMPARE(PlotterTestAccess::label(&p), QString("Complex Molet "));
        mw->transformType = 2;
        p.slider->setValue(3);
        QCOMPARE(PlotterTestAccess::label(&p), QString(" Hamming_window"));
        QCOMPARE(p.currentMatrixMapIndex, 3);
        mw->transformType = 1;

        // Curve mode: the trace hit under the knob.
        Plotter c;
        c.mainw = mw;
        c.resize(500, 400);
        QVector<QPointF> curve(5000);
        for (int i = 0; i < 5000; ++i)
            curve[i] = QPointF(i / 360.0, 0.0);
        c.setCurveData(0, curve);
        c.scoreList = {QPointF(10, 0.5), QPointF(4444, 0.87654)};
        c.slider->setRange(0, 1);
        c.currentTrace = 1;
        c.slider->setValue(1);
        QCOMPARE(PlotterTestAccess::label(&c), QString("Trace_time: time 12.3 score 0.877"));
        c.scoreList[0] = QPointF(10, 1.0);
        c.currentTrace = 2;
        c.slider->setValue(0);
        QCOMPARE(PlotterTestAccess::label(&c), QString("Trace_amp: time 0.0278 score 1"));
    }

    void waveletSelectionTakesTheSparsestImage()
    {
        Plotter p;
        p.mainw = mw;
        p.resize(500, 400);
        p.imageCount = 8;
        mw->transformType = 1;
        // Image k: zeros with (k + 3) cells at 1, except images 2 and 5 with
        // one each (equal sums: the lower index wins) and image 7 constant.
        for (int k = 7; k >= 0; --k) {
            QVector<float> cells(10 * 10, 0.0f);
            const int ones = (k == 2 || k == 5) ? 1 : k + 3;
            for (int i = 0; i < ones; ++i)
                cells[i * 7 % 100] = 1.0f;
            if (k == 7)
                cells.fill(4.0f);
            loadImage(p, k, cells, 10, 10);
        }
        p.slider->setRange(0, 7);
        p.windowTypeSelection();
        QCOMPARE(p.currentMatrixMapIndex, 2);
        QCOMPARE(p.slider->value(), 2);
        QCOMPARE(PlotterTestAccess::label(&p), QString("Gaussian "));

        // Within a zoomed view only the visible cells count: rows 5..9 of
        // image 4 hold no 1 there except one; others hold two.
        for (int k = 0; k < 7; ++k) {
            QVector<float> cells(10 * 10, 0.0f);
            cells[0] = 1.0f;
            cells[55] = 1.0f;
            cells[77] = 1.0f;
            if (k != 4)
                cells[66] = 1.0f;
            loadImage(p, k, cells, 10, 10);
        }
        p.zoomStack[p.curZoom].draw = QRect(5, 5, 5, 5);
        p.windowTypeSelection();
        QCOMPARE(p.currentMatrixMapIndex, 4);
        QCOMPARE(PlotterTestAccess::label(&p), QString("Haar"));
    }

    void stftSelectionCountsCellsAboveTheRangeShare()
    {
        Plotter p;
        p.mainw = mw;
        p.resize(500, 400);
        p.imageCount = 6;
        mw->transformType = 2;
        // Image 3 lies between 10 and 20: every cell is above 0.95 x range
        // (9.5), so it has the most; the others are peaky from 0.
        for (int k = 5; k >= 0; --k) {
            QVector<float> cells(8 * 8, 0.0f);
            for (int i = 0; i <= k; ++i)
                cells[i] = 20.0f;
            if (k == 3)
                for (int i = 0; i < 64; ++i)
                    cells[i] = 10.0f + float(i % 11);
            loadImage(p, k, cells, 8, 8);
        }
        p.currentMatrixMapIndex = 1;
        p.slider->setRange(0, 5);
        p.windowTypeSelection();
        QCOMPARE(p.currentMatrixMapIndex, 3);
        QCOMPARE(PlotterTestAccess::label(&p), QString(" Hamming_window"));
        // Every count zero: the index stays where it was.
        for (int k = 0; k < 6; ++k)
            loadImage(p, k, QVector<float>(64, -1.0f), 8, 8);
        p.currentMatrixMapIndex = 3;
        p.windowTypeSelection();
        QCOMPARE(p.currentMatrixMapIndex, 3);
        mw->transformType = 1;
    }

    void selectionIgnoresSlotsOutsideTheRun()
    {
        Plotter p;
        p.mainw = mw;
        p.resize(500, 400);
        mw->transformType = 1;
        loadImage(p, 0, QVector<float>({0, 1, 1, 1}), 2, 2);
        // Slot 1 would win but was not made by the last run; slots 2..7 are empty.
        loadImage(p, 1, QVector<float>({0, 0, 0, 1}), 2, 2);
        p.currentMatrixMapIndex = 0;
        p.imageCount = 1;
        p.windowTypeSelection();
        QCOMPARE(p.currentMatrixMapIndex, 0);
        // Eight claimed but only two made: the empty slots are passed over.
        p.imageCount = 8;
        p.windowTypeSelection();
        QCOMPARE(p.currentMatrixMapIndex, 1);
        // No run at all: nothing changes.
        p.imageCount = 0;
        p.currentMatrixMapIndex = 0;
        p.windowTypeSelection();
        QCOMPARE(p.currentMatrixMapIndex, 0);
    }

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
