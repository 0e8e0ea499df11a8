// Wavelet de-noising with save and undo.

#include "plot/plotter.h"

void Plotter::ManuDenoiseProcess() {}
void Plotter::AutoDenoiseProcess() {}
void Plotter::DenoiseProcess() {}
void Plotter::SaveDenoisedData() {}
void Plotter::UndoDenoise() {}
