// Drawing of the grid, labels, curves and the cursor label.

#include "plot/plotter.h"

#include <QPainter>
#include <QPolygonF>
#include <QSlider>
#include <QStylePainter>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace {

// The range actually drawn for one axis of a view. A flat range (a constant
// curve, a single point) would divide by zero: it is shown centred in a
// small band around its value instead, so that the curve lies as a flat
// line across the middle and the ticks carry distinct values.
struct AxisRange
{
    double min;
    double span;
};

AxisRange drawnRange(double min, double max)
{
    const double span = max - min;
    if (span != 0.0 || !std::isfinite(min))
        return {min, span};
    const double half = std::max(std::fabs(min) * 0.1, 1.0);
    return {min - half, 2.0 * half};
}

// A zero tick count would be an integer division by zero below.
int ticks(int n)
{
    return n > 0 ? n : 1;
}

} // namespace

void Plotter::drawGrid(QPainter* painter)
{
    const QRect rect = plotArea();
    if (!rect.isValid())
        return;

    const QRectF titleRect(MarginLeft + 10, 0, width() - (MarginLeft + MarginRight) - 10, MarginTop);
    const QRectF xLabelRect(MarginLeft + 10, height() - MarginBottom / 2,
                            width() - (MarginLeft + MarginRight) - 10, MarginBottom / 2);
    const PlotSettings settings = currentSettings();
    const int numXTicks = ticks(settings.numXTicks);
    const int numYTicks = ticks(settings.numYTicks);
    const AxisRange xr = drawnRange(settings.minX, settings.maxX);
    const AxisRange yr = drawnRange(settings.minY, settings.maxY);

    QPen quiteDark(palette().color(QPalette::Dark).lighter(150));
    quiteDark.setWidth(0);
    QPen light(palette().color(QPalette::Light));
    light.setWidth(0);

    for (int i = 0; i <= numXTicks; ++i) {
        const int x = rect.left() + ((rect.width() - 1) * i) / numXTicks;
        const double label = xr.min + i * xr.span / numXTicks;
        painter->setPen(quiteDark);
        painter->drawLine(x, rect.top(), x, rect.bottom());
        painter->setPen(light);
        painter->drawLine(x, rect.bottom(), x, rect.bottom() + 5);
        painter->drawText(QRect(x - 50, rect.bottom() + 5, 100, 15), Qt::AlignHCenter | Qt::AlignTop,
                          QString::number(label, 'e', 3));
    }
    for (int j = 0; j <= numYTicks; ++j) {
        const int y = rect.bottom() - ((rect.height() - 1) * j) / numYTicks;
        const double label = yr.min + j * yr.span / numYTicks;
        painter->setPen(quiteDark);
        painter->drawLine(rect.left(), y, rect.right(), y);
        painter->setPen(light);
        painter->drawLine(rect.left() - 5, y, rect.left(), y);
        // A long label such as "-1.2361e+02" may run past the box's left
        // edge into the margin rather than lose its sign.
        painter->drawText(QRect(rect.left() - MarginLeft, y - 10, MarginLeft - 5, 20),
                          Qt::AlignRight | Qt::AlignVCenter | Qt::TextDontClip, QString::number(label, 'e', 4));
    }
    painter->drawRect(rect.adjusted(0, 0, -1, -1));

    if (isSecondCurve) {
        for (int i = 0; i <= numXTicks; ++i) {
            const int x = rect.left() + ((rect.width() - 1) * i) / numXTicks;
            const double label = settings.minX2 + i * settings.spanX2() / numXTicks;
            painter->setPen(Qt::green);
            painter->drawText(QRect(x - 50, rect.bottom() + 15, 100, 15), Qt::AlignHCenter | Qt::AlignTop,
                              QString::number(label, 'e', 3));
        }
        for (int j = 0; j <= numYTicks; ++j) {
            const int y = rect.bottom() - ((rect.height() - 1) * j) / numYTicks;
            const double label = settings.minY2 + j * settings.spanY2() / numYTicks;
            painter->setPen(light);
            painter->drawLine(rect.right(), y, rect.right() + 5, y);
            painter->setPen(Qt::green);
            painter->drawText(QRect(rect.right() + 5, y - 10, rect.right() + MarginRight, 20),
                              Qt::AlignLeft | Qt::AlignVCenter, QString::number(label, 'e', 3));
        }
        painter->setPen(quiteDark);
        painter->drawRect(rect.adjusted(0, 0, -1, -1));
    }

    if (xLabelIsShown)
        painter->drawText(xLabelRect, Qt::AlignCenter | Qt::AlignTop, xLabel);

    if (yLabelIsShown) {
        painter->save();
        const int half = painter->fontMetrics().horizontalAdvance(yLabel) / 2;
        painter->translate(5.0, height() / 2 + half);
        painter->rotate(270);
        painter->drawText(0, 10, yLabel);
        painter->restore();
    }

    if (titleIsShown)
        painter->drawText(titleRect, Qt::AlignCenter, title);
}

