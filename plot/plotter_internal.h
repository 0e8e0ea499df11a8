#ifndef PLOTTER_INTERNAL_H
#define PLOTTER_INTERNAL_H

// Small pixel rules that several parts of the plot window share.

#include <QMouseEvent>
#include <QPoint>
#include <QRect>

namespace plotpixel {

// Pixel positions truncate toward zero, as everywhere in the plot window.
inline QPoint truncatedPos(const QMouseEvent* event)
{
    const QPointF p = event->position();
    return QPoint(static_cast<int>(p.x()), static_cast<int>(p.y()));
}

// The rubber band with its corners ordered. Unlike QRect::normalized(),
// which moves swapped edges inward by a pixel, this keeps both corners
// inside, so that a band selects and shows the same pixels whichever way it
// was dragged.
inline QRect orderedBand(const QRect& band)
{
    return QRect(QPoint(qMin(band.left(), band.right()), qMin(band.top(), band.bottom())),
                 QPoint(qMax(band.left(), band.right()), qMax(band.top(), band.bottom())));
}

} // namespace plotpixel

#endif // PLOTTER_INTERNAL_H
