// Plot window core: construction, data entry, zoom stack, pixmap cache.

#include "plot/plotter.h"
#include "app/mainwindow.h"
#include "plot/plotter_internal.h"

#include <QFont>
#include <QPainter>
#include <QResizeEvent>
#include <QSlider>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QToolButton>

#include <cmath>

// ---------------------------------------------------------------------------
// PlotSettings

// Every number gets a value so that a view that nobody filled in is still
// usable (finite, ten ticks, empty cell block).
PlotSettings::PlotSettings()
    : minX(0), maxX(0), numXTicks(10), minY(0), maxY(0), numYTicks(10),
      minX2(0), maxX2(0), minY2(0), maxY2(0), draw(QPoint(0, 0), QPoint(-1, -1))
{
}

void PlotSettings::scroll(int dx, int dy)
{
    const double stepX = spanX() / numXTicks;
    minX += dx * stepX;
    maxX += dx * stepX;

    const double stepY = spanY() / numYTicks;
    minY += dy * stepY;
    maxY += dy * stepY;
}

void PlotSettings::adjust()
{
    // Only y: after a rubber-band zoom the x range stays the exact selection.
    adjustAxis(minY, maxY, numYTicks);
}

void PlotSettings::adjustAxis(double& min, double& max, int& numTicks)
{
    const int MinTicks = 4;
    const double grossStep = (max - min) / MinTicks;

    // A flat, reversed or non-finite range has no power of ten to step by:
    // keep it as it is with the fewest ticks rather than produce inf/NaN.
    if (!(grossStep > 0.0) || !std::isfinite(grossStep) || !std::isfinite(min) || !std::isfinite(max)) {
        numTicks = MinTicks;
        return;
    }

    double step = std::pow(10.0, std::floor(std::log10(grossStep)));
    if (grossStep > 5 * step)
        step *= 5;
    else if (grossStep > 2 * step)
        step *= 2;

    numTicks = int(std::ceil(max / step) - std::floor(min / step));
    if (numTicks < MinTicks)
        numTicks = MinTicks;
    min = std::floor(min / step) * step;
    max = std::ceil(max / step) * step;
}

// ---------------------------------------------------------------------------
// Plotter: construction

Plotter::Plotter(QWidget* parent)
    : QWidget(parent),
      MarginLeft(72), MarginRight(72), MarginTop(50), MarginBottom(50),
      curZoom(0), minxZoom(0), maxxZoom(0),
      yLabelIsShown(true), xLabelIsShown(false), titleIsShown(false), unitIsShown(false),
      isSecondCurve(false),
      minX(0), maxX(0), minY(0), maxY(0),
      matrixExtract(false), passitive(false), isMarkCurve(false), isPrediction(false),
      pList0(nullptr), pList2(nullptr), pList3(nullptr),
      menu_Time_Analysis(nullptr), menu_Frequency_Analysis(nullptr), menu_Trace_Pattern(nullptr),
      menu_Time_Frequency_Analysis(nullptr), menu_Common_Operation(nullptr),
      mainw(nullptr), currentMatrixMapIndex(0), slider(nullptr), horizontalSlider(nullptr),
      verticalLineEnable(false), progressBar(nullptr), currentTrace(1),
      isManuDenoise(false), deNoiseDeep(0), imageCount(0),
      zoomInButton(nullptr), zoomOutButton(nullptr), rubberBandIsShown(false),
      curveLabelPos(0, 0), cursorPosIsShown(false), enableCursorPosCheck(false), signingOff(false),
      isImage(false), previousId(0), colorDepth(76), Lmissing(100)
{
    setBackgroundRole(QPalette::Dark);
    setAutoFillBackground(true);
    // Tick labels get fixed boxes (67 pixels for a y label); the desktop's
    // default font is too wide for them.
    QFont labelFont = font();
    labelFont.setPointSizeF(8);
    setFont(labelFont);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    setFocusPolicy(Qt::StrongFocus);

    zoomInButton = new QToolButton(this);
    zoomInButton->setIcon(QIcon(":/images/zoomin.png"));
    zoomInButton->adjustSize();
    connect(zoomInButton, &QToolButton::clicked, this, &Plotter::zoomIn);

    zoomOutButton = new QToolButton(this);
    zoomOutButton->setIcon(QIcon(":/images/zoomout.png"));
    zoomOutButton->adjustSize();
    connect(zoomOutButton, &QToolButton::clicked, this, &Plotter::zoomOut);

    setMouseTracking(true);

    createActions();

    slider = new QSlider(Qt::Vertical, this);
    slider->setGeometry(0, 0, zoomInButton->width(),
                        qMax(0, height() - (MarginTop + MarginBottom) - zoomInButton->width() / 2));
    slider->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    slider->setTickPosition(QSlider::TicksBothSides);
    slider->setRange(0, 5);
    slider->setTracking(false);
    connect(slider, &QSlider::valueChanged, this, &Plotter::setWindowType);
    slider->hide();

    horizontalSlider = new QSlider(Qt::Horizontal, this);
    horizontalSlider->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    horizontalSlider->move(width() / 2 - horizontalSlider->width() / 2, height() - MarginBottom / 2);
    horizontalSlider->setRange(0, 100);
    horizontalSlider->setValue(80);
    horizontalSlider->setTracking(false);
    horizontalSlider->setTickPosition(QSlider::TicksBothSides);
    horizontalSlider->setTickInterval(5);
    horizontalSlider->setMouseTracking(true);
    // Connected only now so that setting the start value runs no handler.
    connect(horizontalSlider, &QSlider::valueChanged, this, &Plotter::recalculatePatterTrace);

    // Resize, keys and paint read the current view before any data arrives:
    // give the window one harmless default view (unit square, no second axis).
    PlotSettings initial;
    initial.minX = 0.0;
    initial.maxX = 1.0;
    initial.minY = 0.0;
    initial.maxY = 1.0;
    initial.numXTicks = 10;
    initial.numYTicks = 10;
    zoomStack.append(initial);
    curZoom = 0;
}

