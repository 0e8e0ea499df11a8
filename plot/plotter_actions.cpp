// The plot window's context-menu actions and their connections.

#include "plot/plotter.h"

void Plotter::createActions() {}
