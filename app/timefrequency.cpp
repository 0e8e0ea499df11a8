// Time-frequency analyses: one signal in the four-window layout, or every
// loaded signal in its own window when the signals are bonded.

#include "app/mainwindow.h"
#include "app/spectral.h"
#include "app/timefrequency_internal.h"
#include "app/ui_mainwindow.h"
#include "dsp/wavelet.h"

#include <QAction>
#include <QGridLayout>
#include <QMessageBox>
#include <QProgressBar>
#include <QSlider>

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>
#include <vector>

namespace tfwork {

void (*allocationProbe)(std::size_t bytes) = nullptr;

TrimResult centreAndTrim(float* sig, int n)
{
    TrimResult t{0, n - 1};
    if (n < 1)
        return t;
    float MMax = -100000.0f;
    float MMin = 100000.0f;
    for (int i = 0; i < n; ++i) {
        if (sig[i] > MMax)
            MMax = sig[i];
        if (sig[i] < MMin)
            MMin = sig[i];
    }
    const float Middle = (MMax + MMin) / 2.0;
    for (int i = 0; i < n; ++i)
        sig[i] -= Middle;

    const int L = int(0.01 * n);
    if (sig[0] != 0) {
        const bool positive = sig[0] > 0;
        for (int j = 1; j < L; ++j) {
            if (positive ? sig[j] <= 0 : sig[j] >= 0) {
                t.start = j;
                sig[j] = 0;
                break;
            }
        }
    }
    if (sig[n - 1] != 0) {
        const bool positive = sig[n - 1] > 0;
        for (int j = n - 2; j > n - L; --j) {
            if (positive ? sig[j] <= 0 : sig[j] >= 0) {
                t.end = j;
                sig[j] = 0;
                break;
            }
        }
    }
    return t;
}

} // namespace tfwork

namespace {

const int kWaveletRows = 100;
const int kStftRows = 128;
const int kStftFft = 128;
const int kStftOverlap = 32;

void probe(std::size_t bytes)
{
    if (tfwork::allocationProbe)
        tfwork::allocationProbe(bytes);
}

template <typename T>
std::vector<T> workBuffer(std::size_t count)
{
    probe(count * sizeof(T));
    return std::vector<T>(count, T());
}

int stftFrames(int n) { return (n - kStftOverlap) / kStftOverlap + 1; }

void showInformation(const QString& text)
{
    QMessageBox::information(nullptr, QString(), text, QMessageBox::Ok, QMessageBox::NoButton);
}

// The sampling rate of a time-frequency run, held as a float. A curve
// without one gets the spectrum's message.
bool samplingRate(const QVector<QPointF>& data, float& Fs)
{
    double rate = 0;
    const spectral::Status status = spectral::samplingRate(data, rate);
    if (status != spectral::Status::Ok) {
        showInformation(spectral::failureText(status, "MainWindow", false));
        return false;
    }
    Fs = float(rate);
    return true;
}

// What a plot window showed before a run, so that a run that runs out of
// memory can put it back. The copies share their data with the window.
// Images are kept only while they are on screen: holding the others would
// only cost memory (and the time of fresh memory for the new ones).
struct WindowState {
    explicit WindowState(Plotter* w)
        : p(w), zoom(w->zoomStack), curZoom(w->curZoom), index(w->currentMatrixMapIndex),
          imageCount(w->imageCount), minX(w->minX), maxX(w->maxX), minY(w->minY), maxY(w->maxY),
          wasImage(w->isImageMode()), keptImages(w->isImageMode() && w->isVisible()),
          curves(w->curveMap), progressBar(w->progressBar)
    {
        if (keptImages)
            for (int k = 0; k < Plotter::imageSlots; ++k)
                images[k] = w->matrixMapGroup[k];
    }

    void restore() const
    {
        if (!wasImage && p->isImageMode())
            p->setCurveData(0, curves.value(0)); // back to curve mode
        p->curveMap = curves;
        if (keptImages)
            for (int k = 0; k < Plotter::imageSlots; ++k)
                p->matrixMapGroup[k] = images[k];
        p->zoomStack = zoom;
        p->curZoom = curZoom;
        p->currentMatrixMapIndex = index;
        // Without its images a window offers none until a run completes.
        p->imageCount = keptImages ? imageCount : 0;
        p->minX = minX;
        p->maxX = maxX;
        p->minY = minY;
        p->maxY = maxY;
        p->progressBar = progressBar;
        p->refreshPixmap();
    }

