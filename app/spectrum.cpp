// Spectrum analyses: FFT spectrum and power spectrum.

#include "app/mainwindow.h"

void MainWindow::on_action_Fast_Fourier_Transform_triggered() {}
void MainWindow::on_action_Power_Spectral_Density_triggered() {}
void MainWindow::FFTSpectrum(QVector<QPointF>&) {}
void MainWindow::wwPS(double*, double*, int) {}
