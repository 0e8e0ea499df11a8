// Plot window core: construction, data entry, zoom stack, pixmap cache.

#include "plot/plotter.h"
#include "app/mainwindow.h"

PlotSettings::PlotSettings()
    : minX(0), maxX(0), numXTicks(10), minY(0), maxY(0), numYTicks(10),
      minX2(0), maxX2(0), minY2(0), maxY2(0), draw(QPoint(0, 0), QPoint(-1, -1))
{
}

void PlotSettings::scroll(int, int) {}
void PlotSettings::adjust() {}
void PlotSettings::adjustAxis(double&, double&, int&) {}

Plotter::Plotter(QWidget* parent) : QWidget(parent)
{
    zoomStack.append(PlotSettings());
    curZoom = 0;
}

Plotter::~Plotter() = default;

void Plotter::setPlotSettings(const PlotSettings&) {}
void Plotter::setCurveData(int, const QVector<QPointF>&) {}
void Plotter::setMatrixData(QPoint, float*) {}
void Plotter::clearCurve(int) {}
void Plotter::refreshPixmap() {}
QSize Plotter::sizeHint() const { return QSize(12 * MarginLeft, 8 * MarginLeft); }
QSize Plotter::minimumSizeHint() const { return QSize(6 * MarginLeft, 4 * MarginLeft); }
QRect Plotter::plotArea() const { return QRect(); }
void Plotter::zoomIn() {}
void Plotter::zoomOut() {}
void Plotter::paintEvent(QPaintEvent*) {}
void Plotter::resizeEvent(QResizeEvent*) {}
