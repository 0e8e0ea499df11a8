// Time-frequency analyses: one signal in the four-window layout, or every
// loaded signal in its own window when the signals are bonded.

#include "app/mainwindow.h"
#include "app/timefrequency_internal.h"
#include "app/ui_mainwindow.h"
#include "dsp/wavelet.h"

#include <QAction>
#include <QGridLayout>
#include <QMessageBox>
#include <QProgressBar>
#include <QSlider>

#include <algorithm>
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

template <typename T>
std::vector<T> workBuffer(std::size_t count)
{
    if (tfwork::allocationProbe)
        tfwork::allocationProbe(count * sizeof(T));
    return std::vector<T>(count, T());
}

int stftFrames(int n) { return (n - kStftOverlap) / kStftOverlap + 1; }

// Set when the last single-signal analysis gave up, so that the menu slots
// can take back the analysis state they set before calling it.
bool lastRunFailed = false;

void showInformation(const QString& text)
{
    QMessageBox::information(nullptr, QString(), text, QMessageBox::Ok, QMessageBox::NoButton);
}

QString shortSignalText(int type)
{
    return type == 1 ? MainWindow::tr("Data length should >= 1024!")
                     : MainWindow::tr("Data length should >= 64!");
}

// The x step must give a usable sampling rate.
bool samplingRate(const QVector<QPointF>& data, float& Fs)
{
    if (data.size() < 2)
        return false;
    const double dx = data[1].x() - data[0].x();
    if (!(dx > 0) || !std::isfinite(1.0 / dx))
        return false;
    Fs = float(1.0 / dx);
    return std::isfinite(Fs) && Fs > 0;
}

// Computes `count` images of rows x columns into `staged` (image after
// image, each row-major with row 0 the highest frequency). Image w is made
// from the samples that `fill(w, buffer)` writes. The progress bar advances
// once per row.
template <typename Fill>
void computeImages(MainWindow& mw, int type, int count, int n, int columns, float Fs,
                   int firstWavelet, bool waveletPerImage, Fill fill, std::vector<float>& staged,
                   QProgressBar* bar)
{
    const int rows = type == 1 ? kWaveletRows : kStftRows;
    const std::size_t cells = std::size_t(rows) * columns;
    std::vector<float> coefficient = workBuffer<float>(cells);
    std::vector<float> samples = workBuffer<float>(std::size_t(n));
    std::vector<float> Scales;
    std::vector<float> f;
    double deltaFrequency = (Fs / 2.0) / rows;
    if (type == 1) {
        Scales = workBuffer<float>(kWaveletRows);
        f = workBuffer<float>(kWaveletRows);
        for (int k = 0; k < kWaveletRows; ++k)
            f[k] = float((k + 1) * deltaFrequency);
    }
    const double* centre = mw.centerFrequencies();
    wavelet transform(nullptr);
    for (int w = 0; w < count; ++w) {
        fill(w, samples.data());
        if (type == 1) {
            const int base = waveletPerImage ? w : firstWavelet;
            for (int k = 0; k < kWaveletRows; ++k)
                Scales[k] = float(centre[base] * Fs / f[k]);
            // The transform writes every cell; zeros stand if it does not.
            std::fill(coefficient.begin(), coefficient.end(), 0.0f);
            transform.cwt(coefficient.data(), samples.data(), n, int(Fs), kWaveletRows, Scales.data(),
                          base);
        } else {
            mw.wwstft(coefficient.data(), samples.data(), kStftFft, kStftOverlap, n,
                      waveletPerImage ? w : 0);
        }
        float* image = staged.data() + std::size_t(w) * cells;
        for (int r = 0; r < rows; ++r) {
            std::copy_n(coefficient.data() + std::size_t(rows - 1 - r) * columns, columns,
                        image + std::size_t(r) * columns);
            bar->setValue(w * rows + r);
        }
        bar->setValue((w + 1) * rows);
    }
}

} // namespace

