// Time-frequency images: drawing, read-out and image selection.

#include "plot/plotter.h"
#include "plot/tfimage.h"
#include "app/mainwindow.h"

#include <QPainter>
#include <QSlider>

#include <algorithm>
#include <vector>

namespace tfimage {

bool covers(const QMap<int, QVector<float> >& image, const QRect& d)
{
    if (d.left() < 0 || d.top() < 0 || d.right() < d.left() || d.bottom() < d.top())
        return false;
    for (int r = d.top(); r <= d.bottom(); ++r) {
        auto it = image.constFind(r);
        if (it == image.constEnd() || it->size() <= d.right())
            return false;
    }
    return true;
}

int penWidthFor(const QRect& d)
{
    return int((d.right() - d.left()) / 8196.0);
}

QImage render(const QMap<int, QVector<float> >& image, const QRect& d, int W, int H, int depth)
{
    const double stepY = double(d.bottom() - d.top()) / H;
    const double stepX = double(d.right() - d.left()) / W;

    std::vector<int> cols(W);
    for (int j = 0; j < W; ++j)
        cols[j] = int(d.left() + j * stepX);
    std::vector<const float*> rows(H);
    for (int i = 0; i < H; ++i)
        rows[i] = image.constFind(int(d.top() + i * stepY))->constData();

    // Single-precision sentinels: cells beyond them in view are scaled from
    // the sentinel, not from their own extreme.
    float mx = -1234567.0f;
    float mn = 1234567.0f;
    for (int i = 0; i < H; ++i) {
        const float* row = rows[i];
        for (int j = 0; j < W; ++j) {
            const float v = row[cols[j]];
            if (v > mx)
                mx = v;
            if (v < mn)
                mn = v;
        }
    }
    const float range = mx - mn;
    const double scale = range == 0 ? 1.0 : 255.0 / range;

    QImage out(W, H, QImage::Format_RGB32);
    for (int i = 0; i < H; ++i) {
        const float* row = rows[i];
        QRgb* dst = reinterpret_cast<QRgb*>(out.scanLine(i));
        for (int j = 0; j < W; ++j) {
            const double x = (row[cols[j]] - mn) * scale;
            // NaN or a value outside the sentinels must not leave 0..255.
            const int level = x >= 0 ? (x < 255.0 ? int(x) : 255) : 0;
            dst[j] = qRgb(level, depth, depth);
        }
    }
    return out;
}

void paint(QPainter* painter, const QMap<int, QVector<float> >& image, const QRect& d,
           const QRect& R, int depth)
{
    const int H = R.bottom() - R.top();
    const int W = R.right() - R.left();
    if (H <= 0 || W <= 0 || !covers(image, d))
        return;
    painter->setClipRect(R.adjusted(1, 1, -1, -1));
    const QImage points = render(image, d, W, H, depth);
    const int penWidth = penWidthFor(d);
    if (penWidth <= 1) {
        painter->drawImage(R.topLeft(), points);
        return;
    }
    for (int i = 0; i < H; ++i) {
        const QRgb* line = reinterpret_cast<const QRgb*>(points.constScanLine(i));
        for (int j = 0; j < W; ++j) {
            painter->setPen(QPen(QBrush(QColor(line[j])), penWidth, Qt::SolidLine, Qt::SquareCap,
                                 Qt::BevelJoin));
            painter->drawPoint(R.left() + j, R.top() + i);
        }
    }
}

} // namespace tfimage

namespace {

bool slotInRange(int k) { return k >= 0 && k < 8; }

} // namespace

void Plotter::drawMatrix(QPainter* painter)
{
    const QRect R = plotArea();
    if (!R.isValid())
        return;

    if (!zoomStack.isEmpty() && curZoom >= 0 && curZoom < zoomStack.size()
        && slotInRange(currentMatrixMapIndex)) {
        // A one-pixel area paints nothing, and a slot without an image
        // covering the view stays empty.
        tfimage::paint(painter, matrixMapGroup[currentMatrixMapIndex], zoomStack[curZoom].draw, R,
                       colorDepth);
    }

    // The selector only offers images of the last run, and only when there
    // is a choice.
    const bool offer = mainw && !mainw->isSingleWindow && !mainw->isBondSignals && imageCount > 1;
    if (slider)
        slider->setVisible(offer);
}

