// Context menus of the plot window and the dispatch of their entries.

#include "plot/plotter.h"
#include "app/mainwindow.h"
#include "plot/plotter_internal.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>

namespace {

// The decomposition works with levels 1 (top image row, highest frequency)
// to 100 (lowest); row r of a wavelet image lies at level r + 1. Rows left
// over from a taller STFT image would give levels the decomposition cannot
// use, so they are held at the lowest level.
int levelFromRow(int row)
{
    const int level = row + 1;
    if (level < 1)
        return 1;
    if (level > 100)
        return 100;
    return level;
}

// A window's own wavelet (type 1) or STFT (type 2) images in the
// four-window layout. The analysis relays out the windows, so it gets a copy
// of the curve: nothing it does to the window's curves can pull the samples
// from under it.
void unbondedTimeFrequency(MainWindow* m, const QVector<QPointF>& curve, int type)
{
    for (int i = 0; i < MainWindow::clampToTable(m->plotterCount); ++i)
        m->plotterList[i]->refreshPixmap();
    m->timeFrequencyOfOneSignal(curve, type);
}

} // namespace

void Plotter::mousePressEvent(QMouseEvent* event)
{
    if (passitive)
        return;

    const QPoint pos = plotpixel::truncatedPos(event);
    if (event->button() == Qt::LeftButton) {
        if (plotArea().contains(pos)) {
            rubberBandIsShown = true;
            rubberBandRect.setTopLeft(pos);
            rubberBandRect.setBottomRight(pos);
            updateRubberBandRegion();
            setCursor(Qt::CrossCursor);
        }
        return;
    }

    if (!mainw)
        return;

    if (!isImage) {
        mainw->currentSignalIndex = 0;
        for (int i = 0; i < MainWindow::clampToTable(mainw->plotterCount); ++i) {
            if (mainw->plotterList[i] == this)
                mainw->currentSignalIndex = i;
        }
    }

    QMenu* menu = buildContextMenu();
    if (!menu)
        return;
    // The chosen entry's analysis runs inside exec().
    menu->exec(event->globalPosition().toPoint());
    delete menu;
}

