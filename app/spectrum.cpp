// Spectrum analyses of the main window: the FFT spectrum of one signal or of
// every displayed signal, the power spectral density action and the power
// spectrum that the plot windows use.

#include "app/mainwindow.h"
#include "app/spectral.h"
#include "app/ui_mainwindow.h"

#include <QGridLayout>
#include <QMenu>

#include <algorithm>

namespace {

bool isDataFailure(spectral::Status s)
{
    return s == spectral::Status::TooShort || s == spectral::Status::NoSamplingRate;
}

void setSpectrumLabels(Plotter* p, const QString& yUnit)
{
    p->xLabel.clear();
    p->xLabel = QStringLiteral("Frequency (Hz)");
    p->xLabelIsShown = true;
    p->yLabel.clear();
    p->yLabel.append(yUnit);
    p->yLabelIsShown = true;
    p->title = spectral::spectrumTitle(p->title);
    p->titleIsShown = true;
}

// The spectrum of `data` shown alone in the current signal's window.
// Everything is computed before any window changes, so a failure leaves the
// windows as they were (after a message).
bool showSingleSpectrum(MainWindow* mw, const QVector<QPointF>& data)
{
    QVector<QPointF> spectrum;
    const spectral::Status status = spectral::spectrumOfCurve(data, spectrum);
    if (status != spectral::Status::Ok) {
        spectral::reportFailure(status, "MainWindow", false);
        return false;
    }
    if (mw->currentSignalIndex < 0 || mw->currentSignalIndex >= MainWindow::plotterTableSize)
        mw->currentSignalIndex = 0;

    for (int i = 0; i < MainWindow::clampToTable(mw->previousPlotterCount); ++i) {
        mw->plotterList[i]->curveMap.clear();
        mw->plotterList[i]->scoreList.clear();
    }

    Plotter* p = mw->plotterList[mw->currentSignalIndex];
    mw->hideWindowsOutside({p});
    p->isMarkCurve = false;
    setSpectrumLabels(p, mw->yUnit);
    p->curveMap.clear();
    p->setCurveData(0, spectrum);
    mw->form()->workspaceLayout->addWidget(p, 0, 0, Qt::Alignment());
    p->show();
    mw->previousPlotterCount = mw->plotterCount;
    return true;
}

// Every window in use gets the spectrum of the signal of its own index; the
// filler window of an odd grid mirrors the last signal, and so its spectrum.
// The grid stays as it is.
bool showBondedSpectra(MainWindow* mw)
{
    const int count = MainWindow::clampToTable(mw->plotterCount);
    QVector<QVector<QPointF> > spectra(count);
    QVector<bool> done(count, false);
    spectral::Status dataFailure = spectral::Status::Ok;
    int computed = 0;
    for (int i = 0; i < count; ++i) {
        const int source = std::min(i, mw->plotterCountRaw - 1);
        const spectral::Status status =
            source < 0 ? spectral::Status::TooShort : spectral::spectrumOfCurve(mw->signal[source], spectra[i]);
        if (status == spectral::Status::Ok) {
            done[i] = true;
            ++computed;
        } else if (isDataFailure(status)) {
            if (dataFailure == spectral::Status::Ok)
                dataFailure = status;
        } else {
            spectral::reportFailure(status, "MainWindow", false);
            return false;
        }
    }
    if (computed == 0) {
        spectral::reportFailure(dataFailure == spectral::Status::Ok ? spectral::Status::TooShort : dataFailure,
                                "MainWindow", false);
        return false;
    }
    for (int i = 0; i < count; ++i) {
        if (!done[i])
            continue;
        Plotter* w = mw->plotterList[i];
        w->isMarkCurve = false;
        setSpectrumLabels(w, mw->yUnit);
        w->curveMap.clear();
        w->setCurveData(0, spectra[i]);
    }
    return true;
}

} // namespace

void MainWindow::on_action_Fast_Fourier_Transform_triggered()
{
    bool shown = false;
    if (!isBondSignals) {
        // An index above the windows in use is left over from a larger
        // layout; one that names no loaded signal cannot be transformed.
        // Both fall back to the first signal.
        if (currentSignalIndex < 0 || currentSignalIndex > plotterCount
            || currentSignalIndex >= std::min(plotterCountRaw, 30))
            currentSignalIndex = 0;
        const QVector<QPointF> data = signal[currentSignalIndex];
        shown = showSingleSpectrum(this, data);
    } else {
        shown = showBondedSpectra(this);
    }
    analysisFailed = !shown;
    if (!shown)
        return;
    analysisType = 1;
    ui->menu_Frequency_Dom_Analysis->setEnabled(false);
}

void MainWindow::on_action_Power_Spectral_Density_triggered()
{
    // Any window of the table may be asked; one without a usable curve
    // reports that itself.
    if (currentSignalIndex < 0 || currentSignalIndex >= plotterTableSize)
        currentSignalIndex = 0;
    plotterList[currentSignalIndex]->PowerSpectralDensity();
    if (analysisFailed)
        return;
    analysisType = 1;
    ui->menu_Frequency_Dom_Analysis->setEnabled(false);
}

void MainWindow::FFTSpectrum(QVector<QPointF>& data)
{
    analysisFailed = !showSingleSpectrum(this, data);
}

void MainWindow::wwPS(double* PS, double* signal, int dal)
{
    // Fewer than ten samples leave PS as it was.
    (void)spectral::powerSpectrum(PS, signal, dal);
}