QProgressBar* MainWindow::timeFrequencyProgressBar()
{
    QWidget* area = ui->layoutWidget;
    if (!tfProgressBar) {
        tfProgressBar = new QProgressBar(area);
        tfProgressBar->setFixedSize(300, 30);
    }
    tfProgressBar->move(area->width() / 2 - 150, area->height() / 2 - 15);
    return tfProgressBar;
}

void MainWindow::TimeFrequencyAnalysis(QVector<QPointF>& data, int type)
{
    lastRunFailed = true;
    if (type != 1 && type != 2)
        return;
    const int N = int(data.size());
    if (N < (type == 1 ? tfwork::kMinWaveletLength : tfwork::kMinStftLength)) {
        showInformation(shortSignalText(type));
        return;
    }
    float Fs = 0;
    if (!samplingRate(data, Fs))
        return;

    Plotter* W = plotterListMatrix[1];
    const int rows = type == 1 ? kWaveletRows : kStftRows;
    const int windowNum = isSingleWindow ? 1 : (type == 1 ? 8 : 6);
    QProgressBar* bar = nullptr;
    std::vector<float> staged;
    tfwork::TrimResult trim{0, N - 1};
    int trimmed = 0;
    int columns = 0;

    // Everything that can run out of memory happens before any window is
    // touched, so that a failure leaves the previous view as it was.
    try {
        std::vector<float> sig = workBuffer<float>(std::size_t(N));
        for (int i = 0; i < N; ++i)
            sig[i] = float(data[i].y());
        trim = tfwork::centreAndTrim(sig.data(), N);
        trimmed = trim.end - trim.start + 1;
        std::move(sig.begin() + trim.start, sig.begin() + trim.end + 1, sig.begin());
        columns = type == 1 ? trimmed : stftFrames(trimmed);

        staged = workBuffer<float>(std::size_t(windowNum) * rows * columns);
        bar = timeFrequencyProgressBar();
        bar->setRange(0, windowNum * rows);
        bar->setValue(0);
        W->progressBar = bar;
        bar->show();
        bar->raise();
        computeImages(*this, type, windowNum, trimmed, columns, Fs, 0, true,
                      [&](int, float* out) { std::copy_n(sig.data(), trimmed, out); }, staged, bar);

        if (type == 2)
            analysisType = 3;
        deltaFrequency = (Fs / 2.0) / rows;
        W->minY = float(deltaFrequency);
        W->maxY = float(Fs / 2.0);
        W->minX = float(data[trim.start].x());
        W->maxX = float(data[trim.end].x());
        W->imageCount = windowNum;
        const std::size_t cells = std::size_t(rows) * columns;
        for (int w = 0; w < windowNum; ++w) {
            W->currentMatrixMapIndex = w;
            W->setMatrixData(QPoint(columns, rows), staged.data() + w * cells);
        }
    } catch (const std::bad_alloc&) {
        if (bar)
            bar->hide();
        showInformation(tr("Not enough memory for this analysis!"));
        return;
    }
    bar->hide();
    lastRunFailed = false;

    const double dx = data[1].x() - data[0].x();
    if (type == 1) {
        firstTimeIndex = trim.start;
        deltaTime = dx;
    } else {
        firstTimeIndex = trim.start * columns / trimmed;
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
    for (int i = 0; i < previousPlotterCount; ++i)
        plotterList[i]->hide();
    for (int i = 0; i < previousPlotterCountMatrix; ++i)
        plotterListMatrix[i]->hide();
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

    const QVector<QPointF> segment = data.mid(trim.start, trimmed);
    for (int i = 0; i < 4; ++i) {
        Plotter* p = plotterListMatrix[i];
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
    W->minX = float(data[trim.start].x());
    W->maxX = float(data[trim.end].x());
    W->yLabel = "Frequency    Hz";
    W->yLabelIsShown = true;
    W->matrixExtract = true;
    W->show();

    // Mean over frequency of the last image computed.
    const float* last = staged.data() + std::size_t(windowNum - 1) * rows * columns;
    const double x0 = data[trim.start].x();
    const double dt = (data[trim.end].x() - x0) / columns;
    QVector<QPointF> mean(columns);
    for (int c = 0; c < columns; ++c) {
        double sum = 0;
        for (int r = 0; r < rows; ++r)
            sum += last[std::size_t(r) * columns + c];
        mean[c] = QPointF(x0 + c * dt, sum / rows);
    }
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
}

namespace {

// One image of its own signal in every loaded signal's window: the first
// mother wavelet (type 1) or the square STFT window (type 2).
void bondedImages(MainWindow& mw, Ui::MainWindow* ui, int type)
{
    const QVector<QPointF>& first = mw.signal[0];
    const int N = int(first.size());
    if (type == 2 && N < tfwork::kMinStftLength) {
        showInformation(shortSignalText(type));
        return;
    }
    float Fs = 0;
    if (!samplingRate(first, Fs))
        return;
    // Only loaded signals (not the filler window of an odd grid), and no
    // more than the image slots.
    const int count = std::clamp(mw.plotterCountRaw, 0, 8);
    if (count == 0)
        return;
    const int rows = type == 1 ? kWaveletRows : kStftRows;
    const int columns = type == 1 ? N : stftFrames(N);
    QProgressBar* bar = nullptr;
    std::vector<float> staged;
    try {
        staged = workBuffer<float>(std::size_t(count) * rows * columns);
        bar = mw.timeFrequencyProgressBar();
        bar->setRange(0, count * rows);
        bar->setValue(0);
        mw.plotterList[0]->progressBar = bar;
        bar->show();
        bar->raise();
        computeImages(mw, type, count, N, columns, Fs, 0, false,
                      [&](int i, float* out) {
                          // A shorter signal continues with zeros.
                          const QVector<QPointF>& s = mw.signal[i];
                          const int have = std::min(N, int(s.size()));
                          for (int k = 0; k < have; ++k)
                              out[k] = float(s[k].y());
                          std::fill(out + have, out + N, 0.0f);
                      },
                      staged, bar);

        mw.analysisType = type == 1 ? 2 : 3;
        mw.deltaFrequency = (Fs / 2.0) / rows;
        const std::size_t cells = std::size_t(rows) * columns;
        for (int i = 0; i < count; ++i) {
            Plotter* p = mw.plotterList[i];
            p->currentMatrixMapIndex = i;
            p->minY = float(mw.deltaFrequency);
            p->maxY = float(Fs / 2.0);
            p->minX = float(first[0].x());
            p->maxX = float(first[N - 1].x());
            // The window's one image sits in its own slot: nothing to choose.
            p->imageCount = 0;
            p->setMatrixData(QPoint(columns, rows), staged.data() + i * cells);
            ui->action_Bond_Signals->setEnabled(false);
        }
    } catch (const std::bad_alloc&) {
        if (bar)
            bar->hide();
        showInformation(MainWindow::tr("Not enough memory for this analysis!"));
        return;
    }
    bar->hide();
}

} // namespace

void MainWindow::on_action_Wavelet_Analysis_triggered()
{
    if (signal[0].size() < tfwork::kMinWaveletLength) {
        showInformation(shortSignalText(1));
        return;
    }
    if (!isBondSignals) {
        const int previousAnalysis = analysisType;
        const int previousTransform = transformType;
        analysisType = 2;
        transformType = 1;
        TimeFrequencyAnalysis(signal[0], 1);
        if (lastRunFailed) {
            analysisType = previousAnalysis;
            transformType = previousTransform;
        }
    } else {
        bondedImages(*this, ui, 1);
    }
}

void MainWindow::on_action_STFT_Analysis_triggered()
{
    if (signal[0].size() < tfwork::kMinStftLength) {
        showInformation(shortSignalText(2));
        return;
    }
    if (!isBondSignals) {
        const int previousAnalysis = analysisType;
        const int previousTransform = transformType;
        analysisType = 3;
        transformType = 2;
        TimeFrequencyAnalysis(signal[0], 2);
        if (lastRunFailed) {
            analysisType = previousAnalysis;
            transformType = previousTransform;
        }
    } else {
        bondedImages(*this, ui, 2);
    }
}