    Plotter* p;
    QMap<int, QVector<float> > images[Plotter::imageSlots];
    QVector<PlotSettings> zoom;
    int curZoom, index, imageCount;
    float minX, maxX, minY, maxY;
    bool wasImage, keptImages;
    QMap<int, QVector<QPointF> > curves;
    QProgressBar* progressBar;
};

// Makes one time-frequency image at a time into `sc` (rows x columns,
// row-major, row 0 the highest frequency) from the samples in `samples`.
class ImageMaker
{
public:
    ImageMaker(MainWindow& mw, int type, int n, float Fs)
        : mw(mw), type(type), n(n), Fs(Fs), rows(type == 1 ? kWaveletRows : kStftRows),
          columns(type == 1 ? n : stftFrames(n)), transform(nullptr)
    {
        samples = workBuffer<float>(std::size_t(n));
        sc = workBuffer<float>(std::size_t(rows) * columns);
        if (type == 1) {
            scales = workBuffer<float>(kWaveletRows);
            f = workBuffer<float>(kWaveletRows);
            const double deltaFrequency = (Fs / 2.0) / kWaveletRows;
            for (int k = 0; k < kWaveletRows; ++k)
                f[k] = float((k + 1) * deltaFrequency);
        } else {
            coefficient = workBuffer<float>(std::size_t(rows) * columns);
        }
    }

    // Image of mother wavelet or STFT window `base`; the progress bar
    // advances once per row from `progress`.
    void make(int base, QProgressBar* bar, int progress)
    {
        if (type == 1) {
            // Each row of the transform depends on its own scale only, so
            // the scales are given highest frequency first and the rows come
            // out in image order.
            const double centre = mw.centerFrequencies()[base];
            for (int r = 0; r < kWaveletRows; ++r)
                scales[r] = float(centre * Fs / f[kWaveletRows - 1 - r]);
            // The transform writes every cell (the buffer starts zeroed).
            // The transform takes the rate as an int; rates beyond its
            // range are held at its end.
            const int intFs = Fs < float(INT_MAX) ? int(Fs) : INT_MAX;
            transform.cwt(sc.data(), samples.data(), n, intFs, kWaveletRows, scales.data(), base);
            // The rows are ready at once: the bar takes their values without
            // painting each, and is painted when the image is stored.
            bar->setUpdatesEnabled(false);
            for (int r = 0; r < rows; ++r)
                bar->setValue(progress + r);
            bar->setUpdatesEnabled(true);
        } else {
            mw.wwstft(coefficient.data(), samples.data(), kStftFft, kStftOverlap, n, base);
            bar->setUpdatesEnabled(false);
            for (int r = 0; r < rows; ++r) {
                std::copy_n(coefficient.data() + std::size_t(rows - 1 - r) * columns, columns,
                            sc.data() + std::size_t(r) * columns);
                bar->setValue(progress + r);
            }
            bar->setUpdatesEnabled(true);
        }
    }

    MainWindow& mw;
    const int type, n;
    const float Fs;
    const int rows, columns;
    std::vector<float> samples, sc, coefficient, scales, f;
    wavelet transform;
};

// A hidden window of the layout is drawn only once it has its place: until
// then it has no size, so the data stored in it meanwhile draws nothing.
void drawWhenPlaced(Plotter* p)
{
    if (!p->isVisible())
        p->resize(0, 0);
}

QProgressBar* startProgress(MainWindow& mw, int maximum)
{
    QProgressBar* bar = mw.timeFrequencyProgressBar();
    bar->setRange(0, maximum);
    bar->setValue(0);
    bar->show();
    bar->raise(); // above the plot windows placed after it was made
    return bar;
}

} // namespace

bool MainWindow::waveletLengthAccepted(qsizetype count)
{
    if (count >= tfwork::kMinWaveletLength)
        return true;
    showInformation(tr("Data length should >= 1024!"));
    return false;
}

QProgressBar* MainWindow::timeFrequencyProgressBar()
{
    QWidget* area = ui->layoutWidget;
    if (!tfProgressBar) {
        tfProgressBar = new QProgressBar(area);
        tfProgressBar->setFixedSize(300, 30);
        tfProgressBar->hide();
    }
    tfProgressBar->move(area->width() / 2 - 150, area->height() / 2 - 15);
    return tfProgressBar;
}

