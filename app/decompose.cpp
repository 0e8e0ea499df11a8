// Decomposition of the signals at one wavelet scale.

#include "app/mainwindow.h"

void MainWindow::on_action_Set_Decompose_Level_triggered() {}
void MainWindow::on_action_Decompose_triggered() {}
void MainWindow::on_action_Undo_decompose_triggered() {}
