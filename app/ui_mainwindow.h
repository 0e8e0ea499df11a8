// The main window's form: actions, menus, tool bar, work area and the
// (hidden) combo boxes, written in the shape that uic gives a form class.

#ifndef UI_MAINWINDOW_H
#define UI_MAINWINDOW_H

#include <QtCore/QCoreApplication>
#include <QtCore/QRect>
#include <QtCore/QVariant>
#include <QtGui/QAction>
#include <QtGui/QIcon>
#include <QtGui/QKeySequence>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLayout>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QSizePolicy>
#include <QtWidgets/QStatusBar>
#include <QtWidgets/QToolBar>
#include <QtWidgets/QVBoxLayout>
#include <QtWidgets/QWidget>

QT_BEGIN_NAMESPACE

class Ui_MainWindow
{
public:
    QAction *action_Open_File;
    QAction *action_Save_File;
    QAction *action_Print;
    QAction *action_Exit;
    QAction *action_Time_Dom_Analysis;
    QAction *action_Choose_Local_Language;
    QAction *actionEnglish;
    QAction *action_Wavelet_Analysis;
    QAction *action_STFT_Analysis;
    QAction *action_HHT_Analysis;
    QAction *action_LVM_Analysis;
    QAction *action_Import_WFDB_Database;
    QAction *action_Export_Data;
    QAction *action_Set_Decompose_Level;
    QAction *action_Decompose;
    QAction *action_Undo_decompose;
    QAction *action_Enable_Magnetic_Cursor;
    QAction *action_Multi_windows_dynamical_Selection;
    QAction *action_Trim_Signals_at_Begin;
    QAction *action_Bond_Signals;
    QAction *action_Fast_Fourier_Transform;
    QAction *action_Power_Spectral_Density;
    QAction *actionContents;
    QAction *actionAbout;
    QWidget *centralWidget;
    QWidget *layoutWidget;
    QVBoxLayout *mainLayout;
    QGridLayout *workspaceLayout;
    QHBoxLayout *bottomLayout;
    QComboBox *comboBox;
    QComboBox *comboBox_2;
    QComboBox *comboBox_3;
    QMenuBar *menuBar;
    QMenu *menuFile;
    QMenu *menuTools;
    QMenu *menuOption;
    QMenu *menu_Time_Freq_Dom_Analysis;
    QMenu *menuDecompose_to_single_level;
    QMenu *menu_Frequency_Dom_Analysis;
    QMenu *menuHelp;
    QToolBar *mainToolBar;
    QStatusBar *statusBar;

