// Mouse, keyboard and wheel handling of the plot window.

#include "plot/plotter.h"
#include "app/mainwindow.h"
#include "plot/plotter_internal.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <cmath>

namespace {

using plotpixel::orderedBand;
using plotpixel::truncatedPos;

// Height of half a search band of the magnetic cursor, in pixels.
const int deltY = 4;

// Truncates a pixel coordinate to int; values far outside any screen are
// held at a bound first, so that the conversion is always defined.
int toPixel(double v)
{
    const double bound = 1.0e8;
    if (!(v > -bound)) // also catches NaN
        return -static_cast<int>(bound);
    if (v > bound)
        return static_cast<int>(bound);
    return static_cast<int>(v);
}

// The view that a band r (measured from the plot area's top-left corner)
// selects in prev, for a plot area of wp x hp pixels.
PlotSettings zoomedView(const PlotSettings& prev, const QRect& r, int wp, int hp)
{
    const double dx = prev.spanX() / wp;
    const double dy = prev.spanY() / hp;
    PlotSettings view = prev;
    view.minX = prev.minX + r.left() * dx;
    view.maxX = prev.minX + r.right() * dx;
    view.minY = prev.maxY - r.bottom() * dy;
    view.maxY = prev.maxY - r.top() * dy;
    if (view.minX < prev.minX)
        view.minX = prev.minX;
    if (view.maxX > prev.maxX)
        view.maxX = prev.maxX;
    if (view.minY < prev.minY)
        view.minY = prev.minY;
    if (view.maxY > prev.maxY)
        view.maxY = prev.maxY;
    view.adjust();
    return view;
}

} // namespace

void Plotter::updateRubberBandRegion()
{
    const QRect r = orderedBand(rubberBandRect);
    update(r.left(), r.top(), r.width(), 1);
    update(r.left(), r.top(), 1, r.height());
    update(r.left(), r.bottom(), r.width(), 1);
    update(r.right(), r.top(), 1, r.height());
}

void Plotter::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = truncatedPos(event);

    if (rubberBandIsShown && !passitive) {
        updateRubberBandRegion();
        rubberBandRect.setBottomRight(pos);
        updateRubberBandRegion();
    }

    if (isImage) {
        // Time, frequency and cell come from the exact position, which is
        // fractional on scaled screens; only the label anchor is in pixels.
        readOutImage(event->position());
        return;
    }

    if (!enableCursorPosCheck) {
        // The last search found a sample: bring the pointer onto it. That
        // move produces the next event, which searches again.
        // A window that has found nothing yet has no sample to go to: the
        // pointer must not jump to the window's corner.
        enableCursorPosCheck = true;
        if (mainw && mainw->isMagneticCursor && !curveLabel.isEmpty())
            QCursor::setPos(mapToGlobal(curveLabelPos));
        signingOff = true;
        return;
    }

    // Magnetic cursor: look for a sample just below the pointer.
    const QRect rect = plotArea();
    if (!rect.isValid() || !rect.contains(pos))
        return;
    if (curZoom < 0 || curZoom >= zoomStack.size())
        return;

    curveLabel.clear();
    const PlotSettings s = zoomStack[curZoom];
    const double posX = event->position().x();
    const bool mappable = rect.width() > 1 && rect.height() > 1 && s.spanX() != 0.0 && s.spanY() != 0.0;

    for (auto it = curveMap.constBegin(); mappable && it != curveMap.constEnd(); ++it) {
        const QVector<QPointF>& data = it.value();
        const int n = static_cast<int>(data.size());
        // The index estimate needs a uniform, non-zero step.
        if (n < 3)
            continue;
        const double step = data[1].x() - data[0].x();
        if (step == 0.0)
            continue;

        const double dx = (posX - rect.left()) * s.spanX() / (rect.width() - 1);
        double kd = (s.minX + dx - data[0].x()) / step;
        if (!(kd > -1.0))
            kd = -1.0;
        if (kd > n)
            kd = n;
        const int k = static_cast<int>(kd);
        int j = k;
        if (k - 1 < 0)
            j = 1;
        if (j + 1 >= n)
            j = n - 2;

        int hit = -1;
        double hitPy = 0.0;
        for (int m = j - 1; m <= j + 1; ++m) {
            const double py = rect.bottom() - (rect.height() - 1) * (data[m].y() - s.minY) / s.spanY();
            const QRect band(MarginLeft + 10, toPixel(std::floor(py) - 2 * deltY),
                             width() - (MarginLeft + MarginRight) - 10, 2 * deltY);
            if (band.contains(pos)) {
                hit = m;
                hitPy = py;
                break;
            }
        }
        if (hit < 0)
            continue;

        const double px = rect.left() + (rect.width() - 1) * (data[hit].x() - s.minX) / s.spanX();
        curveLabelPos = QPoint(toPixel(px), toPixel(hitPy));
        curveLabel = QLatin1String("Signal_") + QString::number(it.key()) + QLatin1String(": ")
                     + QString::number(data[hit].x(), 'g', 6) + QLatin1String(", ")
                     + QString::number(data[hit].y(), 'g', 6);
        enableCursorPosCheck = false;
        update();
        break;
    }

    if (enableCursorPosCheck && signingOff) {
        // Nothing found after a pointer move: clear the old label from the screen.
        update();
        signingOff = false;
    }
}