QMenu* Plotter::buildContextMenu()
{
    if (!mainw)
        return nullptr;
    MainWindow* m = mainw;

    if (curZoom >= 1 && isImage)
        return nullptr;

    QMenu* menu = new QMenu;

    if (curZoom >= 1) {
        // A zoomed curve: the stretch in view can become the pattern.
        menu->addSeparator();
        menu->addAction(action_BuildPattern);
        menu->addSeparator();
        return menu;
    }

    if (m->analysisType != 0 && m->analysisType != 1) {
        // Time-frequency images: back to the time domain, or decompose.
        menu->addSeparator();
        menu->addAction(action_Time);
        action_Time->setEnabled(true);
        menu->addSeparator();
        if (m->analysisType == 2) {
            menu->addAction(action_getDecomposeLevel);
            action_getDecomposeLevel->setEnabled(!m->isBondSignals);
            menu->addSeparator();
            menu->addAction(action_searchDecomposeLevel);
            action_searchDecomposeLevel->setEnabled(!m->isBondSignals);
            menu->addSeparator();
        }
        return menu;
    }

    menu->addAction(action_Time);
    action_Time->setEnabled(true);

    menu_Frequency_Analysis = new QMenu(tr("Frequency domain analysis"), menu);
    menu_Frequency_Analysis->addAction(action_Spectrum);
    menu_Frequency_Analysis->addAction(action_PowerSpectralDensity);
    menu->addMenu(menu_Frequency_Analysis);
    menu_Frequency_Analysis->setEnabled(m->plotterCount > 0 && m->analysisType != 1 && !m->isMultiCurve);

    menu_Time_Frequency_Analysis = new QMenu(tr("Time frequency domain analysis"), menu);
    menu_Time_Frequency_Analysis->addAction(action_Wavelet);
    menu_Time_Frequency_Analysis->addAction(action_STFT);
    menu->addMenu(menu_Time_Frequency_Analysis);
    menu_Time_Frequency_Analysis->setEnabled(m->plotterCount > 0 && !m->isMultiCurve);

    menu->addSeparator();

    menu_Common_Operation = new QMenu(tr("Common operation"), menu);
    menu->addMenu(menu_Common_Operation);
    menu_Common_Operation->setEnabled(m->plotterCount > 0);

    menu_Common_Operation->addAction(action_SwitchSingleMultiFrame);
    action_SwitchSingleMultiFrame->setEnabled(m->previousPlotterCount >= 2 && !m->isMultiCurve);
    menu_Common_Operation->addAction(action_SwitchSingleMultiCurve);
    action_SwitchSingleMultiCurve->setEnabled(
        m->previousPlotterCount >= 2 && !isMarkCurve
        && !(m->plotterCount == 1 && action_SwitchSingleMultiFrame->isEnabled()));
    menu_Common_Operation->addSeparator();

    menu_Trace_Pattern = new QMenu(tr("Trace pattern"), menu);
    menu_Trace_Pattern->addAction(action_TracePattern_Time);
    menu_Trace_Pattern->addAction(action_TracePattern_Amp);
    menu_Trace_Pattern->addAction(action_TracePattern_TimeAmp);
    menu_Common_Operation->addMenu(menu_Trace_Pattern);
    menu_Trace_Pattern->setEnabled(!m->pattern.isEmpty());

    menu_Common_Operation->addAction(action_UndoPattern);
    action_UndoPattern->setEnabled(isMarkCurve);
    menu_Common_Operation->addSeparator();

    const bool unmarked = !action_UndoPattern->isEnabled();
    menu_Common_Operation->addAction(action_AutoCorrelation);
    action_AutoCorrelation->setEnabled(!m->isMultiCurve && unmarked);
    menu_Common_Operation->addAction(action_CrossCorrelation);
    action_CrossCorrelation->setEnabled(m->plotterCount != 1 && !m->isMultiCurve && unmarked);
    menu_Common_Operation->addAction(action_UndoCorrelation);
    action_UndoCorrelation->setEnabled(title.contains(QLatin1String("correlation"), Qt::CaseSensitive));
    menu_Common_Operation->addSeparator();

    menu_Common_Operation->addAction(action_Denoise);
    action_Denoise->setEnabled(!m->isMultiCurve && unmarked);
    menu_Common_Operation->addAction(action_AutoDenoise);
    action_AutoDenoise->setEnabled(!m->isMultiCurve && unmarked);
    menu_Common_Operation->addAction(action_SaveDenoisedData);
    action_SaveDenoisedData->setEnabled(!signalRaw.isEmpty() && !m->isMultiCurve);
    menu_Common_Operation->addAction(action_UndoDenoise);
    action_UndoDenoise->setEnabled(!signalRaw.isEmpty());
    menu_Common_Operation->addSeparator();

    return menu;
}

void Plotter::TimeAnalysis()
{
    if (!mainw)
        return;
    if (mainw->previousBondSignals) {
        mainw->isBondSignals = mainw->previousBondSignals;
        mainw->previousBondSignals = false;
    }
    mainw->analysisType = 0;
    mainw->on_action_Time_Dom_Analysis_triggered();
}

void Plotter::spectrumAnalysis()
{
    if (!mainw)
        return;
    if (!mainw->isBondSignals) {
        QVector<QPointF> data;
        const QVector<QPointF> curve = curveMap.value(0);
        data.reserve(curve.size());
        for (const QPointF& p : curve)
            data.append(p);
        mainw->FFTSpectrum(data);
    } else {
        mainw->on_action_Fast_Fourier_Transform_triggered();
    }
    // A refused spectrum (with its message) leaves the view, so the menu too.
    if (!mainw->analysisFailed)
        mainw->analysisType = 1;
}