Plotter::~Plotter() = default;

// ---------------------------------------------------------------------------
// Data entry and the zoom stack

void Plotter::setPlotSettings(const PlotSettings& settings)
{
    zoomStack.clear();
    zoomStack.append(settings);
    curZoom = 0;
    zoomInButton->hide();
    zoomOutButton->hide();

    slider->adjustSize();
    slider->move(width() - zoomInButton->width() - 10, 2 * zoomInButton->height() + 15);
    slider->hide();

    horizontalSlider->adjustSize();
    horizontalSlider->move(width() / 2 - horizontalSlider->width() / 2, height() - MarginBottom / 2);
    horizontalSlider->hide();

    refreshPixmap();
}

// The view of newly entered data: its ranges with ten intervals each and no
// second axis.
static PlotSettings dataView(float minX, float maxX, float minY, float maxY)
{
    PlotSettings settings;
    settings.minX = minX;
    settings.maxX = maxX;
    settings.numXTicks = 10;
    settings.minY = minY;
    settings.maxY = maxY;
    settings.numYTicks = 10;
    settings.minX2 = settings.maxX2 = settings.minY2 = settings.maxY2 = 0.0;
    return settings;
}

void Plotter::setCurveData(int id, const QVector<QPointF>& data)
{
    isImage = false;

    minX = 123456789.0f;
    minY = 123456789.0f;
    maxX = -123456789.0f;
    maxY = -123456789.0f;
    for (const QPointF& p : data) {
        if (p.x() > maxX)
            maxX = float(p.x());
        if (p.x() < minX)
            minX = float(p.x());
        if (p.y() > maxY)
            maxY = float(p.y());
        if (p.y() < minY)
            minY = float(p.y());
    }

    PlotSettings settings = dataView(minX, maxX, minY, maxY);

    curveMap[id] = data;
    setPlotSettings(settings);
}

void Plotter::setMatrixData(QPoint row_col, float* sc)
{
    // An index outside the image slots must not write anywhere.
    if (!isImageSlot(currentMatrixMapIndex))
        return;

    const int rows = qMax(0, row_col.y());
    const int columns = qMax(0, row_col.x());
    if (rows > 0 && columns > 0 && sc == nullptr)
        return;

    // The slot gets exactly this image: rows of an earlier, larger image
    // must not linger below it.
    QMap<int, QVector<float> > image;
    for (int r = 0; r < rows; ++r) {
        const float* src = sc + qsizetype(r) * columns;
        image.insert(r, QVector<float>(src, src + columns));
    }
    matrixMapGroup[currentMatrixMapIndex] = image;

    PlotSettings settings = dataView(minX, maxX, minY, maxY);
    settings.draw = QRect(0, 0, columns, rows);
    setPlotSettings(settings);

    isImage = true;
    refreshPixmap();
}

void Plotter::clearCurve(int id)
{
    curveMap.remove(id);
    refreshPixmap();
}

// The main window's bond option; a window without a main window is unbonded.
static bool bondedSignals(const MainWindow* w)
{
    return w != nullptr && w->isBondSignals;
}

// Whether a zoom should pick the best-suited image: only the image window of
// the time-frequency layout (linked, or filled by a run) holds a full set of
// images; a signal window with the one image of a bonded run has none to pick.
static bool choosesImage(const Plotter* p)
{
    return p->mainw != nullptr && !p->mainw->isSingleWindow
           && (p->pList0 != nullptr || p->pList3 != nullptr || p->imageCount > 0);
}

