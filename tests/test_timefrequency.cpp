// Time-frequency analyses: trim, images, steps, four-window layout,
// progress bar, length checks, bonded images and recovery from a failed
// allocation.

#include <QtTest>

#include <QAction>
#include <QGridLayout>
#include <QProgressBar>
#include <QSlider>

#include <cmath>
#include <functional>
#include <new>

#include "app/mainwindow.h"
#include "app/timefrequency_internal.h"
#include "app/ui_mainwindow.h"
#include "dsp/wavelet.h"
#include "testutil.h"

class PlotterTestAccess
{
public:
    static QString label(Plotter* p) { return p->curveLabel; }
    static QPoint labelPos(Plotter* p) { return p->curveLabelPos; }
    static void readOut(Plotter* p, const QPointF& pos) { p->readOutImage(pos); }
};

namespace {

QVector<QPointF> makeSignal(int n, double fs, const std::function<double(int)>& y)
{
    QVector<QPointF> s(n);
    for (int i = 0; i < n; ++i)
        s[i] = QPointF(i / fs, y(i));
    return s;
}

// A ramp has no zero crossing near its ends once centred: nothing is trimmed.
QVector<QPointF> ramp(int n, double fs)
{
    return makeSignal(n, fs, [n](int i) { return double(i) / n; });
}

std::size_t failAbove = 0;
void failLargeAllocations(std::size_t bytes)
{
    if (bytes > failAbove)
        throw std::bad_alloc();
}

int callsLeft = 0;
void failAfterCalls(std::size_t)
{
    if (callsLeft-- <= 0)
        throw std::bad_alloc();
}

struct ProbeGuard {
    explicit ProbeGuard(std::size_t limit)
    {
        failAbove = limit;
        tfwork::allocationProbe = failLargeAllocations;
    }
    ProbeGuard(int calls, bool)
    {
        callsLeft = calls;
        tfwork::allocationProbe = failAfterCalls;
    }
    ~ProbeGuard() { tfwork::allocationProbe = nullptr; }
};

int rowOfMostEnergy(const QMap<int, QVector<float> >& image, int rows)
{
    int best = 0;
    double bestSum = -1;
    for (int r = 0; r < rows; ++r) {
        double sum = 0;
        for (float v : image.value(r))
            sum += double(v) * v;
        if (sum > bestSum) {
            bestSum = sum;
            best = r;
        }
    }
    return best;
}

} // namespace

class TestTimeFrequency : public QObject
{
    Q_OBJECT

    MainWindow* mw = nullptr;
    Plotter* W() const { return mw->plotterListMatrix[1]; }

