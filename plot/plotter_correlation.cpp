// Auto- and cross-correlation.

#include "plot/plotter.h"

void Plotter::AutoCorrelation() {}
void Plotter::CrossCorrelation() {}
void Plotter::UndoCorrelation() {}
