// Pattern build and trace.

#include "plot/plotter.h"
#include "plot/patterntrace.h"
#include "app/mainwindow.h"
#include "dsp/tools.h"

#include <QMessageBox>
#include <QSlider>

#include <new>

namespace patterntrace {

QVector<QPointF> pickPeaks(const QVector<QPointF>& scores, int kind, float threshold)
{
    QVector<QPointF> hits;
    float previousY = 0.0f; // correlation score of the window before
    float previousX = 0.0f; // efficiency score of the window before
    bool rising = false;

    // Score 0 is never examined: a peak needs a window that rose into it.
    for (int k = 1; k < scores.size(); ++k) {
        // Scores are compared and kept in single precision.
        const float y = float(scores[k].y());
        const float x = float(scores[k].x());
        bool rises = false;
        switch (kind) {
        case ByTime:
            rises = y > previousY;
            break;
        case ByAmplitude:
            rises = x > previousX;
            break;
        case ByTimeAndAmplitude:
            rises = y > previousY && x > previousX;
            break;
        default:
            break;
        }

        if (rises) {
            rising = true;
        } else if (rising) {
            switch (kind) {
            case ByTime:
                if (previousY >= threshold)
                    hits.append(QPointF(k - 1, previousY));
                break;
            case ByAmplitude:
                if (previousX >= threshold)
                    hits.append(QPointF(k - 1, previousX));
                break;
            case ByTimeAndAmplitude:
                if (previousY >= threshold && previousX >= threshold)
                    hits.append(QPointF(k - 1, (previousY + previousX) / 2));
                break;
            default:
                break;
            }
            rising = false;
        }

        previousY = y;
        previousX = x;
    }
    return hits;
}

} // namespace patterntrace

namespace {

const char* const kNoPatternText = QT_TRANSLATE_NOOP("Plotter", "No pattern is found!");

const char* failureTitle(int kind)
{
    switch (kind) {
    case patterntrace::ByAmplitude:
        return QT_TRANSLATE_NOOP("Plotter", "Pattern Trace by Amplitude");
    case patterntrace::ByTimeAndAmplitude:
        return QT_TRANSLATE_NOOP("Plotter", "Pattern Trace by Time+Amplitude");
    default:
        return QT_TRANSLATE_NOOP("Plotter", "Pattern Trace by Time");
    }
}

// Likeness scores of the pattern against every window of the curve's y
// values, one window per start position; the last possible start is not
// scored, and a pattern at least as long as the curve scores nothing.
QVector<QPointF> scoreWindows(QVector<float>& pattern, const QVector<QPointF>& curve)
{
    QVector<QPointF> scores;
    const qsizetype L = pattern.size();
    const qsizetype n = curve.size();
    // An empty pattern scores (0, 0) everywhere and can never make a peak.
    if (L == 0 || n <= L)
        return scores;

    toolbox tools;
    QVector<float> window(L);
    scores.reserve(n - L);
    for (qsizetype i = 0; i < n - L; ++i) {
        for (qsizetype j = 0; j < L; ++j)
            window[j] = float(curve[i + j].y());
        scores.append(tools.score(pattern, window));
    }
    return scores;
}

} // namespace

void Plotter::BuildPattern()
{
    if (isImage || mainw == nullptr || curZoom < 0 || curZoom >= zoomStack.size())
        return;

    const PlotSettings& s = zoomStack[curZoom];
    const QVector<QPointF> curve = curveMap.value(0);

    QVector<float> built;
    // The walk ends at the first point at or past the view's right edge, or
    // at the end of the curve when the view reaches beyond it.
    for (const QPointF& p : curve) {
        if (double(float(p.x())) >= s.minX)
            built.append(float(p.y()));
        if (p.x() >= s.maxX)
            break;
    }
    mainw->pattern = built;
}

// The three trace slots share this run; `tracePattern` is the window's copy
// of the shared pattern, passed in because it is a private member.
static void runTrace(Plotter* w, QVector<float>& tracePattern, int kind)
{
    // A trace highlights curve samples; an image window has none to mark,
    // and its slider selects images, not hits.
    if (w->mainw == nullptr || w->isImageMode())
        return;

    tracePattern = w->mainw->pattern;
    w->UndoPattern();

    const float threshold = float(w->horizontalSlider->value() / 100.0);

    try {
        QVector<QPointF> scores = scoreWindows(tracePattern, w->curveMap.value(0));
        w->scoreList = patterntrace::pickPeaks(scores, kind, threshold);
    } catch (const std::bad_alloc&) {
        w->scoreList.clear();
        QMessageBox::information(w, Plotter::tr(failureTitle(kind)),
                                 Plotter::tr("Not enough memory to trace the pattern!"), QMessageBox::Ok);
        w->xLabelIsShown = false;
        w->isMarkCurve = true;
        w->refreshPixmap();
        return;
    }

    const bool onlyItself = w->scoreList.size() == 1 && w->scoreList.first().y() == 1.0;
    if (w->scoreList.isEmpty() || onlyItself) {
        // Only the pattern's own place is no finding: show no hit for it.
        w->scoreList.clear();
        QMessageBox::information(w, Plotter::tr(failureTitle(kind)), Plotter::tr(kNoPatternText),
                                 QMessageBox::Ok);
        // Runs the slider handler again when the value changes.
        w->horizontalSlider->setValue(80);
    } else {
        w->currentTrace = kind;
        w->slider->setRange(0, int(w->scoreList.size()) - 1);
        w->slider->show();
        w->slider->setValue(0);
        w->setWindowType(w->slider->value());
        w->horizontalSlider->setTickPosition(QSlider::TicksBothSides);
        w->horizontalSlider->show();
    }

    w->xLabelIsShown = false;
    w->isMarkCurve = true;
    w->refreshPixmap();
}

void Plotter::TracePattern_Time()
{
    runTrace(this, pattern, patterntrace::ByTime);
}

void Plotter::TracePattern_Amp()
{
    runTrace(this, pattern, patterntrace::ByAmplitude);
}

void Plotter::TracePattern_TimeAmp()
{
    runTrace(this, pattern, patterntrace::ByTimeAndAmplitude);
}

void Plotter::UndoPattern()
{
    scoreList.clear();
    if (slider->isEnabled()) {
        slider->hide();
        horizontalSlider->hide();
        refreshPixmap();
    }
    isMarkCurve = false;
}

void Plotter::recalculatePatterTrace(int)
{
    if (!isManuDenoise) {
        switch (currentTrace) {
        case patterntrace::ByTime:
            TracePattern_Time();
            break;
        case patterntrace::ByAmplitude:
            TracePattern_Amp();
            break;
        case patterntrace::ByTimeAndAmplitude:
            TracePattern_TimeAmp();
            break;
        default:
            break;
        }
        return;
    }

    DenoiseProcess();
    denoiseBondedPartners();
}
