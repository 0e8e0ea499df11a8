// Auto- and cross-correlation drawn as a second curve against a second axis.

#include "plot/plotter.h"
#include "app/mainwindow.h"
#include "dsp/tools.h"

#include <QToolButton>

#include <fasttransforms.h>

#include <cmath>
#include <vector>

namespace {

// The smallest power of two not below n (n <= 1 gives 1), or 0 for curves
// too long to handle.
int blockSizeFor(qsizetype n)
{
    const int m = exponentFor(n);
    return m < 0 ? 0 : 1 << m;
}

// The first `count` y values of a curve as doubles, continued with its last
// value where the curve is shorter. The curve must not be empty.
std::vector<double> paddedValues(const QVector<QPointF>& curve, int count)
{
    std::vector<double> values(size_t(count), 0.0);
    const qsizetype n = curve.size();
    for (int j = 0; j < count; ++j)
        values[size_t(j)] = curve.at(j < n ? j : n - 1).y();
    return values;
}

// The windows that a cross-correlation or its undo covers: the displayed
// ones of the main window, or this window alone when it has no main window.
QVector<Plotter*> displayedWindows(Plotter* self)
{
    QVector<Plotter*> windows;
    if (self->mainw == nullptr) {
        windows << self;
        return windows;
    }
    const int count = MainWindow::clampToTable(self->mainw->plotterCount);
    for (int i = 0; i < count; ++i) {
        if (self->mainw->plotterList[i] != nullptr)
            windows << self->mainw->plotterList[i];
    }
    return windows;
}

// In the multi-curve display the curve ids are signal indices, so id 1 is a
// signal and must not be taken for (or replaced by) a correlation curve.
bool curveOneIsSignal(const Plotter* p)
{
    return p->mainw != nullptr && p->mainw->isMultiCurve && !p->isSecondCurve;
}

} // namespace

// Draws into `receiver` the correlation of `signal` (the first H samples of the
// initiating window, H = N / 2) with the receiver's own curve 0, scaled into
// the view `view` that becomes the receiver's only zoom level. Returns false
// when the receiver has no curve to correlate with.
static bool drawCorrelation(Plotter* receiver, const std::vector<double>& signal, int N,
                            PlotSettings view, const QString& title, QToolButton* zoomIn,
                            QToolButton* zoomOut)
{
    const auto found = receiver->curveMap.constFind(0);
    if (found == receiver->curveMap.constEnd())
        return false;
    const QVector<QPointF>& curve = found.value();
    // A time step needs two points (the curve's step is taken from points 1
    // and 2, or from 0 and 1 on a two-point curve).
    if (curve.size() < 2)
        return false;

    const int H = N / 2;
    std::vector<double> pattern = paddedValues(curve, H);

    alglib::real_1d_array signalArray;
    alglib::real_1d_array patternArray;
    alglib::real_1d_array r;
    signalArray.setcontent(H, signal.data());
    patternArray.setcontent(H, pattern.data());
    try {
        alglib::corrr1d(signalArray, H, patternArray, H, r);
    } catch (const alglib::ap_error&) {
        return false;
    }
    if (r.length() < N - 1)
        return false;

    // Ascending lag: -(H - 1) .. -1 from the tail of r, then 0 .. H - 1.
    std::vector<double> c(size_t(N - 1), 0.0);
    for (int k = 0; k <= H - 2; ++k)
        c[size_t(k)] = r[k + H];
    for (int k = H; k <= N - 1; ++k)
        c[size_t(k - 1)] = r[k - H];

    float max = float(c[0]);
    float min = float(c[0]);
    for (double v : c) {
        if (v > max)
            max = float(v);
        if (v < min)
            min = float(v);
    }

    // The second axis: correlation values, and the lags as the view's x range
    // shifted left by half its width.
    const double spanX = view.spanX();
    view.minY2 = min;
    view.maxY2 = max;
    view.minX2 = view.minX - 0.5 * spanX;
    view.maxX2 = view.maxX - 0.5 * spanX;

    receiver->zoomStack.clear();
    receiver->zoomStack.append(view);
    receiver->curZoom = 0;
    zoomIn->hide();
    zoomOut->hide();

    // A flat correlation has no range to stretch over the view: draw it
    // along the middle of the view instead of dividing by zero.
    const float range = max - min;
    const double scale = view.spanY() / range;
    const bool flat = !(range > 0.0f) || !std::isfinite(scale);
    const float dt = curve.size() >= 3 ? float(curve.at(2).x() - curve.at(1).x())
                                       : float(curve.at(1).x() - curve.at(0).x());
    const double x0 = curve.at(0).x();

    QVector<QPointF> points;
    points.reserve(N - 1);
    for (int k = 0; k <= N - 2; ++k) {
        const double x = x0 + k * dt;
        const double y = flat ? view.minY + 0.5 * view.spanY()
                              : view.minY + (c[size_t(k)] - min) * scale;
        points.append(QPointF(x, y));
    }

    receiver->curveMap[1] = points;
    receiver->titleIsShown = true;
    receiver->title = title;
    receiver->isMarkCurve = false;
    receiver->xLabelIsShown = false;
    return true;
}

// The block that a window correlates: its main curve padded to half the
// power-of-two block size N. False when the window has nothing to correlate.
static bool correlationInput(const Plotter* p, int& N, std::vector<double>& signal)
{
    if (curveOneIsSignal(p))
        return false;
    const auto found = p->curveMap.constFind(0);
    if (found == p->curveMap.constEnd())
        return false;
    N = blockSizeFor(found.value().size());
    if (N < 2)
        return false;
    signal = paddedValues(found.value(), N / 2);
    return true;
}

void Plotter::AutoCorrelation()
{
    int N = 0;
    std::vector<double> signal;
    if (!correlationInput(this, N, signal))
        return;
    const PlotSettings view = zoomStack.isEmpty() ? PlotSettings()
                                                  : zoomStack.at(qBound(0, curZoom, int(zoomStack.size()) - 1));
    if (!drawCorrelation(this, signal, N, view, titlePrevious + " Auto-correlation", zoomInButton,
                         zoomOutButton))
        return;
    isSecondCurve = true;
    refreshPixmap();
}

void Plotter::CrossCorrelation()
{
    int N = 0;
    std::vector<double> signal;
    if (!correlationInput(this, N, signal))
        return;
    const QString suffix = " Cross-correlation with " + titlePrevious;
    const int level = curZoom;

    for (Plotter* receiver : displayedWindows(this)) {
        if (receiver->isImage || curveOneIsSignal(receiver))
            continue;
        // The receiver's view at this window's zoom level (its base view
        // whenever the action is offered), or its base view when it has fewer.
        PlotSettings view;
        if (!receiver->zoomStack.isEmpty())
            view = receiver->zoomStack.at(level >= 0 && level < receiver->zoomStack.size() ? level : 0);
        if (!drawCorrelation(receiver, signal, N, view, receiver->titlePrevious + suffix,
                             receiver->zoomInButton, receiver->zoomOutButton))
            continue;
        // Not shown here: a window in use that the view hides stays hidden.
        receiver->isSecondCurve = true;
        receiver->refreshPixmap();
    }
}

void Plotter::UndoCorrelation()
{
    // Every displayed window, then this one (which may be shown alone).
    QVector<Plotter*> windows = displayedWindows(this);
    windows << this;

    for (Plotter* p : windows) {
        if (!curveOneIsSignal(p))
            p->curveMap.remove(1);
        p->isMarkCurve = false;
        p->title = p->titlePrevious;
        p->isSecondCurve = false;
        p->refreshPixmap();
    }
}
