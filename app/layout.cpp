// Layout of the signal plot windows.

#include "app/mainwindow.h"

void MainWindow::display_raw_signals(bool) {}
void MainWindow::on_action_Time_Dom_Analysis_triggered() {}
