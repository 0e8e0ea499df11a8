// Saving, printing, help, exit and the option toggles.

#include "app/mainwindow.h"

void MainWindow::on_action_Save_File_triggered() {}
void MainWindow::on_action_Print_triggered() {}
void MainWindow::on_action_Exit_triggered() {}
void MainWindow::on_actionContents_triggered() {}
void MainWindow::on_actionAbout_triggered() {}
void MainWindow::on_action_Enable_Magnetic_Cursor_triggered() {}
void MainWindow::on_action_Multi_windows_dynamical_Selection_triggered() {}
void MainWindow::on_action_Trim_Signals_at_Begin_triggered() {}
void MainWindow::on_action_Bond_Signals_triggered() {}
size_t MainWindow::process_data(void*, size_t, size_t, void*) { return 0; }
