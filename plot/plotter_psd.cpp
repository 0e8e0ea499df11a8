// Power spectral density of the plot window's curve.

#include "plot/plotter.h"

void Plotter::PowerSpectralDensity() {}
