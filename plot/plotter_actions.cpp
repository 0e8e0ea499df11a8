// The plot window's context-menu actions and their connections.

#include "plot/plotter.h"

#include <QAction>

void Plotter::createActions()
{
    // Order and texts are what the context menus show; the menus themselves
    // are built anew on each press.
    auto make = [this](const QString& text) { return new QAction(text, this); };

    action_Time = make(tr("Time domain analysis"));
    connect(action_Time, &QAction::triggered, this, &Plotter::TimeAnalysis);
    action_Spectrum = make(tr("Fast Fourier Transform"));
    connect(action_Spectrum, &QAction::triggered, this, &Plotter::spectrumAnalysis);
    action_Wavelet = make(tr("Wavelet analysis"));
    connect(action_Wavelet, &QAction::triggered, this, &Plotter::waveletAnalysis);
    action_STFT = make(tr("STFT analysis"));
    connect(action_STFT, &QAction::triggered, this, &Plotter::stftAnalysis);
    action_getDecomposeLevel = make(tr("Get decompose level"));
    connect(action_getDecomposeLevel, &QAction::triggered, this, &Plotter::getDecomposeLevel);
    action_searchDecomposeLevel = make(tr("Search decompose level"));
    connect(action_searchDecomposeLevel, &QAction::triggered, this, &Plotter::searchDecomposeLevel);

    // Kept for the menus' future; nothing shows or triggers them.
    action_HHT = make(tr("HHT analysis"));
    action_analytic = make(tr("Analytic component display"));
    action_sum = make(tr("Power distribution"));
    action_peak = make(tr("Frequency peak distribution"));
    action_maxSelection = make(tr("Maximum component"));

    action_BuildPattern = make(tr("Build pattern"));
    connect(action_BuildPattern, &QAction::triggered, this, &Plotter::BuildPattern);
    action_TracePattern_Time = make(tr("Trace pattern by time"));
    connect(action_TracePattern_Time, &QAction::triggered, this, &Plotter::TracePattern_Time);
    action_TracePattern_Amp = make(tr("Trace pattern by amp"));
    connect(action_TracePattern_Amp, &QAction::triggered, this, &Plotter::TracePattern_Amp);
    action_TracePattern_TimeAmp = make(tr("Trace pattern by time and amp"));
    connect(action_TracePattern_TimeAmp, &QAction::triggered, this, &Plotter::TracePattern_TimeAmp);
    action_UndoPattern = make(tr("Undo pattern"));
    connect(action_UndoPattern, &QAction::triggered, this, &Plotter::UndoPattern);

    action_AutoCorrelation = make(tr("Auto-correlation"));
    connect(action_AutoCorrelation, &QAction::triggered, this, &Plotter::AutoCorrelation);
    action_CrossCorrelation = make(tr("Cross-correlation"));
    connect(action_CrossCorrelation, &QAction::triggered, this, &Plotter::CrossCorrelation);
    action_UndoCorrelation = make(tr("Undo correlation"));
    connect(action_UndoCorrelation, &QAction::triggered, this, &Plotter::UndoCorrelation);

    action_Denoise = make(tr("De-noise"));
    connect(action_Denoise, &QAction::triggered, this, &Plotter::ManuDenoiseProcess);
    action_AutoDenoise = make(tr("Auto-De-noise"));
    connect(action_AutoDenoise, &QAction::triggered, this, &Plotter::AutoDenoiseProcess);
    action_SaveDenoisedData = make(tr("Save denoised-data"));
    connect(action_SaveDenoisedData, &QAction::triggered, this, &Plotter::SaveDenoisedData);
    action_UndoDenoise = make(tr("Undo De-noise"));
    connect(action_UndoDenoise, &QAction::triggered, this, &Plotter::UndoDenoise);

    action_PowerSpectralDensity = make(tr("Power spectral density"));
    connect(action_PowerSpectralDensity, &QAction::triggered, this, &Plotter::PowerSpectralDensity);

    action_Simulation = make(tr("Simulation"));
    connect(action_Simulation, &QAction::triggered, this, &Plotter::Simulation);
    action_SimulationPrediction = make(tr("Simulation and Prediction"));
    connect(action_SimulationPrediction, &QAction::triggered, this, &Plotter::SimulationPrediction);
    action_UndoSimulation = make(tr("Undo Simulation"));
    connect(action_UndoSimulation, &QAction::triggered, this, &Plotter::UndoSimulation);

    action_SwitchSingleMultiFrame = make(tr("Switch single-multi frame"));
    connect(action_SwitchSingleMultiFrame, &QAction::triggered, this, &Plotter::SwitchSingleMultiFrame);
    action_SwitchSingleMultiCurve = make(tr("Switch single-multi curve"));
    connect(action_SwitchSingleMultiCurve, &QAction::triggered, this, &Plotter::SwitchSingleMultiCurve);
}
