// Time-frequency images: drawing, read-out and image selection.

#include "plot/plotter.h"
#include "plot/tfimage.h"
#include "app/mainwindow.h"

#include <QPainter>
#include <QSlider>

#include <algorithm>
#include <functional>
#include <limits>
#include <system_error>
#include <thread>
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
    // Pixel rows that fall on the same image row show the same cells: each
    // image row is gathered once.
    std::vector<int> source(H);
    std::vector<int> distinct;
    for (int i = 0; i < H; ++i) {
        source[i] = int(d.top() + i * stepY);
        if (distinct.empty() || distinct.back() != source[i])
            distinct.push_back(source[i]);
    }
    std::vector<float> cells(distinct.size() * std::size_t(W));
    for (std::size_t k = 0; k < distinct.size(); ++k) {
        const float* row = image.constFind(distinct[k])->constData();
        float* out = cells.data() + k * W;
        for (int j = 0; j < W; ++j)
            out[j] = row[cols[j]];
    }

    // Single-precision sentinels: cells beyond them in view are scaled from
    // the sentinel, not from their own extreme.
    float mx = -1234567.0f;
    float mn = 1234567.0f;
    for (float v : cells) {
        if (v > mx)
            mx = v;
        if (v < mn)
            mn = v;
    }
    const float range = mx - mn;
    const double scale = range == 0 ? 1.0 : 255.0 / range;

    QImage out(W, H, QImage::Format_RGB32);
    std::size_t k = 0;
    for (int i = 0; i < H; ++i) {
        QRgb* dst = reinterpret_cast<QRgb*>(out.scanLine(i));
        if (i > 0 && source[i] == source[i - 1]) {
            std::copy_n(reinterpret_cast<const QRgb*>(out.constScanLine(i - 1)), W, dst);
            continue;
        }
        const float* row = cells.data() + k++ * W;
        for (int j = 0; j < W; ++j) {
            const double x = (row[j] - mn) * scale;
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

void Plotter::drawMatrix(QPainter* painter)
{
    const QRect R = plotArea();
    if (!R.isValid())
        return;

    if (!zoomStack.isEmpty() && curZoom >= 0 && curZoom < zoomStack.size()
        && isImageSlot(currentMatrixMapIndex)) {
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

void Plotter::readOutImage(const QPointF& posF)
{
    const QPoint pos(int(posF.x()), int(posF.y()));
    if (!mainw || mainw->isBondSignals || !matrixExtract)
        return;
    const QRect R = plotArea();
    if (!R.isValid() || !R.contains(pos))
        return;
    if (zoomStack.isEmpty() || curZoom < 0 || curZoom >= zoomStack.size()
        || !isImageSlot(currentMatrixMapIndex))
        return;
    const PlotSettings s = zoomStack[curZoom];
    const QRect d = s.draw;
    const QMap<int, QVector<float> >& M = matrixMapGroup[currentMatrixMapIndex];
    if (!tfimage::covers(M, d))
        return;

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
    if (!isImageSlot(v) || v >= imageCount)
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

// How one image fares over the view: its extremes and, for wavelet images,
// the sum of its cells scaled into their own range, or, for STFT images,
// the number of cells at or above 0.95 of that range.
struct Judgement {
    const QMap<int, QVector<float> >* image = nullptr;
    double mx = 0, mn = 0;
    double sum = 0;
    long long count = 0;
};

void judge(Judgement& j, const QRect& d, int type)
{
    const QMap<int, QVector<float> >& m = *j.image;
    // Extremes as the scan from the sentinels -123456789 and 123456789
    // finds them (a NaN cell is passed over); eight lanes side by side, as
    // maximum and minimum do not depend on the order.
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
    j.mx = *std::max_element(hi, hi + 8);
    j.mn = *std::min_element(lo, lo + 8);

    if (type == 1) {
        // Accumulated in double in scan order. A constant image has no
        // spread: its sum is no number and never wins.
        const double range = j.mx - j.mn;
        if (!(range > 0)) {
            j.sum = std::numeric_limits<double>::quiet_NaN();
            return;
        }
        double S = 0;
        for (int r = d.top(); r <= d.bottom(); ++r) {
            const float* cells = m.constFind(r)->constData();
            for (int c = d.left(); c <= d.right(); ++c)
                S += (double(cells[c]) - j.mn) / range;
        }
        j.sum = S;
    } else {
        // 0.95 of the range, not of the way from min to max.
        const double threshold = 0.95 * (j.mx - j.mn);
        long long n = 0;
        for (int r = d.top(); r <= d.bottom(); ++r) {
            const float* cells = m.constFind(r)->constData();
            for (int c = d.left(); c <= d.right(); ++c)
                n += double(cells[c]) >= threshold ? 1 : 0;
        }
        j.count = n;
    }
}

// Judges the images; large ones each on a thread of its own, since every
// judgement reads only its image.
void judgeAll(std::vector<Judgement>& all, const QRect& d, int type)
{
    const long long cells = (long long)(d.right() - d.left() + 1) * (d.bottom() - d.top() + 1);
    std::vector<std::thread> workers;
    if (all.size() > 1 && cells >= 65536) {
        for (std::size_t i = 1; i < all.size(); ++i) {
            try {
                workers.emplace_back(judge, std::ref(all[i]), std::cref(d), type);
            } catch (const std::system_error&) {
                judge(all[i], d, type);
            }
        }
    } else {
        for (std::size_t i = 1; i < all.size(); ++i)
            judge(all[i], d, type);
    }
    if (!all.empty())
        judge(all[0], d, type);
    for (std::thread& t : workers)
        t.join();
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
    const int count = std::min({int(names.size()), imageCount, imageSlots});
    if (count <= 0)
        return;
    const QRect d = zoomStack[curZoom].draw;

    // The images that can be judged: filled over the view.
    std::vector<Judgement> all;
    std::vector<int> slotOf;
    for (int k = 0; k < count; ++k) {
        if (!tfimage::covers(matrixMapGroup[k], d))
            continue;
        Judgement j;
        j.image = &matrixMapGroup[k];
        all.push_back(j);
        slotOf.push_back(k);
    }
    judgeAll(all, d, type);

    if (type == 1) {
        // The smallest sum wins; equal sums keep the lower index.
        currentMatrixMapIndex = 0;
        double best = 123456789.0;
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (all[i].sum < best) {
                best = all[i].sum;
                currentMatrixMapIndex = slotOf[i];
            }
        }
    } else {
        // The largest count wins; when every count is 0 the index stays.
        long long highest = 0;
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (all[i].count > highest) {
                highest = all[i].count;
                currentMatrixMapIndex = slotOf[i];
            }
        }
    }
    slider->setValue(currentMatrixMapIndex);
}
