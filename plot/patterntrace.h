#ifndef PATTERNTRACE_H
#define PATTERNTRACE_H

#include <QPointF>
#include <QVector>

// Peak picking of a pattern trace, kept free of the widget so that it can be
// checked on hand-made score sequences.
namespace patterntrace {

// Kinds of trace: which score of a likeness point decides a peak.
enum Kind { ByTime = 1, ByAmplitude = 2, ByTimeAndAmplitude = 3 };

// Scans the likeness scores of successive windows (x efficiency, y
// correlation) and returns one hit per peak at or above the threshold:
// x = the first window of the peak, y = the hit value of the kind.
QVector<QPointF> pickPeaks(const QVector<QPointF>& scores, int kind, float threshold);

} // namespace patterntrace

#endif // PATTERNTRACE_H
