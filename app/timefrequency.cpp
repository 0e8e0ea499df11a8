// Time-frequency analyses and the four-window layout.

#include "app/mainwindow.h"

void MainWindow::TimeFrequencyAnalysis(QVector<QPointF>&, int) {}
void MainWindow::on_action_Wavelet_Analysis_triggered() {}
void MainWindow::on_action_STFT_Analysis_triggered() {}
QProgressBar* MainWindow::timeFrequencyProgressBar() { return tfProgressBar; }
