// Main window construction, loading of the compiled-in record and language.

#include "app/mainwindow.h"
#include "app/ui_mainwindow.h"
#include <QTextStream>

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), ui(new Ui::MainWindow), tfProgressBar(nullptr)
{
    ui->setupUi(this);
}

MainWindow::~MainWindow() { delete ui; }

int MainWindow::readSignalFile(QTextStream&, QVector<QPointF>&) { return 2; }
void MainWindow::loadSignals() {}
void MainWindow::changeEvent(QEvent* e) { QMainWindow::changeEvent(e); }
void MainWindow::on_action_Choose_Local_Language_triggered() {}
void MainWindow::on_actionEnglish_triggered() {}
void MainWindow::on_action_Open_File_triggered() {}
void MainWindow::on_action_Import_WFDB_Database_triggered() {}
void MainWindow::on_action_Export_Data_triggered() {}
void MainWindow::extract_record_list(int) {}
void MainWindow::load_display_remotedata(int) {}