void Plotter::readOutImage(const QPoint& pos)
{
    if (!mainw || mainw->isBondSignals || !matrixExtract)
        return;
    const QRect R = plotArea();
    if (!R.isValid() || !R.contains(pos))
        return;
    if (zoomStack.isEmpty() || curZoom < 0 || curZoom >= zoomStack.size()
        || !slotInRange(currentMatrixMapIndex))
        return;
    const PlotSettings s = zoomStack[curZoom];
    const QRect d = s.draw;
    const QMap<int, QVector<float> >& M = matrixMapGroup[currentMatrixMapIndex];
    if (!tfimage::covers(M, d))
        return;

    const QPointF posF(pos);
    curveLabelPos = pos;
    const int wR = R.right() - R.left();
    const int hR = R.bottom() - R.top();

    const double X = wR > 0 ? s.minX + (posF.x() - R.left()) * s.spanX() / wR : s.minX;
    const double Y = hR > 0 ? s.maxY - (posF.y() - R.top()) * s.spanY() / hR : s.maxY;
    int row = hR > 0 ? int(d.top() + (posF.y() - R.top()) * (d.bottom() - d.top()) / hR) : d.top();
    int col = wR > 0 ? int(d.left() + (posF.x() - R.left()) * (d.right() - d.left()) / wR) : d.left();
    row = std::clamp(row, d.top(), d.bottom());
    col = std::clamp(col, d.left(), d.right());
    const QVector<float>& cells = *M.constFind(row);
    const float v = cells[col];

    const int rows = int(M.size());
    // Counted from the bottom row of the view, in single precision, so that
    // the bottom row reads exactly 0.
    const float upper = float((rows - row) * mainw->deltaFrequency);
    const float lower = float((rows - d.bottom()) * mainw->deltaFrequency);
    const float Fc = upper - lower;
    const float Tc = float((mainw->firstTimeIndex + col) * mainw->deltaTime);

    const QString unit = pList0 ? pList0->yLabel : QString();
    curveLabel = QString::number(X, 'g', 6) + "(" + QString::number(Tc, 'g', 6) + ") S, "
                 + QString::number(Y, 'g', 6) + "(" + QString::number(Fc, 'g', 6) + ") Hz, "
                 + QString::number(v, 'g', 6) + " " + unit;
    update();

    const int span = d.right() - d.left();
    const double step = s.spanX() / (span > 0 ? span : 1);
    if (row != previousId || verticalLineEnable) {
        if (pList2) {
            QVector<QPointF> extracted;
            extracted.reserve(span + 1);
            for (int c = d.left(); c <= d.right(); ++c)
                extracted.append(QPointF((c + 1) * step, cells[c]));
            pList2->setCurveData(0, extracted);
            pList2->show();
        }
        previousId = row;
        if (verticalLineEnable && pList3)
            pList3->refreshPixmap();
    }
}

void Plotter::setWindowType(int)
{
    if (!slider)
        return;
    const int v = slider->value();
    const int h = slider->height();
    const int divisor = slider->maximum() - slider->minimum() + 1;
    const QPoint anchor(slider->x() - 15, slider->y() + h - (divisor > 0 ? (v * h) / divisor : 0));

    if (!isImage) {
        if (v < 0 || v >= scoreList.size())
            return;
        const QPointF p = scoreList[v];
        curveLabel.clear();
        switch (currentTrace) {
        case 1: curveLabel += "Trace_time: "; break;
        case 2: curveLabel += "Trace_amp: "; break;
        case 3: curveLabel += "Trace_time_amp: "; break;
        default: break;
        }
        const QVector<QPointF> curve = curveMap.value(0);
        const int k = int(p.x());
        const double t = (k >= 0 && k < curve.size()) ? curve[k].x() : 0.0;
        curveLabel += "time " + QString::number(t, 'g', 3) + " score " + QString::number(p.y(), 'g', 3);
        curveLabelPos = anchor;
        refreshPixmap();
        return;
    }

    // Only images of the last run can be chosen.
    if (!slotInRange(v) || v >= imageCount)
        return;
    if (mainw) {
        const QStringList* names = mainw->transformType == 1 ? &mainw->waveletBase
                                 : mainw->transformType == 2 ? &mainw->stftWindow : nullptr;
        if (names && v < names->size()) {
            curveLabel = names->at(v);
            curveLabelPos = anchor;
        }
    }
    currentMatrixMapIndex = v;
    refreshPixmap();
}