// The image window of the time-frequency layout drags its neighbours along:
// the signal below steps through its zoom levels with it, the signal above
// marks the image's time range, and the best-suited image is chosen anew.
static void followImageZoom(Plotter* image, int step)
{
    Plotter* below = image->pList3;
    if (below != nullptr) {
        const int level = below->curZoom + step;
        if (level >= 0 && level < below->zoomStack.count()) {
            below->curZoom = level;
            below->refreshPixmap();
        }
    }
    Plotter* above = image->pList0;
    if (above != nullptr && above->isMarkCurve) {
        above->minxZoom = image->currentSettings().minX;
        above->maxxZoom = image->currentSettings().maxX;
        above->refreshPixmap();
    }
    if (choosesImage(image))
        image->windowTypeSelection();
}

void Plotter::zoomIn()
{
    if (curZoom < zoomStack.count() - 1) {
        ++curZoom;
        zoomInButton->setEnabled(curZoom < zoomStack.count() - 1);
        zoomOutButton->setEnabled(true);
        zoomOutButton->show();
        refreshPixmap();
    }

    if (!bondedSignals(mainw) && isImage && !passitive)
        followImageZoom(this, +1);
}

void Plotter::zoomOut()
{
    auto stepBack = [](Plotter* p) {
        --p->curZoom;
        p->zoomOutButton->setEnabled(p->curZoom > 0);
        p->zoomInButton->setEnabled(true);
        p->zoomInButton->show();
        p->refreshPixmap();
    };

    if (!bondedSignals(mainw) || isImage) {
        if (curZoom > 0)
            stepBack(this);
    } else {
        const int count = MainWindow::clampToTable(mainw->plotterCount);
        for (int i = 0; i < count; ++i) {
            Plotter* p = mainw->plotterList[i];
            if (p != nullptr && p->curZoom > 0)
                stepBack(p);
        }
    }

    if (!bondedSignals(mainw) && isImage && !passitive)
        followImageZoom(this, -1);
}

// ---------------------------------------------------------------------------
// Pixmap cache, painting and geometry

QRect Plotter::plotArea() const
{
    return QRect(MarginLeft + 10, MarginTop, width() - (MarginLeft + MarginRight) - 10,
                 height() - (MarginTop + MarginBottom));
}

void Plotter::refreshPixmap()
{
    if (width() <= 0 || height() <= 0) {
        pixmap = QPixmap();
        update();
        return;
    }

    pixmap = QPixmap(size());
    pixmap.fill(palette().color(QPalette::Dark));

    QPainter painter(&pixmap);
    painter.setFont(font());
    painter.setBackground(palette().brush(QPalette::Dark));
    QPen pen(palette().color(QPalette::Light));
    pen.setWidth(0);
    painter.setPen(pen);

    drawGrid(&painter);
    if (isImage) {
        // Nothing to show for a slot outside the table or one never filled.
        if (isImageSlot(currentMatrixMapIndex) && !matrixMapGroup[currentMatrixMapIndex].isEmpty())
            drawMatrix(&painter);
    } else {
        drawCurves(&painter);
    }
    painter.end();
    update();
}

void Plotter::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    painter.drawPixmap(0, 0, pixmap);

    drawCursorLabel(&painter, curveLabel);

    if (rubberBandIsShown) {
        QPen pen(palette().color(QPalette::Light));
        pen.setWidth(0);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(plotpixel::orderedBand(rubberBandRect).adjusted(0, 0, -1, -1));
    }

    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.backgroundColor = palette().color(QPalette::Dark);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
    }
}

void Plotter::resizeEvent(QResizeEvent*)
{
    const int x = width() - zoomOutButton->width() - 10;
    zoomInButton->move(x, zoomInButton->height() + 10);
    zoomOutButton->move(x, 5);

    if (!isImage)
        slider->setGeometry(0, 0, zoomInButton->width(),
                            qMax(0, height() - (MarginTop + MarginBottom) - zoomInButton->width() / 2));
    slider->move(x, 2 * zoomInButton->height() + 15);

    if (!isImage) {
        horizontalSlider->setGeometry(0, 0, qMax(0, (width() - (MarginLeft + MarginRight)) / 2),
                                      zoomInButton->width());
        horizontalSlider->move(width() / 2 - horizontalSlider->width() / 2, height() - MarginBottom / 2);
    }

    refreshPixmap();
}

QSize Plotter::sizeHint() const
{
    return QSize(12 * MarginLeft, 8 * MarginLeft);
}

QSize Plotter::minimumSizeHint() const
{
    return QSize(6 * MarginLeft, 4 * MarginLeft);
}
