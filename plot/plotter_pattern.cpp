// Pattern build and trace.

#include "plot/plotter.h"

void Plotter::BuildPattern() {}
void Plotter::TracePattern_Time() {}
void Plotter::TracePattern_Amp() {}
void Plotter::TracePattern_TimeAmp() {}
void Plotter::UndoPattern() {}
void Plotter::recalculatePatterTrace(int) {}