void Plotter::drawCurves(QPainter* painter)
{
    static const QColor colorForIds[6] = {Qt::red, Qt::green, Qt::blue, Qt::cyan, Qt::magenta, Qt::yellow};
    auto colorPen = [](int k) {
        QPen pen(colorForIds[((k % 6) + 6) % 6]);
        pen.setWidth(0);
        return pen;
    };

    const PlotSettings settings = currentSettings();
    const QRect rect = plotArea();
    if (!rect.isValid())
        return;

    const AxisRange xr = drawnRange(settings.minX, settings.maxX);
    const AxisRange yr = drawnRange(settings.minY, settings.maxY);
    // An infinite range maps every point to NaN: nothing sensible to draw.
    const bool drawable = std::isfinite(xr.span) && std::isfinite(yr.span);

    painter->setClipRect(rect);

    auto mapX = [&](double x) { return rect.left() + (rect.width() - 1) * (x - xr.min) / xr.span; };
    auto mapY = [&](double y) { return rect.bottom() - (rect.height() - 1) * (y - yr.min) / yr.span; };

    for (auto it = curveMap.constBegin(); drawable && it != curveMap.constEnd(); ++it) {
        const int id = it.key();
        const QVector<QPointF>& data = it.value();
        const int n = int(data.size());

        QPolygonF polyline(n);
        for (int j = 0; j < n; ++j)
            polyline[j] = QPointF(mapX(data[j].x()), mapY(data[j].y()));
        const QPointF* points = polyline.constData();

        if (passitive && !isMarkCurve) {
            painter->setPen(colorPen(id));
            painter->drawPolyline(points, n);
        } else if (passitive) {
            if (n > 0) {
                if (data.first().x() > minxZoom)
                    minxZoom = data.first().x();
                if (data.last().x() < maxxZoom)
                    maxxZoom = data.last().x();
            }
            // Last index whose x lies at or before the bound (x ascending).
            auto lastAtOrBefore = [&](double bound) {
                auto pos = std::upper_bound(data.cbegin(), data.cend(), bound,
                                            [](double v, const QPointF& p) { return v < p.x(); });
                const int k = int(pos - data.cbegin()) - 1;
                return k < 0 ? 0 : k;
            };
            const int a = lastAtOrBefore(minxZoom);
            const int b = std::max(a, lastAtOrBefore(maxxZoom));
            painter->setPen(colorPen(id));
            painter->drawPolyline(points, a);
            painter->setPen(colorPen(id + 1));
            painter->drawPolyline(points + a, b - a);
            painter->setPen(colorPen(id));
            painter->drawPolyline(points + b, n - b);
        } else {
            painter->setPen(colorPen(id));
            painter->drawPolyline(points, n);

            const int selected = slider->value();
            if (!scoreList.isEmpty() && slider->isEnabled() && selected >= 0 && selected < scoreList.size()) {
                const int plen = int(pattern.size());
                // Hits come from a trace of curve 0; other or shorter curves
                // are highlighted only as far as they reach.
                painter->setPen(colorPen(id + 1));
                for (const QPointF& hit : scoreList) {
                    const int first = std::max(0, int(hit.x()));
                    int count = 0;
                    for (int j = first; j < hit.x() + plen && j < n; ++j)
                        ++count;
                    if (first < n)
                        painter->drawPolyline(points + first, count);
                }

                const int start = int(scoreList[selected].x());
                const int end = start + plen;
                const int from = std::clamp(start, 0, n);
                const int to = std::clamp(end, from, n);
                painter->setPen(colorPen(id + 2));
                painter->drawPolyline(points + from, to - from);

                QPolygonF overlay;
                for (int m = from; m < to; ++m) {
                    const float diff = float(pattern[m - start] - yr.min);
                    const float py = float(rect.bottom() - (rect.height() - 1) * diff / yr.span);
                    overlay.append(QPointF(polyline[m].x(), py));
                }
                painter->setPen(colorPen(id + 3));
                painter->drawPolyline(overlay);
            }
        }
    }

    if (!curveMap.isEmpty() && curveMap.lastKey() > 1)
        titleIsShown = false;
}

void Plotter::drawCursorLabel(QStylePainter* painter, QString& label)
{
    painter->save();
    const QRect rect = plotArea();
    painter->setPen(Qt::white);

    const int w = 6 * int(label.size());
    const int x = curveLabelPos.x();
    const int y = curveLabelPos.y() - 12;
    const bool flip = x + w > rect.right();

    QRectF box;
    Qt::Alignment align;
    if (y < rect.top()) {
        box = flip ? QRectF(x - w, y + 12, w, 12) : QRectF(x, y + 12, w, 12);
        align = (flip ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop;
    } else {
        box = flip ? QRectF(x - w, y, w, 12) : QRectF(x, y, w, 12);
        align = (flip ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignBottom;
    }
    painter->drawText(box, align, label);

    if (verticalLineEnable && isImage) {
        QPen pen(palette().color(QPalette::Light));
        pen.setWidth(0);
        painter->setPen(pen);
        painter->drawLine(x, rect.top(), x, rect.bottom());

        // The line is carried into the linked windows' cached drawings, if
        // this window has such links.
        for (Plotter* linked : {pList2, pList3}) {
            if (linked == nullptr || linked->pixmap.isNull())
                continue;
            QPainter other(&linked->pixmap);
            other.setFont(linked->font());
            other.setBackground(linked->palette().brush(QPalette::Dark));
            other.setPen(pen);
            // From above the zoom-out button to past the bottom edge: the
            // window's whole height.
            other.drawLine(x, linked->zoomOutButton->y() - 5, x, linked->zoomInButton->y() + linked->height());
        }
    }

    painter->restore();
}
