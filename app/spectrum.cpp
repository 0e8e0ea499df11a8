// Spectrum analyses of the main window: FFT spectrum and power spectrum.

#include "app/mainwindow.h"
#include "app/spectral.h"

void MainWindow::on_action_Fast_Fourier_Transform_triggered() {}
void MainWindow::on_action_Power_Spectral_Density_triggered() {}
void MainWindow::FFTSpectrum(QVector<QPointF>&) {}

void MainWindow::wwPS(double* PS, double* signal, int dal)
{
    // Fewer than ten samples leave PS as it was.
    (void)spectral::powerSpectrum(PS, signal, dal);
}
