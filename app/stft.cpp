// Short-time Fourier transform and its inverse.

#include "app/mainwindow.h"

void MainWindow::wwstft(float*, float*, int, int, int, int) {}
void MainWindow::wwistft(double*, double*, int, int, int) {}
