// Reference-trace model: one displayed signal as a polynomial of up to three
// other displayed signals, fitted on the leading samples.

#include "app/mainwindow.h"
#include "dsp/tools.h"

#include <QMessageBox>

#include <cmath>
#include <new>
#include <vector>

namespace {

// Highest powers of the first, second and third reference, and the number
// of monomials (h, j, l) of the model: 6 * 3 * 4.
const int kPowersX1 = 6;
const int kPowersX2 = 3;
const int kPowersX3 = 4;
const int kMonomials = kPowersX1 * kPowersX2 * kPowersX3;

// A reference qualifies when its best-lag sum exceeds this.
const double kQualifyingSum = 0.1;

QVector<double> scaledTrace(const QVector<double>& trace, double ratio)
{
    QVector<double> x = trace;
    for (double& v : x)
        v *= ratio;
    return x;
}

} // namespace

void MainWindow::prediction(double* simulation, int Lmissing)
{
    if (plotterCount <= 1 || simulation == nullptr)
        return;
    const int count = clampToTable(plotterCount);
    const int target = currentSignalIndex;
    if (target < 0 || target >= count || target >= 30 || plotterList[target] == nullptr)
        return;

    try {
        QMap<int, QVector<double> > traces;
        for (int i = 0; i < count; ++i) {
            QVector<double> y;
            if (plotterList[i] != nullptr) {
                const QVector<QPointF> curve = plotterList[i]->curveMap.value(0);
                y.reserve(curve.size());
                for (const QPointF& p : curve)
                    y.append(p.y());
            }
            traces.insert(i, y);
        }

        QVector<double>& targetTrace = traces[target];
        // The simulation holds one entry per sample of the target's curve.
        const int simulationLength = int(targetTrace.size());
        if (leftShift > 0) {
            for (int i = leftShift; i < targetTrace.size(); ++i)
                targetTrace[i - leftShift] = targetTrace[i];
        }

        dwnn(traces, simulation, target, Lmissing);

        const QVector<QPointF>& original = signal[target];
        const int total = int(original.size());
        const int Ls = qBound(0, total - Lmissing, total);

        // Both parts are scored against the loaded signal; the simulation is read
        // only as far as it reaches (the score continues a shorter sequence with
        // its last value).
        auto part = [&](int from, int to, QVector<float>& a, QVector<float>& b) {
            a.clear();
            b.clear();
            for (int k = from; k < to; ++k) {
                a.append(float(original[k].y()));
                if (k < simulationLength)
                    b.append(float(simulation[k]));
            }
        };

        toolbox tools;
        QVector<float> a;
        QVector<float> b;
        part(0, Ls, a, b);
        const QPointF simulationScore = tools.score(a, b);
        part(Ls, total, a, b);
        const QPointF predictionScore = tools.score(a, b);

        Plotter* w = plotterList[target];
        w->xLabelIsShown = true;
        w->xLabel.clear();
        w->xLabel = QString("Simulation score: ") + QString::number(simulationScore.x(), 'g', 6) + "_"
                    + QString::number(simulationScore.y(), 'g', 6) + "\n " + "Prediction score: "
                    + QString::number(predictionScore.x(), 'g', 6) + "_" + QString::number(predictionScore.y(), 'g', 6);
    } catch (const std::bad_alloc&) {
        QMessageBox::information(this, tr("Reference Trace"), tr("Not enough memory for the reference-trace model!"),
                                 QMessageBox::Ok);
    }
}

