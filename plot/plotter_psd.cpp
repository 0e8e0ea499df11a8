// Power spectral density of the plot windows' curves.

#include "plot/plotter.h"
#include "app/mainwindow.h"
#include "app/spectral.h"

void Plotter::PowerSpectralDensity()
{
    if (mainw == nullptr)
        return;
    using spectral::Status;
    mainw->analysisFailed = true;

    QVector<Plotter*> targets;
    if (mainw->isBondSignals) {
        for (int i = 0; i < MainWindow::clampToTable(mainw->plotterCount); ++i)
            targets.append(mainw->plotterList[i]);
    } else {
        targets.append(this);
    }

    // Compute everything first: a failure leaves every window as it was.
    // Each window works on its own curve: after a spectrum of one window the
    // others hold no curve and are skipped.
    QVector<QVector<QPointF> > curves(targets.size());
    QVector<bool> done(targets.size(), false);
    Status dataFailure = Status::Ok;
    int computed = 0;
    for (int t = 0; t < targets.size(); ++t) {
        const Status status = spectral::psdCurve(targets[t]->curveMap.value(0), curves[t]);
        if (status == Status::Ok) {
            done[t] = true;
            ++computed;
        } else if (status == Status::TooShort || status == Status::NoSamplingRate) {
            if (dataFailure == Status::Ok)
                dataFailure = status;
        } else {
            spectral::reportFailure(status, "Plotter", true);
            return;
        }
    }
    if (computed == 0) {
        spectral::reportFailure(dataFailure == Status::Ok ? Status::TooShort : dataFailure, "Plotter", true);
        return;
    }

    for (int t = 0; t < targets.size(); ++t) {
        if (!done[t])
            continue;
        Plotter* w = targets[t];
        w->setCurveData(0, curves[t]);
        w->title = w->title + QStringLiteral("_PSD");
        w->xLabel = QStringLiteral("Frequency (Hz)");
        w->xLabelIsShown = true;
        w->yLabel = QStringLiteral("mW/Hz");
        w->yLabelIsShown = true;
        w->refreshPixmap();
    }

    if (!mainw->isBondSignals) {
        mainw->hideWindowsOutside({this});
        show();
        mainw->previousPlotterCount = mainw->plotterCount;
    }
    mainw->analysisType = 1;
    mainw->analysisFailed = false;
}