namespace {

// Largest and smallest cell of the view, as the scan from the sentinels
// -123456789 and 123456789 finds them (a NaN cell is passed over). Eight
// lanes run side by side; maximum and minimum do not depend on the order.
void viewExtremes(const QMap<int, QVector<float> >& m, const QRect& d, double& mx, double& mn)
{
    double hi[8], lo[8];
    std::fill(hi, hi + 8, -123456789.0);
    std::fill(lo, lo + 8, 123456789.0);
    const int width = d.right() - d.left() + 1;
    for (int r = d.top(); r <= d.bottom(); ++r) {
        const float* cells = m.constFind(r)->constData() + d.left();
        int c = 0;
        for (; c + 8 <= width; c += 8)
            for (int l = 0; l < 8; ++l) {
                const double v = cells[c + l];
                hi[l] = v > hi[l] ? v : hi[l];
                lo[l] = v < lo[l] ? v : lo[l];
            }
        for (; c < width; ++c) {
            const double v = cells[c];
            hi[0] = v > hi[0] ? v : hi[0];
            lo[0] = v < lo[0] ? v : lo[0];
        }
    }
    mx = *std::max_element(hi, hi + 8);
    mn = *std::min_element(lo, lo + 8);
}

} // namespace

void Plotter::windowTypeSelection()
{
    if (!mainw || !slider || zoomStack.isEmpty() || curZoom < 0 || curZoom >= zoomStack.size())
        return;
    const int type = mainw->transformType;
    if (type != 1 && type != 2)
        return;
    const QStringList& names = type == 1 ? mainw->waveletBase : mainw->stftWindow;
    // Only the slots that the last run filled take part.
    const int count = std::min({int(names.size()), imageCount, 8});
    if (count <= 0)
        return;
    const QRect d = zoomStack[curZoom].draw;

    // The images that can be judged: filled over the view.
    int member[8];
    double mx[8], mn[8];
    int members = 0;
    for (int k = 0; k < count; ++k) {
        if (!tfimage::covers(matrixMapGroup[k], d))
            continue;
        viewExtremes(matrixMapGroup[k], d, mx[members], mn[members]);
        member[members++] = k;
    }

    if (type == 1) {
        // The sum of the cells scaled into their own range, accumulated in
        // scan order per image; the images run side by side, each in its
        // own chain, so the sums are those of one image at a time.
        currentMatrixMapIndex = 0;
        double S[8] = {0, 0, 0, 0, 0, 0, 0, 0};
        double range[8];
        for (int i = 0; i < members; ++i)
            range[i] = mx[i] - mn[i];
        for (int r = d.top(); r <= d.bottom(); ++r) {
            const float* rows[8];
            for (int i = 0; i < members; ++i)
                rows[i] = matrixMapGroup[member[i]].constFind(r)->constData();
            for (int c = d.left(); c <= d.right(); ++c)
                for (int i = 0; i < members; ++i)
                    S[i] += (double(rows[i][c]) - mn[i]) / range[i];
        }
        double best = 123456789.0;
        for (int i = 0; i < members; ++i) {
            // A constant image gives no number and never wins.
            if (S[i] < best) {
                best = S[i];
                currentMatrixMapIndex = member[i];
            }
        }
    } else {
        long long highest = 0;
        for (int i = 0; i < members; ++i) {
            // 0.95 of the range, not of the way from min to max.
            const double threshold = 0.95 * (mx[i] - mn[i]);
            const QMap<int, QVector<float> >& m = matrixMapGroup[member[i]];
            long long n = 0;
            for (int r = d.top(); r <= d.bottom(); ++r) {
                const float* cells = m.constFind(r)->constData();
                for (int c = d.left(); c <= d.right(); ++c)
                    n += double(cells[c]) >= threshold ? 1 : 0;
            }
            if (n > highest) {
                highest = n;
                currentMatrixMapIndex = member[i];
            }
        }
    }
    slider->setValue(currentMatrixMapIndex);
}