void MainWindow::TimeFrequencyAnalysis(QVector<QPointF>& data, int type)
{
    analysisFailed = true;
    if (type != 1 && type != 2)
        return;
    const int N = int(data.size());
    if (type == 1 && !waveletLengthAccepted(N))
        return;
    float Fs = 0;
    if (!samplingRate(data, Fs))
        return;

    Plotter* W = plotterListMatrix[1];
    const int rows = type == 1 ? kWaveletRows : kStftRows;
    const int windowNum = isSingleWindow ? 1 : (type == 1 ? 8 : 6);
    const WindowState before(W);
    QProgressBar* bar = nullptr;
    tfwork::TrimResult trim{0, N - 1};
    int trimmed = 0;
    int columns = 0;
    QVector<QPointF> segment;
    QVector<QPointF> mean;
    // The curve may belong to a window that the layout below redraws.
    const double dx = data[1].x() - data[0].x();
    double xStart = 0, xEnd = 0;

    try {
        std::vector<float> sig = workBuffer<float>(std::size_t(N));
        for (int i = 0; i < N; ++i)
            sig[i] = float(data[i].y());
        trim = tfwork::centreAndTrim(sig.data(), N);
        trimmed = trim.end - trim.start + 1;
        xStart = data[trim.start].x();
        xEnd = data[trim.end].x();
        ImageMaker maker(*this, type, trimmed, Fs);
        columns = maker.columns;
        std::copy_n(sig.begin() + trim.start, trimmed, maker.samples.begin());
        sig = std::vector<float>();

        bar = startProgress(*this, windowNum * rows);
        W->progressBar = bar;
        drawWhenPlaced(W);
        const double rowStep = (Fs / 2.0) / rows;
        W->minY = float(rowStep);
        W->maxY = float(Fs / 2.0);
        W->minX = float(xStart);
        W->maxX = float(xEnd);
        W->imageCount = windowNum;
        for (int w = 0; w < windowNum; ++w) {
            maker.make(w, bar, w * rows);
            W->currentMatrixMapIndex = w;
            probe(maker.sc.size() * sizeof(float)); // the window keeps a copy
            W->setMatrixData(QPoint(columns, rows), maker.sc.data());
            bar->setValue((w + 1) * rows);
        }

        // Mean over frequency of the last image computed.
        const double dt = (xEnd - xStart) / columns;
        // Summed row by row: each column still adds its rows top to bottom.
        std::vector<double> sums = workBuffer<double>(std::size_t(columns));
        for (int r = 0; r < rows; ++r) {
            const float* row = maker.sc.data() + std::size_t(r) * columns;
            for (int c = 0; c < columns; ++c)
                sums[c] += row[c];
        }
        mean.resize(columns);
        for (int c = 0; c < columns; ++c)
            mean[c] = QPointF(xStart + c * dt, sums[c] / rows);
        segment = data.mid(trim.start, trimmed);
    } catch (const std::bad_alloc&) {
        // The work buffers are gone by now; put the image window back.
        before.restore();
        if (bar)
            bar->hide();
        showInformation(tr("Not enough memory for this analysis!"));
        return;
    }
    bar->hide();
    analysisFailed = false;

    if (type == 2)
        analysisType = 3;
    deltaFrequency = (Fs / 2.0) / rows;
    if (type == 1) {
        firstTimeIndex = trim.start;
        deltaTime = dx;
    } else {
        // In 64 bits: the product may pass an int's range on long signals.
        firstTimeIndex = int(qint64(trim.start) * columns / trimmed);
        deltaTime = trimmed * dx / columns;
    }

    if (W->slider) {
        if (!isSingleWindow) {
            W->slider->setRange(0, W->currentMatrixMapIndex);
            W->slider->setValue(W->currentMatrixMapIndex);
            W->slider->setValue(0);
            W->slider->show();
            W->windowTypeSelection();
        } else {
            W->slider->hide();
        }
    }

    // The four stacked windows: signal, image, mean over frequency, signal.
    // The grid is laid out once when all four stand, not at every window
    // shown (each pass would resize and redraw every window shown so far).
    ui->mainLayout->setEnabled(false);
    hideWindowsOutside({plotterListMatrix[0], plotterListMatrix[1], plotterListMatrix[2], plotterListMatrix[3]});
    plotterCount = 4;
    for (int i = 0; i < 4; ++i) {
        Plotter* p = plotterListMatrix[i];
        p->MarginTop = 6;
        p->MarginBottom = 6;
        p->titleIsShown = false;
        p->xLabelIsShown = false;
        p->yLabelIsShown = true;
        p->isMarkCurve = false;
        p->scoreList.clear();
    }
    plotterListMatrix[3]->MarginBottom = 24;

    for (int i = 0; i < 4; ++i) {
        Plotter* p = plotterListMatrix[i];
        drawWhenPlaced(p);
        ui->workspaceLayout->addWidget(p, i, 0, Qt::Alignment());
        p->yLabel = yUnit;
        p->yLabelIsShown = true;
        p->passitive = true;
    }

    Plotter* top = plotterListMatrix[0];
    top->curveMap.clear();
    top->setCurveData(0, segment);
    top->show();

    W->passitive = false;
    W->minY = float(deltaFrequency);
    W->maxY = float(Fs / 2.0);
    W->minX = float(xStart);
    W->maxX = float(xEnd);
    W->yLabel = "Frequency    Hz";
    W->yLabelIsShown = true;
    W->matrixExtract = true;
    W->show();

    Plotter* meanWindow = plotterListMatrix[2];
    meanWindow->curveMap.clear();
    meanWindow->setCurveData(0, mean);
    meanWindow->setCurveData(1, mean);
    meanWindow->show();

    Plotter* bottom = plotterListMatrix[3];
    bottom->curveMap.clear();
    bottom->setCurveData(1, segment);
    bottom->show();

    previousPlotterCountMatrix = plotterCount;

    // The windows take their places only now; the selector's label was
    // anchored to the slider where the image window stood before, so it
    // follows the slider to its new place.
    ui->mainLayout->setEnabled(true);
    ui->mainLayout->activate();
    if (!isSingleWindow && W->slider && W->imageCount > 1)
        W->setWindowType(W->slider->value());
}