void Plotter::waveletAnalysis()
{
    if (!mainw)
        return;
    if (!MainWindow::waveletLengthAccepted(curveMap.value(0).size()))
        return;
    if (mainw->isBondSignals) {
        mainw->on_action_Wavelet_Analysis_triggered();
        return;
    }
    unbondedTimeFrequency(mainw, curveMap.value(0), 1);
}

void Plotter::stftAnalysis()
{
    if (!mainw)
        return;
    if (mainw->isBondSignals) {
        mainw->on_action_STFT_Analysis_triggered();
        return;
    }
    unbondedTimeFrequency(mainw, curveMap.value(0), 2);
}

void Plotter::SwitchSingleMultiFrame()
{
    if (!mainw)
        return;
    MainWindow* m = mainw;
    if (m->plotterCount > 1) {
        // The switch back returns to the windows shown now (after a
        // spectrum of one signal, that one window), not to every window
        // in use.
        QVector<Plotter*> shown;
        for (int i = 0; i < MainWindow::clampToTable(m->plotterCount); ++i) {
            if (!m->plotterList[i]->isHidden())
                shown << m->plotterList[i];
        }
        m->hideWindowsOutside({this});
        show();
        m->framesBeforeSingle = shown;
        m->previousPlotterCount = m->plotterCount;
        m->plotterCount = 1;
        // A frame shown alone runs its analyses unbonded.
        if (m->isBondSignals) {
            m->previousBondSignals = true;
            m->isBondSignals = false;
        } else {
            m->previousBondSignals = false;
        }
    } else {
        QVector<Plotter*> view = m->framesBeforeSingle;
        if (view.isEmpty()) {
            for (int i = 0; i < MainWindow::clampToTable(m->previousPlotterCount); ++i)
                view << m->plotterList[i];
        }
        for (Plotter* p : view)
            p->show();
        m->hideWindowsOutside(view);
        m->plotterCount = m->previousPlotterCount;
        if (m->previousBondSignals)
            m->isBondSignals = true;
    }
}

void Plotter::SwitchSingleMultiCurve()
{
    if (!mainw)
        return;
    MainWindow* m = mainw;
    m->isMultiCurve = !m->isMultiCurve;
    if (!m->isMultiCurve) {
        for (int id = 0; id < m->previousPlotterCount; ++id)
            m->plotterList[0]->clearCurve(id);
    }
    m->display_raw_signals(m->isMultiCurve);
}

void Plotter::getDecomposeLevel()
{
    if (!mainw)
        return;
    mainw->decomposeLevel = levelFromRow(previousId);
    mainw->isDecompose = true;
    TimeAnalysis();
    mainw->on_action_Decompose_triggered();
}

void Plotter::searchDecomposeLevel()
{
    if (!mainw || !isImageSlot(currentMatrixMapIndex))
        return;
    const QMap<int, QVector<float> >& image = matrixMapGroup[currentMatrixMapIndex];
    const int w = image.isEmpty() ? 0 : static_cast<int>(image.first().size());
    const int margin = w / 5;
    float best = -123456789.0f;
    for (auto it = image.constBegin(); it != image.constEnd(); ++it) {
        const QVector<float>& row = it.value();
        // Rows kept from an earlier, narrower image must not be read past their end.
        const int end = qMin(w - margin, static_cast<int>(row.size()));
        for (int c = margin; c < end; ++c) {
            if (row[c] > best) {
                best = row[c];
                mainw->decomposeLevel = levelFromRow(it.key());
            }
        }
    }
    mainw->isDecompose = true;
    TimeAnalysis();
    mainw->on_action_Decompose_triggered();
}

// Kept as entry points of the reference-trace model, which no menu offers.
void Plotter::Simulation() {}
void Plotter::SimulationPrediction() {}
void Plotter::UndoSimulation() {}
