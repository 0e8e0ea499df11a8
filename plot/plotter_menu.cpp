// Context menus of the plot window and the dispatch of their entries.

#include "plot/plotter.h"

void Plotter::mousePressEvent(QMouseEvent*) {}
QMenu* Plotter::buildContextMenu() { return nullptr; }
void Plotter::TimeAnalysis() {}
void Plotter::spectrumAnalysis() {}
void Plotter::waveletAnalysis() {}
void Plotter::stftAnalysis() {}
void Plotter::SwitchSingleMultiFrame() {}
void Plotter::SwitchSingleMultiCurve() {}
void Plotter::getDecomposeLevel() {}
void Plotter::searchDecomposeLevel() {}
void Plotter::Simulation() {}
void Plotter::SimulationPrediction() {}
void Plotter::UndoSimulation() {}
