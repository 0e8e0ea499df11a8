// Wavelet de-noising of a window's main curve, with save and undo.

#include "plot/plotter.h"
#include "app/mainwindow.h"
#include "dsp/tools.h"

#include <QMessageBox>
#include <QSlider>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The work buffer: the first n raw samples, then zeros up to N.
void fillBuffer(std::vector<double>& buffer, const QVector<double>& raw, qsizetype n)
{
    std::fill(buffer.begin(), buffer.end(), 0.0);
    for (qsizetype k = 0; k < n; ++k)
        buffer[size_t(k)] = raw.at(k);
}

} // namespace

void Plotter::DenoiseProcess()
{
    auto found = curveMap.find(0);
    if (found == curveMap.end() || found.value().isEmpty())
        return;
    QVector<QPointF>& curve = found.value();
    const qsizetype n = curve.size();
    const int m = exponentFor(n);
    if (m < 0)
        return;
    const int N = 1 << m;

    if (isSecondCurve) {
        curveMap.remove(1);
        isSecondCurve = false;
        // The removal may have moved the map's storage.
        found = curveMap.find(0);
    }
    QVector<QPointF>& samples = found.value();

    // The raw copy is kept from the first de-noising on. When another
    // analysis has since put a curve of another length in place, the copy
    // belongs to a curve that is gone: take the present one as the new raw
    // samples rather than mix the two.
    if (signalRaw.isEmpty() || signalRaw.size() != n) {
        signalRaw.clear();
        signalRaw.reserve(n);
        for (const QPointF& p : samples)
            signalRaw.append(p.y());
    }

    std::vector<double> buffer(size_t(N), 0.0);
    fillBuffer(buffer, signalRaw, n);

    toolbox tools(nullptr);
    // The wavelet transform needs at least two samples; a one-sample curve
    // stays as it is.
    const bool transformable = m >= 1;

    if (isManuDenoise) {
        if (!horizontalSlider->isHidden())
            deNoiseDeep = float(horizontalSlider->value() / 100.0);
        if (transformable)
            tools.denoise(deNoiseDeep, buffer.data(), m);
    } else {
        // Raise the depth from 0.6 in steps of 0.1 while the self-correlation
        // of the samples still peaks within two positions of zero lag.
        std::vector<double> correlation(size_t(N), 0.0);
        deNoiseDeep = 0.6f;
        const float step = 0.1f;
        const int delta = int(0.1 * N);
        const int zeroLag = N / 2;
        int pass = 1;
        while (transformable && pass <= 1 && deNoiseDeep <= 0.98) {
            tools.correlation(buffer.data(), buffer.data(), correlation.data(), m);
            double peak = -123456789.0;
            int peakIndex = 0;
            for (int i = zeroLag - delta; i <= zeroLag + delta - 1; ++i) {
                if (correlation[size_t(i)] > peak) {
                    peak = correlation[size_t(i)];
                    peakIndex = i;
                }
            }
            if (peakIndex < zeroLag - 2 || peakIndex > zeroLag + 2) {
                pass = 2;
            } else {
                deNoiseDeep += step;
                if (deNoiseDeep > 1.0)
                    deNoiseDeep = 1.0f;
                fillBuffer(buffer, signalRaw, n);
                tools.denoise(deNoiseDeep, buffer.data(), m);
            }
        }
    }

    for (qsizetype k = 0; k < n; ++k)
        samples[k].setY(buffer[size_t(k)]);

    titleIsShown = true;
    title = titlePrevious + " de-noised";
    isMarkCurve = false;
    // Not shown here: a bonded partner that the view hides stays hidden.
    refreshPixmap();
}

void Plotter::denoiseBondedPartners()
{
    MainWindow* w = mainw;
    if (w == nullptr || w->plotterCount <= 0 || !w->isBondSignals)
        return;
    const int count = MainWindow::clampToTable(w->plotterCount);
    for (int i = 0; i < count; ++i) {
        Plotter* partner = w->plotterList[i];
        if (partner == nullptr || partner == this)
            continue;
        partner->isManuDenoise = true;
        partner->deNoiseDeep = deNoiseDeep;
        partner->DenoiseProcess();
    }
}

void Plotter::ManuDenoiseProcess()
{
    isManuDenoise = true;
    // A change of value re-enters the slider handler, which de-noises at the
    // manual depth before the window shows its slider.
    horizontalSlider->setValue(80);
    horizontalSlider->show();
    DenoiseProcess();
    denoiseBondedPartners();
}

void Plotter::AutoDenoiseProcess()
{
    isManuDenoise = false;
    horizontalSlider->hide();
    DenoiseProcess();
    denoiseBondedPartners();
}

void Plotter::SaveDenoisedData()
{
    const QString name = "d_" + title + ".txt";
    const QByteArray path = name.toUtf8();
    FILE* file = std::fopen(path.constData(), "wt");
    bool written = file != nullptr;
    if (file != nullptr) {
        // Formatted by Qt, which always writes a decimal point: the C
        // library's %e follows the user's locale and could write commas.
        const QVector<QPointF> curve = curveMap.value(0);
        for (const QPointF& p : curve) {
            const QByteArray line = QString::asprintf("%e %e\n", p.x(), p.y()).toLatin1();
            if (std::fwrite(line.constData(), 1, size_t(line.size()), file) != size_t(line.size())) {
                written = false;
                break;
            }
        }
        if (std::fclose(file) != 0)
            written = false;
    }
    if (!written)
        QMessageBox::warning(this, tr("Save denoised-data"),
                             tr("The de-noised data could not be written to the file \"%1\".").arg(name));
}

void Plotter::UndoDenoise()
{
    auto restore = [](Plotter* p) {
        auto found = p->curveMap.find(0);
        // A copy of another length was taken from a curve that another view
        // has since replaced: it is dropped, and the curve shown stays as it
        // is, title and all, rather than take part of another curve.
        if (found != p->curveMap.end() && found.value().size() == p->signalRaw.size()) {
            QVector<QPointF>& curve = found.value();
            for (qsizetype k = 0; k < curve.size(); ++k)
                curve[k].setY(p->signalRaw.at(k));
            p->isMarkCurve = false;
            p->title = p->titlePrevious;
            p->refreshPixmap();
        }
        p->signalRaw.clear();
    };

    if (mainw != nullptr) {
        const int count = MainWindow::clampToTable(mainw->plotterCount);
        for (int i = 0; i < count; ++i) {
            Plotter* p = mainw->plotterList[i];
            if (p != nullptr && !p->signalRaw.isEmpty())
                restore(p);
        }
    }
    if (!signalRaw.isEmpty())
        restore(this);
    if (isManuDenoise)
        horizontalSlider->hide();
}
