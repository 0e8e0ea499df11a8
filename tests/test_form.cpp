// The main window's form: objects, names, texts, menus, tool bar, geometry.

#include <QtTest>

#include <cstddef>
#include <memory>

#include "app/mainwindow.h"
#include "app/ui_mainwindow.h"
#include "testutil.h"

class MainWindowTestAccess
{
public:
    static Ui::MainWindow* ui(MainWindow& w) { return w.ui; }
};

namespace {

struct ActionEntry
{
    const char* name;
    const char* text;
    const char* shortcut;
};

// All actions in member order with their texts and shortcuts.
const ActionEntry kActions[] = {
    {"action_Open_File", "&Open File", "Alt+O"},
    {"action_Save_File", "&Save File", "Alt+S"},
    {"action_Print", "&Print", "Alt+P"},
    {"action_Exit", "&Exit", "Alt+E"},
    {"action_Time_Dom_Analysis", "&Time Dom Analysis", ""},
    {"action_Choose_Local_Language", "&Choose Local Language", ""},
    {"actionEnglish", "&English", ""},
    {"action_Wavelet_Analysis", "&Wavelet Analysis", "Alt+W"},
    {"action_STFT_Analysis", "&STFT Analysis", ""},
    {"action_HHT_Analysis", "&HHT Analysis", ""},
    {"action_LVM_Analysis", "&LVM Analysis", ""},
    {"action_Import_WFDB_Database", "&Import WFDB Database", ""},
    {"action_Export_Data", "&Export Data", ""},
    {"action_Set_Decompose_Level", "&Set Decompose Level", ""},
    {"action_Decompose", "&Decompose", ""},
    {"action_Undo_decompose", "&Undo Decompose", ""},
    {"action_Enable_Magnetic_Cursor", "&Enable Magnetic Cursor", "Alt+C"},
    {"action_Multi_windows_dynamical_Selection", "&Multi-windows dynamical Selection", "Alt+M"},
    {"action_Trim_Signals_at_Begin", "&Trim Signals at Begin", ""},
    {"action_Bond_Signals", "&Bond Signals", "Alt+B"},
    {"action_Fast_Fourier_Transform", "&Fast Fourier Transform", ""},
    {"action_Power_Spectral_Density", "&Power Spectral Density", ""},
    {"actionContents", "Contents", "F1"},
    {"actionAbout", "About", ""},
};

// A menu's entries: action object names, "|" for a separator and
// "menu:<name>" for a submenu.
QStringList entries(const QWidget* menuOrBar)
{
    QStringList out;
    const auto actions = menuOrBar->actions();
    for (QAction* a : actions) {
        if (a->isSeparator())
            out << "|";
        else if (a->menu())
            out << "menu:" + a->menu()->objectName();
        else
            out << a->objectName();
    }
    return out;
}

} // namespace