    void setupUi(QMainWindow *MainWindow)
    {
        if (MainWindow->objectName().isEmpty())
            MainWindow->setObjectName("MainWindow");
        MainWindow->resize(1280, 800);
        QSizePolicy sizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        sizePolicy.setHorizontalStretch(0);
        sizePolicy.setVerticalStretch(0);
        sizePolicy.setHeightForWidth(MainWindow->sizePolicy().hasHeightForWidth());
        MainWindow->setSizePolicy(sizePolicy);
        MainWindow->setMouseTracking(true);
        MainWindow->setAcceptDrops(true);
        MainWindow->setAutoFillBackground(true);

        action_Open_File = new QAction(MainWindow);
        action_Open_File->setObjectName("action_Open_File");
        action_Open_File->setEnabled(false);
        QIcon icon;
        icon.addFile(QString::fromUtf8(":/images/open.png"), QSize(), QIcon::Normal, QIcon::Off);
        action_Open_File->setIcon(icon);
        action_Save_File = new QAction(MainWindow);
        action_Save_File->setObjectName("action_Save_File");
        QIcon icon1;
        icon1.addFile(QString::fromUtf8(":/images/save.png"), QSize(), QIcon::Normal, QIcon::Off);
        action_Save_File->setIcon(icon1);
        action_Print = new QAction(MainWindow);
        action_Print->setObjectName("action_Print");
        QIcon icon2;
        icon2.addFile(QString::fromUtf8(":/images/print.png"), QSize(), QIcon::Normal, QIcon::Off);
        action_Print->setIcon(icon2);
        action_Exit = new QAction(MainWindow);
        action_Exit->setObjectName("action_Exit");
        QIcon icon3;
        icon3.addFile(QString::fromUtf8(":/images/exit.png"), QSize(), QIcon::Normal, QIcon::Off);
        action_Exit->setIcon(icon3);
        action_Time_Dom_Analysis = new QAction(MainWindow);
        action_Time_Dom_Analysis->setObjectName("action_Time_Dom_Analysis");
        action_Choose_Local_Language = new QAction(MainWindow);
        action_Choose_Local_Language->setObjectName("action_Choose_Local_Language");
        action_Choose_Local_Language->setCheckable(true);
        actionEnglish = new QAction(MainWindow);
        actionEnglish->setObjectName("actionEnglish");
        action_Wavelet_Analysis = new QAction(MainWindow);
        action_Wavelet_Analysis->setObjectName("action_Wavelet_Analysis");
        action_STFT_Analysis = new QAction(MainWindow);
        action_STFT_Analysis->setObjectName("action_STFT_Analysis");
        action_HHT_Analysis = new QAction(MainWindow);
        action_HHT_Analysis->setObjectName("action_HHT_Analysis");
        action_LVM_Analysis = new QAction(MainWindow);
        action_LVM_Analysis->setObjectName("action_LVM_Analysis");
        action_Import_WFDB_Database = new QAction(MainWindow);
        action_Import_WFDB_Database->setObjectName("action_Import_WFDB_Database");
        action_Import_WFDB_Database->setEnabled(false);
        action_Export_Data = new QAction(MainWindow);
        action_Export_Data->setObjectName("action_Export_Data");
        action_Export_Data->setEnabled(false);
        action_Set_Decompose_Level = new QAction(MainWindow);
        action_Set_Decompose_Level->setObjectName("action_Set_Decompose_Level");
        action_Decompose = new QAction(MainWindow);
        action_Decompose->setObjectName("action_Decompose");
        action_Undo_decompose = new QAction(MainWindow);
        action_Undo_decompose->setObjectName("action_Undo_decompose");
        action_Enable_Magnetic_Cursor = new QAction(MainWindow);
        action_Enable_Magnetic_Cursor->setObjectName("action_Enable_Magnetic_Cursor");
        action_Enable_Magnetic_Cursor->setCheckable(true);
        action_Multi_windows_dynamical_Selection = new QAction(MainWindow);
        action_Multi_windows_dynamical_Selection->setObjectName("action_Multi_windows_dynamical_Selection");
        action_Multi_windows_dynamical_Selection->setCheckable(true);
        action_Trim_Signals_at_Begin = new QAction(MainWindow);
        action_Trim_Signals_at_Begin->setObjectName("action_Trim_Signals_at_Begin");
        action_Trim_Signals_at_Begin->setCheckable(true);
        action_Bond_Signals = new QAction(MainWindow);
        action_Bond_Signals->setObjectName("action_Bond_Signals");
        action_Bond_Signals->setCheckable(true);
        action_Fast_Fourier_Transform = new QAction(MainWindow);
        action_Fast_Fourier_Transform->setObjectName("action_Fast_Fourier_Transform");
        action_Power_Spectral_Density = new QAction(MainWindow);
        action_Power_Spectral_Density->setObjectName("action_Power_Spectral_Density");
        actionContents = new QAction(MainWindow);
        actionContents->setObjectName("actionContents");
        actionAbout = new QAction(MainWindow);
        actionAbout->setObjectName("actionAbout");

        centralWidget = new QWidget(MainWindow);
        centralWidget->setObjectName("centralWidget");
        // The work area keeps its size: centralWidget has no layout.
        layoutWidget = new QWidget(centralWidget);
        layoutWidget->setObjectName("layoutWidget");
        layoutWidget->setGeometry(QRect(0, 0, 1281, 681));
        mainLayout = new QVBoxLayout(layoutWidget);
        mainLayout->setSpacing(6);
        mainLayout->setContentsMargins(11, 11, 11, 11);
        mainLayout->setObjectName("mainLayout");
        mainLayout->setSizeConstraint(QLayout::SetDefaultConstraint);
        mainLayout->setContentsMargins(0, 0, 0, 0);
        workspaceLayout = new QGridLayout();
        workspaceLayout->setSpacing(6);
        workspaceLayout->setObjectName("workspaceLayout");
        workspaceLayout->setSizeConstraint(QLayout::SetMinAndMaxSize);

        mainLayout->addLayout(workspaceLayout);

        bottomLayout = new QHBoxLayout();
        bottomLayout->setSpacing(6);
        bottomLayout->setObjectName("bottomLayout");
        bottomLayout->setSizeConstraint(QLayout::SetMinAndMaxSize);
        comboBox = new QComboBox(layoutWidget);
        comboBox->setObjectName("comboBox");

        bottomLayout->addWidget(comboBox);

        comboBox_2 = new QComboBox(layoutWidget);
        comboBox_2->setObjectName("comboBox_2");
        QSizePolicy sizePolicy1(QSizePolicy::Preferred, QSizePolicy::Fixed);
        sizePolicy1.setHorizontalStretch(0);
        sizePolicy1.setVerticalStretch(0);
        sizePolicy1.setHeightForWidth(comboBox_2->sizePolicy().hasHeightForWidth());
        comboBox_2->setSizePolicy(sizePolicy1);

        bottomLayout->addWidget(comboBox_2);

        comboBox_3 = new QComboBox(layoutWidget);
        comboBox_3->setObjectName("comboBox_3");

        bottomLayout->addWidget(comboBox_3);

        mainLayout->addLayout(bottomLayout);

        MainWindow->setCentralWidget(centralWidget);
        menuBar = new QMenuBar(MainWindow);
        menuBar->setObjectName("menuBar");
        menuBar->setGeometry(QRect(0, 0, 1280, 21));
        menuFile = new QMenu(menuBar);
        menuFile->setObjectName("menuFile");
        menuTools = new QMenu(menuBar);
        menuTools->setObjectName("menuTools");
        menuOption = new QMenu(menuTools);
        menuOption->setObjectName("menuOption");
        menu_Time_Freq_Dom_Analysis = new QMenu(menuTools);
        menu_Time_Freq_Dom_Analysis->setObjectName("menu_Time_Freq_Dom_Analysis");
        menuDecompose_to_single_level = new QMenu(menuTools);
        menuDecompose_to_single_level->setObjectName("menuDecompose_to_single_level");
        menu_Frequency_Dom_Analysis = new QMenu(menuTools);
        menu_Frequency_Dom_Analysis->setObjectName("menu_Frequency_Dom_Analysis");
        menuHelp = new QMenu(menuBar);
        menuHelp->setObjectName("menuHelp");
        MainWindow->setMenuBar(menuBar);
        mainToolBar = new QToolBar(MainWindow);
        mainToolBar->setObjectName("mainToolBar");
        MainWindow->addToolBar(Qt::TopToolBarArea, mainToolBar);
        statusBar = new QStatusBar(MainWindow);
        statusBar->setObjectName("statusBar");
        MainWindow->setStatusBar(statusBar);

        menuBar->addAction(menuFile->menuAction());
        menuBar->addAction(menuTools->menuAction());
        menuBar->addAction(menuHelp->menuAction());
        menuFile->addAction(action_Open_File);
        menuFile->addAction(action_Save_File);
        menuFile->addSeparator();
        menuFile->addAction(action_Print);
        menuFile->addSeparator();
        menuFile->addAction(action_Exit);
        menuFile->addSeparator();
        menuTools->addAction(action_Time_Dom_Analysis);
        menuTools->addAction(menu_Frequency_Dom_Analysis->menuAction());
        menuTools->addAction(menu_Time_Freq_Dom_Analysis->menuAction());
        menuTools->addSeparator();
        menuTools->addAction(action_Import_WFDB_Database);
        menuTools->addAction(action_Export_Data);
        menuTools->addSeparator();
        menuTools->addAction(menuDecompose_to_single_level->menuAction());
        menuTools->addSeparator();
        menuTools->addAction(menuOption->menuAction());
        menuTools->addSeparator();
        menuOption->addSeparator();
        menuOption->addAction(action_Enable_Magnetic_Cursor);
        menuOption->addAction(action_Multi_windows_dynamical_Selection);
        menuOption->addAction(action_Trim_Signals_at_Begin);
        menuOption->addAction(action_Bond_Signals);
        menuOption->addSeparator();
        menuOption->addAction(action_Choose_Local_Language);
        menuOption->addSeparator();
        menu_Time_Freq_Dom_Analysis->addAction(action_Wavelet_Analysis);
        menu_Time_Freq_Dom_Analysis->addAction(action_STFT_Analysis);
        menu_Time_Freq_Dom_Analysis->addSeparator();
        menuDecompose_to_single_level->addAction(action_Set_Decompose_Level);
        menuDecompose_to_single_level->addAction(action_Decompose);
        menuDecompose_to_single_level->addAction(action_Undo_decompose);
        menu_Frequency_Dom_Analysis->addAction(action_Fast_Fourier_Transform);
        menu_Frequency_Dom_Analysis->addAction(action_Power_Spectral_Density);
        menuHelp->addAction(actionContents);
        menuHelp->addAction(actionAbout);
        mainToolBar->addAction(action_Open_File);
        mainToolBar->addAction(action_Save_File);
        mainToolBar->addAction(action_Print);
        mainToolBar->addAction(action_Exit);

        retranslateUi(MainWindow);

        QMetaObject::connectSlotsByName(MainWindow);
    } // setupUi