void MainWindow::dwnn(QMap<int, QVector<double> > signalMap, double* simulation, int targetIndex, int Lmissing)
{
    const int count = clampToTable(plotterCount);
    if (simulation == nullptr || targetIndex < 0 || targetIndex >= count || !signalMap.contains(targetIndex))
        return;

    const QVector<double> target = signalMap.value(targetIndex);
    const int total = int(signalMap.value(0).size());
    if (!(signalMap.size() < total))
        return;
    // The model aligns every trace sample by sample with trace 0; a target of
    // another length has no such alignment.
    if (target.size() != total)
        return;

    int Ls = total - Lmissing;

    try {
        toolbox tools;

        // Candidates: the best-lag sum of every other trace against the target.
        QVector<float> candidate(count, 0.0f);
        float best = -12345.0f;
        QVector<QPointF> bestList(4);
        for (int i = 0; i < count; ++i) {
            if (i == targetIndex || !signalMap.contains(i))
                continue;
            QVector<double> trace = signalMap.value(i);
            // A trace of another length cannot be read sample by sample
            // beside the target: it takes no part.
            if (trace.size() != total)
                continue;
            QVector<double> targetCopy = target;
            QVector<QPointF> lags(4);
            tools.bestScore(targetCopy, trace, lags);
            const float v = float(lags[0].y());
            if (v > kQualifyingSum) {
                candidate[i] = v;
                if (v > best) {
                    best = v;
                    bestList = lags;
                }
            }
        }

        // Rank: the largest score first, the lowest index on a tie; x is the
        // trace index, y its score relative to the best one.
        QVector<QPointF> references;
        for (int pass = 0; pass < count; ++pass) {
            float top = 0.0f;
            int index = -1;
            for (int i = 0; i < count; ++i) {
                if (candidate[i] > top) {
                    top = candidate[i];
                    index = i;
                }
            }
            if (index >= 0) {
                references.append(QPointF(index, candidate[index] / bestList[0].y()));
                candidate[index] = 0.0f;
            }
        }

        if (references.isEmpty()) {
            QMessageBox::information(this, tr("Reference Trace"), tr("No available reference found!"),
                                     QMessageBox::Ok, QMessageBox::NoButton);
            return;
        }

        const bool hasSecond = references.size() > 1;
        const bool hasThird = references.size() > 2;
        QVector<double> X1 = scaledTrace(signalMap.value(int(references[0].x())), references[0].y());
        QVector<double> X2;
        QVector<double> X3;
        if (hasSecond)
            X2 = scaledTrace(signalMap.value(int(references[1].x())), references[1].y());
        if (hasThird)
            X3 = scaledTrace(signalMap.value(int(references[2].x())), references[2].y());
        QVector<double> Y = target;
        int N = total;

        // Missing references stand in as delayed copies of the first one.
        if (!hasSecond || !hasThird) {
            if (N < 3)
                return;
            if (!hasSecond)
                X2 = X1.mid(1, N - 2);
            if (!hasThird)
                X3 = X1.mid(0, N - 2);
            X1 = X1.mid(2, N - 2);
            Y = Y.mid(2, N - 2);
            N -= 2;
        }

        // The fitting window cannot reach past the samples left after the
        // shortening above; with nothing to fit there is no model.
        Ls = qMin(Ls, N);
        if (Ls < 1)
            return;

        // Design matrix, 72 rows by N columns, column-major.
        std::vector<double> T(size_t(kMonomials) * size_t(N));
        for (int t = 0; t < N; ++t) {
            double* column = T.data() + size_t(t) * kMonomials;
            for (int l = 0; l < kPowersX3; ++l) {
                for (int j = 0; j < kPowersX2; ++j) {
                    for (int h = 0; h < kPowersX1; ++h) {
                        const int q = h + kPowersX1 * j + kPowersX1 * kPowersX2 * l;
                        column[q] = (std::pow(X1[t], h) * std::pow(X2[t], j)) * std::pow(X3[t], l);
                    }
                }
            }
        }

        // Least squares on the fitting window, then the model on every sample.
        std::vector<double> G(size_t(Ls) * kMonomials);
        tools.ginv(T.data(), G.data(), kMonomials, Ls);
        std::vector<double> weights(kMonomials);
        tools.crossProduct(Y.data(), G.data(), weights.data(), 1, Ls, kMonomials);
        std::vector<double> model(static_cast<size_t>(N));
        tools.crossProduct(weights.data(), T.data(), model.data(), 1, kMonomials, N);

        // Samples dropped by the shortening keep the target's own values.
        const int d = total - N;
        for (int t = 0; t < d; ++t)
            simulation[t] = target[t];
        for (int t = d; t < d + N; ++t)
            simulation[t] = model[size_t(t - d)];
    } catch (const std::bad_alloc&) {
        QMessageBox::information(this, tr("Reference Trace"), tr("Not enough memory for the reference-trace model!"),
                                 QMessageBox::Ok);
    }
}
