#ifndef TFIMAGE_H
#define TFIMAGE_H

#include <QImage>
#include <QPainter>
#include <QMap>
#include <QRect>
#include <QVector>

// Pure pieces of the time-frequency image drawing, kept apart from the
// widget so that they can be checked on their own.
namespace tfimage {

// True when every row from d.top() to d.bottom() is present and holds at
// least d.right() + 1 cells, so that all cells in view can be read.
bool covers(const QMap<int, QVector<float> >& image, const QRect& d);

// The colours of the points that the image window paints into a W x H
// plot area for the cells in view d: point (j, i) takes cell
// (d.top + i * stepY, d.left + j * stepX), red scaled from the minimum to
// the maximum in view, green and blue at `depth`. The image must cover d
// (see covers()); W and H must be positive.
QImage render(const QMap<int, QVector<float> >& image, const QRect& d, int W, int H, int depth);

// Paints the cells in view d into the plot area R, clipped to R shrunk by
// one pixel. With a one-pixel pen the picture is copied whole; a wider pen
// (8196 columns or more in view) makes each point a square that later points
// overwrite, and those are painted point by point so that the rasteriser's
// rounding is kept.
void paint(QPainter* painter, const QMap<int, QVector<float> >& image, const QRect& d,
           const QRect& R, int depth);

// Pen width of the image points: one more pixel for every 8196 columns in view.
int penWidthFor(const QRect& d);

} // namespace tfimage

#endif // TFIMAGE_H
