// The main window's form.


#ifndef UI_MAINWINDOW_H
#define UI_MAINWINDOW_H

#include <QMainWindow>

class Ui_MainWindow
{
public:
    void setupUi(QMainWindow*) {}
    void retranslateUi(QMainWindow*) {}
};

namespace Ui {
class MainWindow : public Ui_MainWindow {};
}

#endif // UI_MAINWINDOW_H
