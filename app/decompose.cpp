// Decomposition of the signals at one wavelet scale.

#include "app/mainwindow.h"
#include "dsp/wavelet.h"

#include <QInputDialog>
#include <QMessageBox>

#include <new>
#include <vector>

namespace {

// Levels the decomposition is defined for: level L stands for the image
// frequency (101 - L) * Fs / 200.
const int kMinLevel = 1;
const int kMaxLevel = 100;

} // namespace

void MainWindow::on_action_Set_Decompose_Level_triggered()
{
    bool ok = false;
    const int level = QInputDialog::getInt(this, tr("Decompose Level Setup"), tr("Input decompose level (1-100):"),
                                           decomposeLevel, kMinLevel, kMaxLevel, 1, &ok);
    // A cancelled dialog keeps the level as it was.
    if (ok)
        decomposeLevel = level;
}

void MainWindow::on_action_Decompose_triggered()
{
    const int count = clampToTable(plotterCount);
    if (count == 0 || plotterList[0] == nullptr || CenterFreq == nullptr)
        return;

    // A level picked from an image row can lie outside the levels the scale
    // formula covers (101 and above would divide by zero or go negative):
    // bring it into range, and keep that level for the title and later runs.
    decomposeLevel = qBound(kMinLevel, decomposeLevel, kMaxLevel);

    const int N = int(plotterList[0]->curveMap.value(0).size());
    if (N == 0)
        return;

    float scale = float((2 * CenterFreq[0] * 100.0) / (101 - decomposeLevel));

    try {
        std::vector<float> result(size_t(N), 0.0f);
        std::vector<float> input;
        wavelet transform;

        for (int i = 0; i < count; ++i) {
            Plotter* w = plotterList[i];
            if (w == nullptr)
                continue;
            const QVector<QPointF> curve = w->curveMap.value(0);
            // Only as many samples as both window 0 and this window hold; a
            // window without a curve has nothing to decompose.
            const int n = qMin(N, int(curve.size()));
            if (n == 0)
                continue;

            input.assign(size_t(n), 0.0f);
            for (int k = 0; k < n; ++k)
                input[size_t(k)] = float(curve[k].y());

            transform.cwt(result.data(), input.data(), n, 0, 1, &scale, 0);

            QVector<QPointF> decomposed(n);
            for (int k = 0; k < n; ++k)
                decomposed[k] = QPointF(curve[k].x(), double(result[size_t(k)]));

            w->setCurveData(0, decomposed);
            w->title = w->titlePrevious + "_Decomposed_Level_" + QString::number(decomposeLevel);
            w->refreshPixmap();
        }
    } catch (const std::bad_alloc&) {
        QMessageBox::information(this, tr("Decompose"), tr("Not enough memory for the decomposition!"),
                                 QMessageBox::Ok);
    }

    // The decomposed titles become the base of the next decomposition.
    for (int i = 0; i < count; ++i) {
        if (plotterList[i] != nullptr)
            plotterList[i]->titlePrevious = plotterList[i]->title;
    }
}

void MainWindow::on_action_Undo_decompose_triggered()
{
    display_raw_signals(isMultiCurve);
}
