// Mouse, keyboard and wheel handling of the plot window.

#include "plot/plotter.h"

void Plotter::mouseReleaseEvent(QMouseEvent*) {}
void Plotter::mouseMoveEvent(QMouseEvent*) {}
void Plotter::wheelEvent(QWheelEvent*) {}
void Plotter::keyPressEvent(QKeyEvent*) {}
void Plotter::updateRubberBandRegion() {}
