// Layout of the signal plot windows.

#include "app/mainwindow.h"
#include "app/ui_mainwindow.h"

#include <algorithm>
#include <cmath>

void MainWindow::display_raw_signals(bool multi)
{
    // Menu analyses work on one window per signal only.
    ui->menuTools->setEnabled(!multi);

    // The windows of the last view lose their curves here; hiding what the
    // new view does not show is left to hideWindowsOutside below.
    const int previous = clampToTable(previousPlotterCount);
    for (int i = 0; i < previous; ++i) {
        plotterList[i]->curveMap.clear();
        plotterList[i]->scoreList.clear();
    }
    const int previousMatrix = clampToTable(previousPlotterCountMatrix);
    for (int i = 0; i < previousMatrix; ++i)
        plotterListMatrix[i]->curveMap.clear();

    plotterList[0]->isMarkCurve = false;
    // More signals than plot windows cannot be shown; the filler of an odd
    // count still fits, since an odd count is at most 19.
    const int n = clampToTable(plotterCountRaw);
    plotterCount = n;

    for (int i = 0; i < n; ++i) {
        Plotter* p = plotterList[i];
        p->title.clear();
        p->unit.clear();
        p->xLabel.clear();
        p->yLabel.clear();
        p->title = p->titleRaw;
        p->unit = p->unitRaw;
        p->xLabel = p->xLabelRaw;
        p->yLabel = p->yLabelRaw;
        p->xLabelIsShown = false;
        p->titleIsShown = true;
        p->yLabelIsShown = true;
        p->unitIsShown = false;
    }

    if (multi) {
        if (n > 0) {
            Plotter* p = plotterList[0];
            float widestRange = 0.0f;
            // With every signal flat no range exceeds 0: fit the first curve.
            int widest = 0;
            for (int i = 0; i < n; ++i) {
                p->setCurveData(i, signal[i]);
                const float range = p->maxY - p->minY;
                if (range > widestRange) {
                    widestRange = range;
                    widest = i;
                }
            }
            // The last curve given sets the view; give the widest one again.
            if (widest < n - 1)
                p->setCurveData(widest, signal[widest]);
            ui->workspaceLayout->addWidget(p, 0, 0);
            p->show();
        }
    } else if (n > 0) {
        const int rows = static_cast<int>(std::ceil(n / 2.0));
        if (rows <= 1) {
            for (int i = 0; i < n; ++i) {
                plotterList[i]->setCurveData(0, signal[i]);
                ui->workspaceLayout->addWidget(plotterList[i], i, 0);
                plotterList[i]->show();
            }
        } else {
            for (int i = 0; i < rows; ++i) {
                plotterList[i]->setCurveData(0, signal[i]);
                ui->workspaceLayout->addWidget(plotterList[i], i, 0);
                plotterList[i]->show();
            }
            for (int i = rows; i < n; ++i) {
                plotterList[i]->setCurveData(0, signal[i]);
                ui->workspaceLayout->addWidget(plotterList[i], i - rows, 1);
                plotterList[i]->show();
            }
            if (n < 2 * rows) {
                // Odd count: the last cell of column 1 repeats the last signal.
                Plotter* filler = plotterList[n];
                filler->curveMap.clear();
                filler->title = plotterList[n - 1]->title;
                filler->titleIsShown = true;
                filler->setCurveData(0, signal[n - 1]);
                ui->workspaceLayout->addWidget(filler, n - rows, 1);
                filler->show();
                filler->passitive = true;
                plotterCount = n + 1;
            }
        }
    }

    QVector<Plotter*> view;
    for (int i = 0; i < (multi ? qMin(n, 1) : plotterCount); ++i)
        view << plotterList[i];
    hideWindowsOutside(view);

    previousPlotterCount = plotterCount;
    if (!isDecompose) {
        for (int i = 0; i < plotterCount; ++i)
            plotterList[i]->titlePrevious = plotterList[i]->title;
    }
    isDecompose = false;

    for (int i = 0; i < plotterCount; ++i) {
        plotterList[i]->isSecondCurve = false;
        plotterList[i]->refreshPixmap();
    }
}

void MainWindow::hideWindowsOutside(const QVector<Plotter*>& view)
{
    for (Plotter* p : plotterList) {
        if (!view.contains(p))
            p->hide();
    }
    for (Plotter* p : plotterListMatrix) {
        if (!view.contains(p))
            p->hide();
    }
    framesBeforeSingle.clear();
}

void MainWindow::on_action_Time_Dom_Analysis_triggered()
{
    analysisType = 0;
    ui->action_Bond_Signals->setEnabled(true);
    display_raw_signals(isMultiCurve);
    ui->menu_Frequency_Dom_Analysis->setEnabled(true);
    ui->menu_Time_Freq_Dom_Analysis->setEnabled(true);
}