    void retranslateUi(QMainWindow *MainWindow)
    {
        MainWindow->setWindowTitle(QCoreApplication::translate("MainWindow", "QuelmoraDemo", nullptr));
        action_Open_File->setText(QCoreApplication::translate("MainWindow", "&Open File", nullptr));
#if QT_CONFIG(shortcut)
        action_Open_File->setShortcut(QCoreApplication::translate("MainWindow", "Alt+O", nullptr));
#endif // QT_CONFIG(shortcut)
        action_Save_File->setText(QCoreApplication::translate("MainWindow", "&Save File", nullptr));
#if QT_CONFIG(shortcut)
        action_Save_File->setShortcut(QCoreApplication::translate("MainWindow", "Alt+S", nullptr));
#endif // QT_CONFIG(shortcut)
        action_Print->setText(QCoreApplication::translate("MainWindow", "&Print", nullptr));
#if QT_CONFIG(shortcut)
        action_Print->setShortcut(QCoreApplication::translate("MainWindow", "Alt+P", nullptr));
#endif // QT_CONFIG(shortcut)
        action_Exit->setText(QCoreApplication::translate("MainWindow", "&Exit", nullptr));
#if QT_CONFIG(shortcut)
        action_Exit->setShortcut(QCoreApplication::translate("MainWindow", "Alt+E", nullptr));
#endif // QT_CONFIG(shortcut)
        action_Time_Dom_Analysis->setText(QCoreApplication::translate("MainWindow", "&Time Dom Analysis", nullptr));
        action_Choose_Local_Language->setText(QCoreApplication::translate("MainWindow", "&Choose Local Language", nullptr));
#if QT_CONFIG(tooltip)
        action_Choose_Local_Language->setToolTip(QCoreApplication::translate("MainWindow", "Chose Local Language", nullptr));
#endif // QT_CONFIG(tooltip)
        actionEnglish->setText(QCoreApplication::translate("MainWindow", "&English", nullptr));
        action_Wavelet_Analysis->setText(QCoreApplication::translate("MainWindow", "&Wavelet Analysis", nullptr));
#if QT_CONFIG(shortcut)
        action_Wavelet_Analysis->setShortcut(QCoreApplication::translate("MainWindow", "Alt+W", nullptr));
#endif // QT_CONFIG(shortcut)
        action_STFT_Analysis->setText(QCoreApplication::translate("MainWindow", "&STFT Analysis", nullptr));
        action_HHT_Analysis->setText(QCoreApplication::translate("MainWindow", "&HHT Analysis", nullptr));
        action_LVM_Analysis->setText(QCoreApplication::translate("MainWindow", "&LVM Analysis", nullptr));
        action_Import_WFDB_Database->setText(QCoreApplication::translate("MainWindow", "&Import WFDB Database", nullptr));
        action_Export_Data->setText(QCoreApplication::translate("MainWindow", "&Export Data", nullptr));
        action_Set_Decompose_Level->setText(QCoreApplication::translate("MainWindow", "&Set Decompose Level", nullptr));
        action_Decompose->setText(QCoreApplication::translate("MainWindow", "&Decompose", nullptr));
        action_Undo_decompose->setText(QCoreApplication::translate("MainWindow", "&Undo Decompose", nullptr));
        action_Enable_Magnetic_Cursor->setText(QCoreApplication::translate("MainWindow", "&Enable Magnetic Cursor", nullptr));
#if QT_CONFIG(shortcut)
        action_Enable_Magnetic_Cursor->setShortcut(QCoreApplication::translate("MainWindow", "Alt+C", nullptr));
#endif // QT_CONFIG(shortcut)
        action_Multi_windows_dynamical_Selection->setText(QCoreApplication::translate("MainWindow", "&Multi-windows dynamical Selection", nullptr));
#if QT_CONFIG(shortcut)
        action_Multi_windows_dynamical_Selection->setShortcut(QCoreApplication::translate("MainWindow", "Alt+M", nullptr));
#endif // QT_CONFIG(shortcut)
        action_Trim_Signals_at_Begin->setText(QCoreApplication::translate("MainWindow", "&Trim Signals at Begin", nullptr));
        action_Bond_Signals->setText(QCoreApplication::translate("MainWindow", "&Bond Signals", nullptr));
#if QT_CONFIG(shortcut)
        action_Bond_Signals->setShortcut(QCoreApplication::translate("MainWindow", "Alt+B", nullptr));
#endif // QT_CONFIG(shortcut)
        action_Fast_Fourier_Transform->setText(QCoreApplication::translate("MainWindow", "&Fast Fourier Transform", nullptr));
        action_Power_Spectral_Density->setText(QCoreApplication::translate("MainWindow", "&Power Spectral Density", nullptr));
        actionContents->setText(QCoreApplication::translate("MainWindow", "Contents", nullptr));
#if QT_CONFIG(shortcut)
        actionContents->setShortcut(QCoreApplication::translate("MainWindow", "F1", nullptr));
#endif // QT_CONFIG(shortcut)
        actionAbout->setText(QCoreApplication::translate("MainWindow", "About", nullptr));
#if QT_CONFIG(tooltip)
        comboBox->setToolTip(QCoreApplication::translate("MainWindow", "Database List", nullptr));
#endif // QT_CONFIG(tooltip)
#if QT_CONFIG(statustip)
        comboBox->setStatusTip(QCoreApplication::translate("MainWindow", "Select a database ", nullptr));
#endif // QT_CONFIG(statustip)
#if QT_CONFIG(tooltip)
        comboBox_2->setToolTip(QCoreApplication::translate("MainWindow", "Record List", nullptr));
#endif // QT_CONFIG(tooltip)
#if QT_CONFIG(statustip)
        comboBox_2->setStatusTip(QCoreApplication::translate("MainWindow", "Select a record", nullptr));
#endif // QT_CONFIG(statustip)
#if QT_CONFIG(tooltip)
        comboBox_3->setToolTip(QCoreApplication::translate("MainWindow", "Data Length of Import Data", nullptr));
#endif // QT_CONFIG(tooltip)
#if QT_CONFIG(statustip)
        comboBox_3->setStatusTip(QCoreApplication::translate("MainWindow", "Select data length for importing", nullptr));
#endif // QT_CONFIG(statustip)
        menuFile->setTitle(QCoreApplication::translate("MainWindow", "File", nullptr));
        menuTools->setTitle(QCoreApplication::translate("MainWindow", "Tools", nullptr));
        menuOption->setTitle(QCoreApplication::translate("MainWindow", "&Options", nullptr));
        menu_Time_Freq_Dom_Analysis->setTitle(QCoreApplication::translate("MainWindow", "&Time Freq Dom Analysis", nullptr));
        menuDecompose_to_single_level->setTitle(QCoreApplication::translate("MainWindow", "&Signal Decompose", nullptr));
        menu_Frequency_Dom_Analysis->setTitle(QCoreApplication::translate("MainWindow", "&Frequency Dom Analysis", nullptr));
        menuHelp->setTitle(QCoreApplication::translate("MainWindow", "Help", nullptr));
    } // retranslateUi

};

namespace Ui {
    class MainWindow: public Ui_MainWindow {};
} // namespace Ui

QT_END_NAMESPACE

#endif // UI_MAINWINDOW_H