class TestForm : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindow> w;
    Ui::MainWindow* ui = nullptr;

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        DialogCloser closer;
        w = std::make_unique<MainWindow>();
        ui = MainWindowTestAccess::ui(*w);
    }
    void cleanupTestCase() { w.reset(); }

    void memberOrder()
    {
        const size_t p = sizeof(void*);
        QCOMPARE(offsetof(Ui_MainWindow, action_Open_File), size_t(0));
        QCOMPARE(offsetof(Ui_MainWindow, action_Bond_Signals), 19 * p);
        QCOMPARE(offsetof(Ui_MainWindow, actionAbout), 23 * p);
        QCOMPARE(offsetof(Ui_MainWindow, centralWidget), 24 * p);
        QCOMPARE(offsetof(Ui_MainWindow, bottomLayout), 28 * p);
        QCOMPARE(offsetof(Ui_MainWindow, comboBox_3), 31 * p);
        QCOMPARE(offsetof(Ui_MainWindow, menuBar), 32 * p);
        QCOMPARE(offsetof(Ui_MainWindow, menuHelp), 39 * p);
        QCOMPARE(offsetof(Ui_MainWindow, statusBar), 41 * p);
        QCOMPARE(sizeof(Ui_MainWindow), 42 * p);
    }

    void windowSettings()
    {
        QCOMPARE(w->objectName(), QString("MainWindow"));
        QCOMPARE(w->size(), QSize(1280, 800));
        QCOMPARE(w->windowTitle(), QString("QuelmoraDemo"));
        QCOMPARE(w->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
        QCOMPARE(w->sizePolicy().verticalPolicy(), QSizePolicy::Expanding);
        QCOMPARE(w->sizePolicy().horizontalStretch(), 0);
        QVERIFY(w->hasMouseTracking());
        QVERIFY(w->acceptDrops());
        QVERIFY(w->autoFillBackground());
        QCOMPARE(w->centralWidget(), ui->centralWidget);
        QCOMPARE(w->menuBar(), ui->menuBar);
        QCOMPARE(w->statusBar(), ui->statusBar);
        QCOMPARE(w->toolBarArea(ui->mainToolBar), Qt::TopToolBarArea);
        QVERIFY(ui->statusBar->currentMessage().isEmpty());
    }

    void actions()
    {
        for (const ActionEntry& entry : kActions) {
            QAction* a = w->findChild<QAction*>(entry.name, Qt::FindDirectChildrenOnly);
            QVERIFY2(a, entry.name);
            QCOMPARE(a->parent(), w.get());
            QCOMPARE(a->text(), QString(entry.text));
            QCOMPARE(a->shortcut(), QKeySequence(QString(entry.shortcut)));
            QVERIFY(a->statusTip().isEmpty());
        }
        QCOMPARE(ui->action_Open_File->objectName(), QString("action_Open_File"));
        QCOMPARE(ui->actionAbout->objectName(), QString("actionAbout"));
        QCOMPARE(ui->action_Choose_Local_Language->toolTip(), QString("Chose Local Language"));

        for (QAction* a : {ui->action_Open_File, ui->action_Save_File, ui->action_Print, ui->action_Exit})
            QVERIFY(!a->icon().isNull());
        QVERIFY(ui->action_Time_Dom_Analysis->icon().isNull());

        for (QAction* a : {ui->action_Choose_Local_Language, ui->action_Enable_Magnetic_Cursor,
                           ui->action_Multi_windows_dynamical_Selection, ui->action_Trim_Signals_at_Begin,
                           ui->action_Bond_Signals})
            QVERIFY(a->isCheckable());
        int checkable = 0;
        for (const ActionEntry& entry : kActions)
            checkable += w->findChild<QAction*>(entry.name)->isCheckable() ? 1 : 0;
        QCOMPARE(checkable, 5);

        QVERIFY(!ui->action_Open_File->isEnabled());
        QVERIFY(!ui->action_Import_WFDB_Database->isEnabled());
        QVERIFY(!ui->action_Export_Data->isEnabled());
    }

    void menus()
    {
        QCOMPARE(entries(ui->menuBar), QStringList({"menu:menuFile", "menu:menuTools", "menu:menuHelp"}));
        QCOMPARE(entries(ui->menuFile), QStringList({"action_Open_File", "action_Save_File", "|", "action_Print",
                                                     "|", "action_Exit", "|"}));
        QCOMPARE(entries(ui->menuTools),
                 QStringList({"action_Time_Dom_Analysis", "menu:menu_Frequency_Dom_Analysis",
                              "menu:menu_Time_Freq_Dom_Analysis", "|", "action_Import_WFDB_Database",
                              "action_Export_Data", "|", "menu:menuDecompose_to_single_level", "|",
                              "menu:menuOption", "|"}));
        QCOMPARE(entries(ui->menuOption),
                 QStringList({"|", "action_Enable_Magnetic_Cursor", "action_Multi_windows_dynamical_Selection",
                              "action_Trim_Signals_at_Begin", "action_Bond_Signals", "|",
                              "action_Choose_Local_Language", "|"}));
        QCOMPARE(entries(ui->menu_Time_Freq_Dom_Analysis),
                 QStringList({"action_Wavelet_Analysis", "action_STFT_Analysis", "|"}));
        QCOMPARE(entries(ui->menuDecompose_to_single_level),
                 QStringList({"action_Set_Decompose_Level", "action_Decompose", "action_Undo_decompose"}));
        QCOMPARE(entries(ui->menu_Frequency_Dom_Analysis),
                 QStringList({"action_Fast_Fourier_Transform", "action_Power_Spectral_Density"}));
        QCOMPARE(entries(ui->menuHelp), QStringList({"actionContents", "actionAbout"}));

        QCOMPARE(ui->menuFile->title(), QString("File"));
        QCOMPARE(ui->menuTools->title(), QString("Tools"));
        QCOMPARE(ui->menuOption->title(), QString("&Options"));
        QCOMPARE(ui->menu_Time_Freq_Dom_Analysis->title(), QString("&Time Freq Dom Analysis"));
        QCOMPARE(ui->menuDecompose_to_single_level->title(), QString("&Signal Decompose"));
        QCOMPARE(ui->menu_Frequency_Dom_Analysis->title(), QString("&Frequency Dom Analysis"));
        QCOMPARE(ui->menuHelp->title(), QString("Help"));

        QCOMPARE(ui->menuFile->parent(), ui->menuBar);
        QCOMPARE(ui->menuTools->parent(), ui->menuBar);
        QCOMPARE(ui->menuHelp->parent(), ui->menuBar);
        for (QMenu* m : {ui->menuOption, ui->menu_Time_Freq_Dom_Analysis, ui->menuDecompose_to_single_level,
                         ui->menu_Frequency_Dom_Analysis})
            QCOMPARE(m->parent(), ui->menuTools);
        QCOMPARE(ui->menuBar->objectName(), QString("menuBar"));
        QVERIFY(ui->menuFile->separatorsCollapsible());

        // Actions reached by no menu or tool bar.
        for (QAction* a : {ui->actionEnglish, ui->action_HHT_Analysis, ui->action_LVM_Analysis})
            QVERIFY(a->associatedObjects().isEmpty());
    }

    void toolBar()
    {
        QCOMPARE(ui->mainToolBar->objectName(), QString("mainToolBar"));
        QCOMPARE(entries(ui->mainToolBar),
                 QStringList({"action_Open_File", "action_Save_File", "action_Print", "action_Exit"}));
        QWidget* open = ui->mainToolBar->widgetForAction(ui->action_Open_File);
        QVERIFY(open);
        QVERIFY(!open->isEnabled());
        QVERIFY(ui->mainToolBar->widgetForAction(ui->action_Exit)->isEnabled());
    }

    void workArea()
    {
        QCOMPARE(ui->centralWidget->objectName(), QString("centralWidget"));
        QCOMPARE(ui->centralWidget->parent(), w.get());
        QCOMPARE(ui->centralWidget->layout(), nullptr);
        QCOMPARE(ui->layoutWidget->objectName(), QString("layoutWidget"));
        QCOMPARE(ui->layoutWidget->parent(), ui->centralWidget);
        QCOMPARE(ui->layoutWidget->geometry(), QRect(0, 0, 1281, 681));
        QCOMPARE(ui->layoutWidget->layout(), ui->mainLayout);

        QCOMPARE(ui->mainLayout->objectName(), QString("mainLayout"));
        QCOMPARE(ui->mainLayout->spacing(), 6);
        QCOMPARE(ui->mainLayout->contentsMargins(), QMargins(0, 0, 0, 0));
        QCOMPARE(ui->mainLayout->sizeConstraint(), QLayout::SetDefaultConstraint);
        QCOMPARE(ui->mainLayout->count(), 2);
        QCOMPARE(ui->mainLayout->itemAt(0)->layout(), ui->workspaceLayout);
        QCOMPARE(ui->mainLayout->itemAt(1)->layout(), ui->bottomLayout);
        QCOMPARE(ui->mainLayout->stretch(0), 0);
        QCOMPARE(ui->mainLayout->stretch(1), 0);

        QCOMPARE(ui->workspaceLayout->objectName(), QString("workspaceLayout"));
        QCOMPARE(ui->workspaceLayout->spacing(), 6);
        QCOMPARE(ui->workspaceLayout->sizeConstraint(), QLayout::SetMinAndMaxSize);
        QCOMPARE(ui->bottomLayout->objectName(), QString("bottomLayout"));
        QCOMPARE(ui->bottomLayout->spacing(), 6);
        QCOMPARE(ui->bottomLayout->sizeConstraint(), QLayout::SetMinAndMaxSize);
    }

    void comboBoxes()
    {
        QCOMPARE(ui->bottomLayout->count(), 3);
        QCOMPARE(ui->bottomLayout->itemAt(0)->widget(), ui->comboBox);
        QCOMPARE(ui->bottomLayout->itemAt(1)->widget(), ui->comboBox_2);
        QCOMPARE(ui->bottomLayout->itemAt(2)->widget(), ui->comboBox_3);
        for (QComboBox* c : {ui->comboBox, ui->comboBox_2, ui->comboBox_3}) {
            QCOMPARE(c->parent(), ui->layoutWidget);
            QVERIFY(c->isHidden());
        }
        QCOMPARE(ui->comboBox->objectName(), QString("comboBox"));
        QCOMPARE(ui->comboBox_2->objectName(), QString("comboBox_2"));
        QCOMPARE(ui->comboBox_3->objectName(), QString("comboBox_3"));
        QCOMPARE(ui->comboBox->toolTip(), QString("Database List"));
        QCOMPARE(ui->comboBox->statusTip(), QString("Select a database "));
        QCOMPARE(ui->comboBox_2->toolTip(), QString("Record List"));
        QCOMPARE(ui->comboBox_2->statusTip(), QString("Select a record"));
        QCOMPARE(ui->comboBox_3->toolTip(), QString("Data Length of Import Data"));
        QCOMPARE(ui->comboBox_3->statusTip(), QString("Select data length for importing"));
        QCOMPARE(ui->comboBox_2->sizePolicy().horizontalPolicy(), QSizePolicy::Preferred);
        QCOMPARE(ui->comboBox_2->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
        QCOMPARE(ui->comboBox->sizePolicy(), QComboBox().sizePolicy());
    }

    void slotOrder()
    {
        const QStringList expected{"on_action_Time_Dom_Analysis_triggered()",
                                   "on_action_Fast_Fourier_Transform_triggered()",
                                   "on_action_Power_Spectral_Density_triggered()",
                                   "on_action_Set_Decompose_Level_triggered()",
                                   "on_action_Decompose_triggered()",
                                   "on_action_Undo_decompose_triggered()",
                                   "on_action_Enable_Magnetic_Cursor_triggered()",
                                   "on_action_Multi_windows_dynamical_Selection_triggered()",
                                   "on_action_Trim_Signals_at_Begin_triggered()",
                                   "on_action_Bond_Signals_triggered()",
                                   "on_action_Wavelet_Analysis_triggered()",
                                   "on_action_STFT_Analysis_triggered()",
                                   "on_action_Open_File_triggered()",
                                   "on_action_Save_File_triggered()",
                                   "on_action_Print_triggered()",
                                   "on_action_Exit_triggered()",
                                   "on_action_Import_WFDB_Database_triggered()",
                                   "on_action_Export_Data_triggered()",
                                   "on_action_Choose_Local_Language_triggered()",
                                   "on_actionEnglish_triggered()",
                                   "on_actionContents_triggered()",
                                   "on_actionAbout_triggered()",
                                   "extract_record_list(int)",
                                   "load_display_remotedata(int)"};
        const QMetaObject& mo = MainWindow::staticMetaObject;
        QStringList found;
        for (int i = mo.methodOffset(); i < mo.methodCount(); ++i)
            if (mo.method(i).methodType() == QMetaMethod::Slot)
                found << QString::fromLatin1(mo.method(i).methodSignature());
        QCOMPARE(found, expected);
    }

    void slotsConnectedByName()
    {
        // The time-domain action reaches its slot through the by-name connection.
        w->analysisType = 3;
        ui->action_Time_Dom_Analysis->trigger();
        QCOMPARE(w->analysisType, 0);
    }

    void workAreaKeepsItsSizeWhenResized()
    {
        DialogCloser closer;
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->resize(1600, 1000);
        QCoreApplication::processEvents();
        QCOMPARE(ui->layoutWidget->geometry(), QRect(0, 0, 1281, 681));
        w->resize(700, 500);
        QCoreApplication::processEvents();
        QCOMPARE(ui->layoutWidget->geometry(), QRect(0, 0, 1281, 681));
        QVERIFY(ui->comboBox->isHidden() && ui->comboBox_2->isHidden() && ui->comboBox_3->isHidden());
        QVERIFY(!ui->comboBox_3->isVisible());
        w->hide();
    }

    void shortcutsReachTheirActions()
    {
        DialogCloser closer;
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QSignalSpy open(ui->action_Open_File, &QAction::triggered);
        QTest::keyClick(w.get(), Qt::Key_O, Qt::AltModifier);
        QCOMPARE(open.count(), 0); // disabled
        const bool cursor = ui->action_Enable_Magnetic_Cursor->isChecked();
        QTest::keyClick(w.get(), Qt::Key_C, Qt::AltModifier);
        QCOMPARE(ui->action_Enable_Magnetic_Cursor->isChecked(), !cursor);
        QTest::keyClick(w.get(), Qt::Key_C, Qt::AltModifier);
        QCOMPARE(ui->action_Enable_Magnetic_Cursor->isChecked(), cursor);
        const bool multi = ui->action_Multi_windows_dynamical_Selection->isChecked();
        QTest::keyClick(w.get(), Qt::Key_M, Qt::AltModifier);
        QCOMPARE(ui->action_Multi_windows_dynamical_Selection->isChecked(), !multi);
        QTest::keyClick(w.get(), Qt::Key_M, Qt::AltModifier);
        QCOMPARE(ui->action_Multi_windows_dynamical_Selection->isChecked(), multi);
        w->hide();
    }

    void formOnPlainWindow()
    {
        // The form is usable on any main window and names an unnamed one.
        QMainWindow plain;
        Ui_MainWindow form;
        form.setupUi(&plain);
        QCOMPARE(plain.objectName(), QString("MainWindow"));
        QCOMPARE(plain.windowTitle(), QString("QuelmoraDemo"));
        QVERIFY(!form.comboBox->isHidden());
        QVERIFY(form.action_Time_Dom_Analysis->isEnabled());
        QVERIFY(!form.action_Bond_Signals->isChecked());
        QMainWindow named;
        named.setObjectName("other");
        Ui_MainWindow form2;
        form2.setupUi(&named);
        QCOMPARE(named.objectName(), QString("other"));
    }
};

QTEST_MAIN(TestForm)
#include "test_form.moc"