    void unbonded(bool single)
    {
        mw->isBondSignals = false;
        mw->isSingleWindow = single;
    }

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        DialogCloser closer;
        mw = new MainWindow;
        mw->resize(1280, 800);
        mw->show();
    }
    void cleanupTestCase() { delete mw; }

    void trimFindsCrossingsNearTheEnds()
    {
        // 1000 samples: L = 10, start searched in 1..9, end in 998 down to 991.
        std::vector<float> s(1000, 1.5f);
        s[0] = 3.0f;
        s[999] = -1.0f; // midrange 1: centred ends are +2 and -2
        s[4] = -1.0f;   // first sample <= 0 after a positive start
        s[6] = -1.0f;
        s[500] = -1.0f;
        const tfwork::TrimResult t = tfwork::centreAndTrim(s.data(), 1000);
        QCOMPARE(t.start, 4);
        QCOMPARE(t.end, 998); // first sample >= 0 going down from the negative end
        QCOMPARE(s[4], 0.0f);
        QCOMPARE(s[998], 0.0f);
        QCOMPARE(s[0], 2.0f);
        QCOMPARE(s[6], -2.0f);
        QCOMPARE(s[999], -2.0f);
    }

    void trimBounds()
    {
        // A crossing at L - 1 is found, one at L is not.
        std::vector<float> a(1000, 1.5f);
        a[0] = 2.0f; a[999] = 0.0f; a[9] = 0.0f;
        QCOMPARE(tfwork::centreAndTrim(a.data(), 1000).start, 9);
        std::vector<float> b(1000, 1.5f);
        b[0] = 2.0f; b[999] = 0.0f; b[10] = 0.0f;
        tfwork::TrimResult t = tfwork::centreAndTrim(b.data(), 1000);
        QCOMPARE(t.start, 0);
        // The last sample at the midrange: end N - 1, nothing zeroed there.
        std::vector<float> c(1000, 1.0f);
        c[0] = 2.0f; c[1] = 0.5f; c[999] = 1.5f; c[998] = 3.0f; c[500] = 0.0f;
        t = tfwork::centreAndTrim(c.data(), 1000);
        QCOMPARE(t.end, 999);
        QCOMPARE(c[998], 1.5f);
        QCOMPARE(t.start, 1);
        // Sample 0 at the midrange: start 0; no crossing in the end scan
        // (which stops above N - L): end N - 1.
        std::vector<float> d(1000, 1.5f);
        d[0] = 1.0f; d[1] = 0.0f; d[999] = 2.0f; d[990] = 0.0f;
        t = tfwork::centreAndTrim(d.data(), 1000);
        QCOMPARE(t.start, 0);
        QCOMPARE(d[1], -1.0f);
        QCOMPARE(t.end, 999);
        std::vector<float> e(1000, 1.5f);
        e[0] = 1.0f; e[999] = 2.0f; e[991] = 0.0f;
        QCOMPARE(tfwork::centreAndTrim(e.data(), 1000).end, 991);
        // 16384 samples: L = 163, start among 1..162, end among 16382..16222.
        std::vector<float> f(16384, 1.5f);
        f[0] = 2.0f; f[16383] = 2.0f; f[162] = 0.0f; f[16221] = 0.0f; f[16222] = 1.0f;
        t = tfwork::centreAndTrim(f.data(), 16384);
        QCOMPARE(t.start, 162);
        QCOMPARE(t.end, 16222);
        std::vector<float> g(16384, 1.5f);
        g[0] = 2.0f; g[16383] = 2.0f; g[163] = 0.0f; g[16221] = 0.0f;
        t = tfwork::centreAndTrim(g.data(), 16384);
        QCOMPARE(t.start, 0);
        QCOMPARE(t.end, 16383);
    }

    void waveletImageStepsAndLayout()
    {
        DialogCloser closer;
        unbonded(true);
        // x = sample index: Fs = 1; crossing after 3 samples at the start and
        // 5 from the end.
        const int n = 1200;
        QVector<QPointF> data = makeSignal(n, 1.0, [n](int i) {
            if (i < 3 || i > n - 1 - 5)
                return 1.0;
            return i == 3 || i == n - 6 ? -1.0 : std::sin(i * 0.2);
        });
        mw->TimeFrequencyAnalysis(data, 1);
        QVERIFY(closer.texts.isEmpty());

        const int start = 3, end = n - 6, trimmed = end - start + 1;
        Plotter* w = W();
        QCOMPARE(w->matrixMapGroup[0].size(), 100);
        QCOMPARE(w->matrixMapGroup[0].value(0).size(), trimmed);
        QCOMPARE(w->matrixMapGroup[0].value(99).size(), trimmed);
        QCOMPARE(mw->firstTimeIndex, start);
        QCOMPARE(mw->deltaTime, 1.0);
        QCOMPARE(mw->deltaFrequency, 0.5 / 100);
        QCOMPARE(w->minX, float(start));
        QCOMPARE(w->maxX, float(end));
        QCOMPARE(w->minY, float(0.005));
        QCOMPARE(w->maxY, 0.5f);
        QCOMPARE(w->imageCount, 1);
        QVERIFY(w->slider->isHidden());

        // Four stacked windows.
        QCOMPARE(mw->plotterCount, 4);
        QCOMPARE(mw->previousPlotterCountMatrix, 4);
        QGridLayout* grid = mw->form()->workspaceLayout;
        for (int i = 0; i < 4; ++i) {
            Plotter* p = mw->plotterListMatrix[i];
            int row, col, rs, cs;
            grid->getItemPosition(grid->indexOf(p), &row, &col, &rs, &cs);
            QCOMPARE(row, i);
            QCOMPARE(col, 0);
            QCOMPARE(p->MarginTop, 6);
            QCOMPARE(p->MarginBottom, i == 3 ? 24 : 6);
            QCOMPARE(p->MarginRight, 34);
            QVERIFY(!p->titleIsShown);
            QVERIFY(!p->xLabelIsShown);
            QVERIFY(p->yLabelIsShown);
            QVERIFY(!p->isMarkCurve);
            QCOMPARE(p->passitive, i != 1);
            QVERIFY(p->isVisible());
        }
        for (int i = 0; i < mw->plotterCountRaw; ++i)
            QVERIFY(!mw->plotterList[i]->isVisible());
        QCOMPARE(w->yLabel, QString("Frequency    Hz"));
        QVERIFY(w->matrixExtract);
        QCOMPARE(mw->plotterListMatrix[0]->yLabel, mw->yUnit);

        // The segment keeps the input's values (the zeroed crossing included).
        const QVector<QPointF> top = mw->plotterListMatrix[0]->curveMap.value(0);
        QCOMPARE(top.size(), trimmed);
        QCOMPARE(top.first(), data[start]);
        QCOMPARE(top.last(), data[end]);
        QCOMPARE(mw->plotterListMatrix[3]->curveMap.keys(), QList<int>({1}));
        QCOMPARE(mw->plotterListMatrix[3]->curveMap.value(1), top);

        // Mean over frequency of the (only) image.
        Plotter* m = mw->plotterListMatrix[2];
        QCOMPARE(m->curveMap.keys(), QList<int>({0, 1}));
        const QVector<QPointF> mean = m->curveMap.value(0);
        QCOMPARE(mean.size(), trimmed);
        const double dt = (data[end].x() - data[start].x()) / trimmed;
        for (int c : {0, 17, trimmed - 1}) {
            double sum = 0;
            for (int r = 0; r < 100; ++r)
                sum += w->matrixMapGroup[0].value(r)[c];
            QCOMPARE(mean[c].y(), sum / 100);
            QCOMPARE(mean[c].x(), data[start].x() + c * dt);
        }
    }

    void stftImagesAndSelector()
    {
        DialogCloser closer;
        unbonded(false);
        mw->transformType = 2;
        // 16384 samples at 360 Hz, nothing trimmed: 512 columns of 128 rows.
        QVector<QPointF> data = ramp(16384, 360.0);
        mw->TimeFrequencyAnalysis(data, 2);
        Plotter* w = W();
        QCOMPARE(mw->analysisType, 3);
        QCOMPARE(w->imageCount, 6);
        for (int k = 0; k < 6; ++k) {
            QCOMPARE(w->matrixMapGroup[k].size(), 128);
            QCOMPARE(w->matrixMapGroup[k].value(127).size(), 512);
        }
        QCOMPARE(mw->firstTimeIndex, 0);
        QCOMPARE(mw->deltaTime, 16384 * (data[1].x() - data[0].x()) / 512);
        QCOMPARE(mw->deltaFrequency, (float(1.0 / (data[1].x() - data[0].x())) / 2.0) / 128);
        QVERIFY(std::fabs(mw->deltaFrequency - 1.40625) < 1e-4);
        // Selector: range over the six windows, shown, at the chosen image.
        QCOMPARE(w->slider->minimum(), 0);
        QCOMPARE(w->slider->maximum(), 5);
        QVERIFY(!w->slider->isHidden());
        QCOMPARE(w->slider->value(), w->currentMatrixMapIndex);
        // Its label names the chosen window beside the slider's new place.
        QCOMPARE(PlotterTestAccess::label(w), mw->stftWindow.at(w->currentMatrixMapIndex));
        QCOMPARE(PlotterTestAccess::labelPos(w).x(), w->slider->x() - 15);
        QVERIFY(w->slider->x() > w->width() / 2);
        // Mean of the last image (Gaussian window, index 5).
        const QVector<QPointF> mean = mw->plotterListMatrix[2]->curveMap.value(0);
        QCOMPARE(mean.size(), 512);
        double sum = 0;
        for (int r = 0; r < 128; ++r)
            sum += w->matrixMapGroup[5].value(r)[100];
        QCOMPARE(mean[100].y(), sum / 128);
    }

    void waveletSelectorOverEightImages()
    {
        DialogCloser closer;
        unbonded(false);
        mw->transformType = 1;
        QVector<QPointF> data = makeSignal(1024, 360.0, [](int i) {
            return std::sin(2 * M_PI * 5.0 * i / 360.0) + (i % 200 == 0 ? 3.0 : 0.0);
        });
        mw->TimeFrequencyAnalysis(data, 1);
        Plotter* w = W();
        QCOMPARE(w->imageCount, 8);
        QCOMPARE(w->slider->minimum(), 0);
        QCOMPARE(w->slider->maximum(), 7);
        QVERIFY(!w->slider->isHidden());
        QCOMPARE(w->slider->value(), w->currentMatrixMapIndex);
        for (int k = 0; k < 8; ++k)
            QCOMPARE(w->matrixMapGroup[k].size(), 100);
        QCOMPARE(w->progressBar->maximum(), 800);
        QCOMPARE(mw->deltaFrequency, (float(1.0 / (data[1].x() - data[0].x())) / 2.0) / 100);
        QVERIFY(std::fabs(mw->deltaFrequency - 1.8) < 1e-4);
        QCOMPARE(mw->deltaTime, data[1].x() - data[0].x());
    }

    void readOutFeedsTheRowWindow()
    {
        // Hovering the image puts the row under the pointer into the third
        // window as its curve 0; the mean stays as curve 1.
        DialogCloser closer;
        unbonded(true);
        QVector<QPointF> data = makeSignal(1024, 360.0, [](int i) { return std::sin(i * 0.21); });
        mw->TimeFrequencyAnalysis(data, 2);
        Plotter* w = W();
        const QVector<QPointF> mean = mw->plotterListMatrix[2]->curveMap.value(1);
        const QRect R = w->plotArea();
        QVERIFY(R.isValid());
        PlotterTestAccess::readOut(w, QPoint(R.left() + R.width() / 3, R.bottom()));
        const QVector<QPointF> row = mw->plotterListMatrix[2]->curveMap.value(0);
        const int columns = int(w->matrixMapGroup[0].value(127).size());
        QVERIFY(columns > 20);
        QCOMPARE(row.size(), columns);
        QCOMPARE(w->extractedRow(), 127);
        for (int c = 0; c < columns; ++c)
            QCOMPARE(row[c].y(), double(w->matrixMapGroup[0].value(127)[c]));
        QCOMPARE(mw->plotterListMatrix[2]->curveMap.value(1), mean);
        QVERIFY(PlotterTestAccess::label(w).contains("(0) Hz"));
    }

    void stftTrimmedStart()
    {
        DialogCloser closer;
        unbonded(true);
        // Start crossing at sample 7 of 2000 (L = 20): firstTimeIndex is
        // scaled to frames.
        const int n = 2000;
        QVector<QPointF> data = makeSignal(n, 360.0, [](int i) {
            return i < 7 ? 1.0 : (i == 7 ? -1.0 : std::cos(i * 0.01) * 0.5);
        });
        mw->TimeFrequencyAnalysis(data, 2);
        QCOMPARE(W()->minX, float(data[7].x()));
        // The end stays (0.5 cos stays positive over the last 19 samples).
        QCOMPARE(W()->maxX, float(data[1999].x()));
        const int trimmed = 1999 - 7 + 1;
        const int frames = (trimmed - 32) / 32 + 1;
        QCOMPARE(W()->matrixMapGroup[0].value(0).size(), frames);
        QCOMPARE(mw->firstTimeIndex, 7 * frames / trimmed);
        QCOMPARE(mw->deltaTime, trimmed * (data[1].x() - data[0].x()) / frames);
    }

    void imagesAreTheTransformRowsFlipped()
    {
        // Every image row r is row (rows - 1 - r) of the transform of the
        // centred, trimmed samples, the crossing sample zeroed.
        DialogCloser closer;
        unbonded(false);
        const int n = 1100;
        QVector<QPointF> data = makeSignal(n, 250.0, [](int i) {
            return i < 5 ? 1.0 : (i == 5 ? -1.0 : 0.7 * std::sin(i * 0.21) + 0.2 * std::cos(i * 1.3));
        });
        std::vector<float> sig(n);
        for (int i = 0; i < n; ++i)
            sig[i] = float(data[i].y());
        const tfwork::TrimResult t = tfwork::centreAndTrim(sig.data(), n);
        QCOMPARE(t.start, 5);
        const int m = t.end - t.start + 1;
        std::vector<float> x(std::size_t(m) * 100, 0.0f);
        std::copy_n(sig.begin() + t.start, m, x.begin());
        const float Fs = float(1.0 / (data[1].x() - data[0].x()));

        mw->transformType = 1;
        mw->TimeFrequencyAnalysis(data, 1);
        const double df = (Fs / 2.0) / 100;
        std::vector<float> f(100), scales(100), coef(std::size_t(m) * 100);
        for (int k = 0; k < 100; ++k)
            f[k] = float((k + 1) * df);
        for (int w = 0; w < 8; ++w) {
            for (int k = 0; k < 100; ++k)
                scales[k] = float(mw->centerFrequencies()[w] * Fs / f[k]);
            wavelet transform;
            transform.cwt(coef.data(), x.data(), m, int(Fs), 100, scales.data(), w);
            for (int r = 0; r < 100; r += 33)
                QCOMPARE(W()->matrixMapGroup[w].value(r),
                         QVector<float>(coef.begin() + (99 - r) * m, coef.begin() + (100 - r) * m));
        }

        mw->transformType = 2;
        mw->TimeFrequencyAnalysis(data, 2);
        const int frames = (m - 32) / 32 + 1;
        std::vector<float> stft(std::size_t(frames) * 128);
        for (int w = 0; w < 6; ++w) {
            mw->wwstft(stft.data(), x.data(), 128, 32, m, w);
            for (int r = 0; r < 128; r += 9)
                QCOMPARE(W()->matrixMapGroup[w].value(r),
                         QVector<float>(stft.begin() + (127 - r) * frames,
                                        stft.begin() + (128 - r) * frames));
        }
    }

    void curveOfALayoutWindow()
    {
        // The curve handed in may be one that the layout replaces.
        DialogCloser closer;
        unbonded(true);
        QVector<QPointF> data = ramp(1024, 360.0);
        mw->TimeFrequencyAnalysis(data, 2);
        QVector<QPointF>& shown = mw->plotterListMatrix[0]->curveMap[0];
        const QVector<QPointF> copy = shown;
        mw->TimeFrequencyAnalysis(shown, 2);
        QCOMPARE(mw->plotterListMatrix[0]->curveMap.value(0), copy);
        QCOMPARE(W()->maxX, float(copy.last().x()));
    }

    void progressBarIsMadeOnceAndCentred()
    {
        DialogCloser closer;
        unbonded(false);
        QVector<QPointF> data = ramp(1024, 360.0);
        mw->TimeFrequencyAnalysis(data, 2);
        QProgressBar* bar = W()->progressBar;
        QVERIFY(bar);
        QCOMPARE(bar->maximum(), 6 * 128);
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->value(), 6 * 128);
        QVERIFY(bar->isHidden());
        QCOMPARE(bar->parentWidget(), mw->form()->layoutWidget);
        QCOMPARE(mw->form()->layoutWidget->size(), QSize(1281, 681));
        QCOMPARE(bar->geometry(), QRect(490, 325, 300, 30));
        mw->isSingleWindow = true;
        mw->TimeFrequencyAnalysis(data, 2);
        QCOMPARE(W()->progressBar, bar);
        QCOMPARE(bar->maximum(), 128);
        QCOMPARE(mw->form()->layoutWidget->findChildren<QProgressBar*>().size(), 1);
    }

    void selectorOffersOnlyTheLastRunsImages()
    {
        DialogCloser closer;
        unbonded(false);
        mw->transformType = 2;
        QVector<QPointF> data = ramp(1024, 360.0);
        mw->TimeFrequencyAnalysis(data, 2);
        // A single-window run leaves one image; the options turned back on
        // must not offer the stale slots.
        unbonded(true);
        QVector<QPointF> shorter = ramp(512, 360.0);
        mw->TimeFrequencyAnalysis(shorter, 2);
        Plotter* w = W();
        QCOMPARE(w->imageCount, 1);
        mw->isSingleWindow = false;
        w->windowTypeSelection();
        QCOMPARE(w->currentMatrixMapIndex, 0);
        w->slider->setRange(0, 5);
        w->slider->setValue(4);
        QCOMPARE(w->currentMatrixMapIndex, 0);
        w->refreshPixmap();
        QVERIFY(w->slider->isHidden());
    }

    void lengthChecks()
    {
        DialogCloser closer;
        unbonded(true);
        const int before = mw->analysisType;
        mw->signal[0] = ramp(1023, 360.0);
        mw->on_action_Wavelet_Analysis_triggered();
        QCOMPARE(closer.texts, QStringList({"Data length should >= 1024!"}));
        QCOMPARE(closer.titles, QStringList({""}));
        QCOMPARE(mw->analysisType, before);
        mw->isBondSignals = true;
        mw->on_action_Wavelet_Analysis_triggered();
        QCOMPARE(closer.texts.size(), 2);
        mw->isBondSignals = false;

        mw->signal[0] = ramp(1024, 360.0);
        mw->on_action_Wavelet_Analysis_triggered();
        QCOMPARE(closer.texts.size(), 2);
        QCOMPARE(mw->analysisType, 2);
        QCOMPARE(mw->transformType, 1);
        QCOMPARE(W()->matrixMapGroup[0].value(0).size(), 1024);

        // The STFT has no length check: a signal shorter than the overlap
        // still gives one frame; only a single sample has no sampling rate.
        mw->signal[0] = ramp(63, 360.0);
        mw->on_action_STFT_Analysis_triggered();
        QCOMPARE(closer.texts.size(), 2);
        QCOMPARE(mw->analysisType, 3);
        QCOMPARE(W()->matrixMapGroup[0].value(0).size(), 1); // (63 - 32) / 32 + 1
        QVector<QPointF> tiny = ramp(10, 360.0);
        mw->TimeFrequencyAnalysis(tiny, 2);
        QCOMPARE(closer.texts.size(), 2);
        QVERIFY(!mw->analysisFailed);
        QVector<QPointF> one = ramp(1, 360.0);
        mw->TimeFrequencyAnalysis(one, 2);
        QCOMPARE(closer.texts.last(), QString("Data length should >= 2!"));

        mw->signal[0] = ramp(64, 360.0);
        mw->on_action_STFT_Analysis_triggered();
        QCOMPARE(closer.texts.size(), 3);
        QCOMPARE(mw->analysisType, 3);
        QCOMPARE(W()->matrixMapGroup[0].value(0).size(), 2); // (64 - 32) / 32 + 1
    }

    void timeRunningBackwardsIsReported()
    {
        // A first step that is not positive gives no sampling rate, reported
        // as the spectrum reports it, bonded or not.
        DialogCloser closer;
        unbonded(true);
        QVector<QPointF> s = ramp(2048, 360.0);
        s[1].setX(-1.0);
        mw->signal[0] = s;
        mw->on_action_STFT_Analysis_triggered();
        mw->isBondSignals = true;
        mw->on_action_Wavelet_Analysis_triggered();
        mw->isBondSignals = false;
        const QString text = "The time does not increase from the first to the second sample: no sampling rate!";
        QCOMPARE(closer.texts, QStringList({text, text}));
        mw->on_action_Fast_Fourier_Transform_triggered();
        QCOMPARE(closer.texts.last(), text);
    }

    void rateBeyondIntRange()
    {
        // 1e12 Hz: the transform's int rate is held at the end of its range
        // rather than converted out of it.
        DialogCloser closer;
        unbonded(true);
        mw->signal[0] = ramp(1024, 1e12);
        mw->on_action_Wavelet_Analysis_triggered();
        QVERIFY(closer.texts.isEmpty());
        QCOMPARE(mw->analysisType, 2);
        QCOMPARE(W()->matrixMapGroup[0].value(0).size(), 1024);
    }

    void bondedStftFillsOwnSlots()
    {
        DialogCloser closer;
        mw->isBondSignals = true;
        const int savedRaw = mw->plotterCountRaw;
        const int savedCount = mw->plotterCount;
        // Three loaded signals laid out with a filler window (count 4).
        mw->plotterCountRaw = 3;
        mw->plotterCount = 4;
        for (int i = 0; i < 4; ++i)
            mw->signal[i] = makeSignal(1024, 360.0, [i](int k) { return std::sin(k * 0.05 * (i + 1)); });
        mw->signal[3].clear();
        mw->plotterList[3]->setCurveData(0, mw->signal[2]);
        mw->form()->action_Bond_Signals->setEnabled(true);
        mw->on_action_STFT_Analysis_triggered();
        QVERIFY(closer.texts.isEmpty());
        for (int i = 0; i < 3; ++i) {
            Plotter* p = mw->plotterList[i];
            QVERIFY(p->isImageMode());
            QCOMPARE(p->currentMatrixMapIndex, i);
            QCOMPARE(p->matrixMapGroup[i].size(), 128);
            QCOMPARE(p->matrixMapGroup[i].value(0).size(), 32);
            QCOMPARE(p->minX, 0.0f);
            QCOMPARE(p->maxX, float(mw->signal[0][1023].x()));
            QCOMPARE(p->minY, float(mw->deltaFrequency));
        }
        // The filler window keeps its curve.
        QVERIFY(!mw->plotterList[3]->isImageMode());
        QVERIFY(!mw->form()->action_Bond_Signals->isEnabled());
        QCOMPARE(mw->analysisType, 3);
        QProgressBar* bar = mw->plotterList[0]->progressBar;
        QCOMPARE(bar->maximum(), 3 * 128);
        QVERIFY(bar->isHidden());
        // The images are those of the signals themselves.
        std::vector<float> sig(1024), coef(128 * 32);
        for (int k = 0; k < 1024; ++k)
            sig[k] = float(mw->signal[1][k].y());
        mw->wwstft(coef.data(), sig.data(), 128, 32, 1024, 0);
        for (int r = 0; r < 128; ++r)
            QCOMPARE(mw->plotterList[1]->matrixMapGroup[1].value(r)[5], coef[(127 - r) * 32 + 5]);

        // More loaded signals than image slots: the first eight only.
        mw->plotterCountRaw = 10;
        mw->plotterCount = 10;
        for (int i = 0; i < 10; ++i)
            mw->signal[i] = ramp(256, 360.0);
        mw->on_action_STFT_Analysis_triggered();
        QCOMPARE(mw->plotterList[7]->matrixMapGroup[7].size(), 128);
        QVERIFY(!mw->plotterList[8]->isImageMode() || mw->plotterList[8]->matrixMapGroup[0].isEmpty());
        QCOMPARE(mw->plotterList[0]->progressBar->maximum(), 8 * 128);

        mw->plotterCountRaw = savedRaw;
        mw->plotterCount = savedCount;
        mw->isBondSignals = false;
    }

    void bondedWaveletEightSignals()
    {
        DialogCloser closer;
        mw->isBondSignals = true;
        const int savedRaw = mw->plotterCountRaw;
        const int savedCount = mw->plotterCount;
        mw->plotterCountRaw = 8;
        mw->plotterCount = 8;
        for (int i = 0; i < 8; ++i)
            mw->signal[i] = makeSignal(1024, 360.0, [i](int k) { return std::sin(k * 0.02 * (i + 1)); });
        mw->on_action_Wavelet_Analysis_triggered();
        QVERIFY(closer.texts.isEmpty());
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(mw->plotterList[i]->currentMatrixMapIndex, i);
            QCOMPARE(mw->plotterList[i]->matrixMapGroup[i].size(), 100);
            QCOMPARE(mw->plotterList[i]->matrixMapGroup[i].value(99).size(), 1024);
        }
        QCOMPARE(mw->plotterList[0]->progressBar->maximum(), 800);
        QCOMPARE(mw->analysisType, 2);
        QCOMPARE(mw->deltaFrequency, (float(360.0) / 2.0) / 100);
        mw->plotterCountRaw = savedRaw;
        mw->plotterCount = savedCount;
        mw->isBondSignals = false;
    }

    void bondedRunConvertsOnlyTheWindowsInUse()
    {
        // After an unbonded run only four windows are in use: a bonded run
        // turns signal windows 0 to 3 into images and leaves the others.
        DialogCloser closer;
        unbonded(true);
        const int savedRaw = mw->plotterCountRaw;
        mw->plotterCountRaw = 8;
        for (int i = 0; i < 8; ++i)
            mw->signal[i] = ramp(1024, 360.0);
        mw->on_action_Time_Dom_Analysis_triggered();
        mw->on_action_Wavelet_Analysis_triggered();
        QCOMPARE(mw->plotterCount, 4);
        mw->isBondSignals = true;
        mw->on_action_Wavelet_Analysis_triggered();
        for (int i = 0; i < 8; ++i)
            QCOMPARE(mw->plotterList[i]->isImageMode(), i < 4);
        QCOMPARE(mw->plotterList[0]->progressBar->maximum(), 400);
        QVERIFY(closer.texts.isEmpty());
        mw->plotterCountRaw = savedRaw;
        mw->isBondSignals = false;
        mw->on_action_Time_Dom_Analysis_triggered();
    }

    void failedAllocationLeavesTheView()
    {
        DialogCloser closer;
        unbonded(true);
        // Show the time domain first, then refuse every large buffer.
        mw->on_action_Time_Dom_Analysis_triggered();
        const int count = mw->plotterCount;
        const int analysis = mw->analysisType;
        const int transform = mw->transformType;
        const QVector<float> row0 = W()->matrixMapGroup[0].value(0);
        mw->signal[0] = ramp(2048, 360.0);
        {
            ProbeGuard guard(4096);
            mw->on_action_STFT_Analysis_triggered();
        }
        QCOMPARE(closer.texts, QStringList({"Not enough memory for this analysis!"}));
        QCOMPARE(mw->plotterCount, count);
        QCOMPARE(mw->analysisType, analysis);
        QCOMPARE(mw->transformType, transform);
        QCOMPARE(W()->matrixMapGroup[0].value(0), row0);
        QVERIFY(mw->timeFrequencyProgressBar()->isHidden());
        QVERIFY(mw->plotterList[0]->isVisible());
        QVERIFY(!W()->isVisible());

        // A failure after some images were stored: a four-window layout on
        // screen keeps showing the images of its run.
        mw->TimeFrequencyAnalysis(mw->signal[0], 2);
        QVERIFY(W()->isVisible());
        QCOMPARE(W()->imageCount, 1);
        const QMap<int, QVector<float> > shown = W()->matrixMapGroup[0];
        const QVector<float> slot3 = W()->matrixMapGroup[3].value(0);
        const int index = W()->currentMatrixMapIndex;
        const QRect view = W()->currentSettings().draw;
        mw->isSingleWindow = false;
        QVector<QPointF> other = makeSignal(1500, 360.0, [](int k) { return std::sin(k * 0.3); });
        {
            // Work buffers, then the copies of images 0 and 1; the third fails.
            ProbeGuard guard(4 + 2, true);
            mw->TimeFrequencyAnalysis(other, 2);
        }
        QCOMPARE(closer.texts.size(), 2);
        QCOMPARE(closer.texts.last(), QString("Not enough memory for this analysis!"));
        QVERIFY(W()->matrixMapGroup[0] == shown);
        QCOMPARE(W()->matrixMapGroup[3].value(0), slot3);
        QCOMPARE(W()->currentMatrixMapIndex, index);
        QCOMPARE(W()->currentSettings().draw, view);
        QCOMPARE(W()->imageCount, 1);
        QVERIFY(W()->isVisible());
        QVERIFY(mw->timeFrequencyProgressBar()->isHidden());
        mw->isSingleWindow = true;
        mw->on_action_Time_Dom_Analysis_triggered();

        // Bonded: no window receives an image.
        mw->isBondSignals = true;
        {
            ProbeGuard guard(4096);
            mw->on_action_Wavelet_Analysis_triggered();
        }
        QCOMPARE(closer.texts.size(), 3);
        QVERIFY(!mw->plotterList[0]->isImageMode());
        QCOMPARE(mw->analysisType, analysis);
        // Failing at the third window: the first two go back to their curves.
        const QVector<QPointF> curve0 = mw->plotterList[0]->curveMap.value(0);
        QVERIFY(!curve0.isEmpty());
        {
            ProbeGuard guard(3 + 2, true);
            mw->on_action_STFT_Analysis_triggered();
        }
        QCOMPARE(closer.texts.size(), 4);
        for (int i = 0; i < 3; ++i) {
            QVERIFY(!mw->plotterList[i]->isImageMode());
            QVERIFY(mw->plotterList[i]->isVisible());
        }
        QCOMPARE(mw->plotterList[0]->curveMap.value(0), curve0);
        QVERIFY(mw->form()->action_Bond_Signals->isEnabled());
        QCOMPARE(mw->analysisType, analysis);
        mw->isBondSignals = false;
    }

    void pureToneLandsOnItsRow()
    {
        DialogCloser closer;
        unbonded(true);
        const double fs = 360.0;
        QVector<QPointF> tone = makeSignal(2048, fs, [fs](int i) { return std::sin(2 * M_PI * 10.0 * i / fs); });

        mw->TimeFrequencyAnalysis(tone, 2);
        int row = rowOfMostEnergy(W()->matrixMapGroup[0], 128);
        double freq = (127 - row) * mw->deltaFrequency;
        QVERIFY2(std::fabs(freq - 10.0) <= mw->deltaFrequency, qPrintable(QString::number(freq)));

        mw->TimeFrequencyAnalysis(tone, 1);
        const QMap<int, QVector<float> >& img = W()->matrixMapGroup[0];
        bool any = false;
        for (float v : img.value(50))
            any = any || v != 0.0f;
        if (!any)
            QSKIP("the wavelet transform has not produced values");
        row = rowOfMostEnergy(img, 100);
        freq = (100 - row) * mw->deltaFrequency;
        QVERIFY2(std::fabs(freq - 10.0) <= mw->deltaFrequency, qPrintable(QString::number(freq)));
    }
};

QTEST_MAIN(TestTimeFrequency)
#include "test_timefrequency.moc"
