// Drawing of the grid, labels, curves and the cursor label.

#include "plot/plotter.h"

void Plotter::drawGrid(QPainter*) {}
void Plotter::drawCurves(QPainter*) {}
void Plotter::drawCursorLabel(QStylePainter*, QString&) {}