namespace {

// One image of its own signal in every loaded signal's window: the first
// mother wavelet (type 1) or the square STFT window (type 2).
void bondedImages(MainWindow& mw, Ui::MainWindow* ui, int type)
{
    const QVector<QPointF>& first = mw.signal[0];
    const int N = int(first.size());
    float Fs = 0;
    if (!samplingRate(first, Fs))
        return;
    // The windows in use, but only those of loaded signals (not the filler
    // window of an odd grid), and no more than the image slots.
    const int count = std::clamp(std::min(mw.plotterCount, mw.plotterCountRaw), 0, Plotter::imageSlots);
    if (count == 0)
        return;
    const int rows = type == 1 ? kWaveletRows : kStftRows;
    const bool bondActionEnabled = ui->action_Bond_Signals->isEnabled();
    std::vector<WindowState> before;
    QProgressBar* bar = nullptr;
    try {
        before.reserve(count);
        for (int i = 0; i < count; ++i)
            before.emplace_back(mw.plotterList[i]);
        ImageMaker maker(mw, type, N, Fs);
        bar = startProgress(mw, count * rows);
        mw.plotterList[0]->progressBar = bar;
        const double rowStep = (Fs / 2.0) / rows;
        for (int i = 0; i < count; ++i) {
            // A shorter signal continues with zeros.
            const QVector<QPointF>& s = mw.signal[i];
            const int have = std::min(N, int(s.size()));
            for (int k = 0; k < have; ++k)
                maker.samples[k] = float(s[k].y());
            std::fill(maker.samples.begin() + have, maker.samples.end(), 0.0f);
            maker.make(0, bar, i * rows);

            Plotter* p = mw.plotterList[i];
            p->currentMatrixMapIndex = i;
            p->minY = float(rowStep);
            p->maxY = float(Fs / 2.0);
            p->minX = float(first[0].x());
            p->maxX = float(first[N - 1].x());
            // The window's one image sits in its own slot: nothing to choose.
            p->imageCount = 0;
            probe(maker.sc.size() * sizeof(float));
            p->setMatrixData(QPoint(maker.columns, rows), maker.sc.data());
            ui->action_Bond_Signals->setEnabled(false);
        }
        mw.deltaFrequency = rowStep;
        mw.analysisType = type == 1 ? 2 : 3;
    } catch (const std::bad_alloc&) {
        for (const WindowState& state : before)
            state.restore();
        ui->action_Bond_Signals->setEnabled(bondActionEnabled);
        if (bar)
            bar->hide();
        showInformation(MainWindow::tr("Not enough memory for this analysis!"));
        return;
    }
    bar->hide();
}

// The menu's wavelet (type 1) and STFT (type 2) analyses: every signal's own
// image when the signals are bonded, else the first signal in the
// four-window layout.
void runFromMenu(MainWindow& mw, Ui::MainWindow* ui, int type)
{
    if (type == 1 && !MainWindow::waveletLengthAccepted(mw.signal[0].size()))
        return;
    if (mw.isBondSignals)
        bondedImages(mw, ui, type);
    else
        mw.timeFrequencyOfOneSignal(mw.signal[0], type);
}

} // namespace

void MainWindow::timeFrequencyOfOneSignal(QVector<QPointF> data, int type)
{
    const int previousAnalysis = analysisType;
    const int previousTransform = transformType;
    analysisType = type == 1 ? 2 : 3;
    transformType = type;
    TimeFrequencyAnalysis(data, type);
    if (analysisFailed) {
        analysisType = previousAnalysis;
        transformType = previousTransform;
    }
}

void MainWindow::on_action_Wavelet_Analysis_triggered()
{
    runFromMenu(*this, ui, 1);
}

void MainWindow::on_action_STFT_Analysis_triggered()
{
    runFromMenu(*this, ui, 2);
}
