// Time-frequency images: drawing, read-out and image selection.

#include "plot/plotter.h"

void Plotter::drawMatrix(QPainter*) {}
void Plotter::readOutImage(const QPoint&) {}
void Plotter::setWindowType(int) {}
void Plotter::windowTypeSelection() {}