void Plotter::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !rubberBandIsShown || passitive)
        return;

    rubberBandIsShown = false;
    updateRubberBandRegion();
    unsetCursor();

    QRect r = orderedBand(rubberBandRect);
    const bool bonded = mainw && mainw->isBondSignals;

    if (r.width() < 4 || r.height() < 4) {
        // A click: on the time-frequency image it switches the vertical line.
        if (isImage && !bonded) {
            const bool on = !verticalLineEnable;
            verticalLineEnable = on;
            if (pList2)
                pList2->verticalLineEnable = on;
            if (pList3)
                pList3->verticalLineEnable = on;
            refreshPixmap();
            if (pList2)
                pList2->refreshPixmap();
            if (pList3)
                pList3->refreshPixmap();
        }
        return;
    }

    r.translate(-(MarginLeft + 10), -MarginTop);
    const int wp = width() - (MarginLeft + MarginRight) - 10;
    const int hp = height() - (MarginTop + MarginBottom);
    if (wp <= 0 || hp <= 0)
        return;

    if (bonded && !isImage) {
        // Every displayed signal window zooms by the same fractions of its own ranges.
        const int count = MainWindow::clampToTable(mainw->plotterCount);
        for (int i = 0; i < count; ++i) {
            Plotter* p = mainw->plotterList[i];
            if (!p || p->curZoom < 0 || p->curZoom >= p->zoomStack.size())
                continue;
            const PlotSettings view = zoomedView(p->zoomStack[p->curZoom], r, wp, hp);
            p->zoomStack.resize(p->curZoom + 1);
            p->zoomStack.append(view);
            p->zoomIn();
        }
        return;
    }

    if (curZoom < 0 || curZoom >= zoomStack.size())
        return;
    const PlotSettings prev = zoomStack[curZoom];
    PlotSettings view = zoomedView(prev, r, wp, hp);

    if (isImage) {
        const QRect d = prev.draw;
        const double sx = static_cast<double>(d.right() - d.left()) / wp;
        const double sy = static_cast<double>(d.bottom() - d.top()) / hp;
        int left = static_cast<int>(d.left() + r.left() * sx);
        int right = static_cast<int>(d.left() + r.right() * sx);
        int bottom = static_cast<int>(d.top() + r.bottom() * sy);
        int top = static_cast<int>(d.top() + r.top() * sy);
        left = qMax(left, d.left());
        right = qMin(right, d.right());
        top = qMax(top, d.top());
        bottom = qMin(bottom, d.bottom());
        if (!(left < right && top < bottom))
            return;
        view.draw.setLeft(left);
        view.draw.setRight(right);
        view.draw.setTop(top);
        view.draw.setBottom(bottom);

        if (!bonded) {
            // The signal window below follows the time range, the one above marks it.
            if (pList3 && pList3->curZoom >= 0 && pList3->curZoom < pList3->zoomStack.size()) {
                PlotSettings s3 = pList3->zoomStack[pList3->curZoom];
                s3.minX = view.minX;
                s3.maxX = view.maxX;
                pList3->zoomStack.resize(pList3->curZoom + 1);
                pList3->zoomStack.append(s3);
            }
            if (pList0)
                pList0->isMarkCurve = true;
        }
    }

    zoomStack.resize(curZoom + 1);
    zoomStack.append(view);
    zoomIn();
}

void Plotter::wheelEvent(QWheelEvent* event)
{
    // Passive windows and every other case keep the event: the wheel never
    // reaches a parent.
    event->accept();
    if (passitive)
        return;

    // A diagonal trackpad scroll moves along its larger component.
    const QPoint angle = event->angleDelta();
    const bool horizontal = qAbs(angle.x()) > qAbs(angle.y());
    const int delta = horizontal ? angle.x() : angle.y();

    if (!isImage) {
        const int numDegrees = delta / 8;
        const int numTicks = numDegrees / 15;
        if (curZoom >= 0 && curZoom < zoomStack.size()) {
            if (horizontal)
                zoomStack[curZoom].scroll(numTicks, 0);
            else
                zoomStack[curZoom].scroll(0, numTicks);
        }
    } else {
        const int step = delta / 40;
        const int depth = colorDepth + step;
        if (depth > 0 && depth < 255)
            colorDepth = depth;
    }
    refreshPixmap();
}

void Plotter::keyPressEvent(QKeyEvent* event)
{
    if (passitive)
        return;

    const bool hasView = curZoom >= 0 && curZoom < zoomStack.size();
    switch (event->key()) {
    case Qt::Key_Left:
        if (hasView)
            zoomStack[curZoom].scroll(-1, 0);
        refreshPixmap();
        break;
    case Qt::Key_Right:
        if (hasView)
            zoomStack[curZoom].scroll(+1, 0);
        refreshPixmap();
        break;
    case Qt::Key_Up:
        if (hasView)
            zoomStack[curZoom].scroll(0, +1);
        refreshPixmap();
        break;
    case Qt::Key_Down:
        if (hasView)
            zoomStack[curZoom].scroll(0, -1);
        refreshPixmap();
        break;
    case Qt::Key_Plus:
        zoomIn();
        break;
    case Qt::Key_Minus:
        zoomOut();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}
