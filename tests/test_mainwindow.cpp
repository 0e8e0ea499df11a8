// Start-up state of the main window, loading of signal files, language.

#include <QtTest>

#include <QBuffer>
#include <QFile>
#include <QTranslator>

#include <memory>
#include <vector>

#include "app/mainwindow.h"
#include "app/ui_mainwindow.h"
#include "app/wfdb.h"
#include "testutil.h"

class MainWindowTestAccess
{
public:
    static Ui::MainWindow* ui(MainWindow& w) { return w.ui; }
    static bool langIsEnglish(MainWindow& w) { return w.lang_is_english; }
    static const QVector<double>& centerFrequencyV(MainWindow& w) { return w.CenterFrequencyV; }
    static const double* centerFreq(MainWindow& w) { return w.CenterFreq; }
    static QString path(MainWindow& w, int k)
    {
        return k == 1 ? w.database_path_1 : k == 2 ? w.database_path_2 : w.database_path_3;
    }
    static QProgressBar* tfBar(MainWindow& w) { return w.tfProgressBar; }
    // True when both combo boxes reach their slots (connections restored).
    static bool comboSlotsConnected(MainWindow& w)
    {
        const bool a = QObject::disconnect(w.ui->comboBox, &QComboBox::activated, &w,
                                           &MainWindow::extract_record_list);
        const bool b = QObject::disconnect(w.ui->comboBox_2, &QComboBox::activated, &w,
                                           &MainWindow::load_display_remotedata);
        QObject::connect(w.ui->comboBox, &QComboBox::activated, &w, &MainWindow::extract_record_list);
        QObject::connect(w.ui->comboBox_2, &QComboBox::activated, &w, &MainWindow::load_display_remotedata);
        return a && b;
    }

    // Runs the loader over in-memory files (a null entry stands for a file
    // that does not open) after emptying the Signal table.
    static int load(MainWindow& w, const QList<QByteArray>& contents, const QList<int>& missing = {})
    {
        for (auto& s : w.signal)
            s.clear();
        std::vector<std::unique_ptr<QIODevice>> owned;
        QVector<QIODevice*> devices;
        for (int i = 0; i < contents.size(); ++i) {
            if (missing.contains(i)) {
                owned.push_back(std::make_unique<QFile>(QStringLiteral("/nonexistent/dir/none.txt")));
            } else {
                auto buffer = std::make_unique<QBuffer>();
                buffer->setData(contents.at(i));
                owned.push_back(std::move(buffer));
            }
            devices << owned.back().get();
        }
        return w.loadSignals(devices);
    }
};

namespace {

// Answers every lookup in the main window's context with a marked text, and
// maps the Save File shortcut to another key.
class MarkingTranslator : public QTranslator
{
public:
    QString translate(const char* context, const char* sourceText, const char* = nullptr,
                      int = -1) const override
    {
        if (QByteArray(context) != "MainWindow")
            return QString();
        if (QByteArray(sourceText) == "Alt+S")
            return QStringLiteral("Ctrl+K");
        return QStringLiteral("T:") + QString::fromUtf8(sourceText);
    }
    bool isEmpty() const override { return false; }
};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindow> w;

    int load(const QList<QByteArray>& files, const QList<int>& missing = {})
    {
        return MainWindowTestAccess::load(*w, files, missing);
    }

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        DialogCloser closer;
        w = std::make_unique<MainWindow>();
        QVERIFY(closer.texts.isEmpty());
    }
    void cleanupTestCase() { w.reset(); }

    // --- construction ---------------------------------------------------

    void countsAndFlags()
    {
        QCOMPARE(w->plotterCount, 8);
        QCOMPARE(w->plotterCountRaw, 8);
        QCOMPARE(w->previousPlotterCount, 8);
        QCOMPARE(w->previousPlotterCountMatrix, 0);
        QCOMPARE(w->isMultiCurve, false);
        QVERIFY(w->yUnit.isEmpty());
        QCOMPARE(w->analysisType, 0);
        QCOMPARE(w->transformType, 1);
        QCOMPARE(w->deltaFrequency, 0.0);
        QCOMPARE(w->deltaTime, 0.0);
        QCOMPARE(w->firstTimeIndex, 0);
        QCOMPARE(w->currentSignalIndex, 0);
        QVERIFY(w->pattern.isEmpty());
        QCOMPARE(w->leftShift, 0);
        QCOMPARE(w->isSingleWindow, false);
        QCOMPARE(w->isMagneticCursor, false);
        QCOMPARE(w->isTrimSignalsAtBegin, true);
        QCOMPARE(w->isBondSignals, true);
        QCOMPARE(w->previousBondSignals, false);
        QCOMPARE(w->decomposeLevel, 80);
        QCOMPARE(w->isDecompose, false);
        QVERIFY(MainWindowTestAccess::langIsEnglish(*w));
        QCOMPARE(MainWindowTestAccess::tfBar(*w), nullptr);
    }

    void nameListsAndCentreFrequencies()
    {
        QCOMPARE(w->stftWindow,
                 QStringList({"square_window", "Bartlett_window", "Hanning_window", " Hamming_window",
                              "Blackman_window", "Gaussian_window"}));
        QCOMPARE(w->waveletBase,
                 QStringList({"Complex Molet ", "Mexican ", "Gaussian ", "Difference of Gaussian", "Haar",
                              "Shanno", "Complex Hermitian", "1th Hermitian"}));
        const QVector<double> expected{0.0966875, 0.0239, 0.02475, 0.02357, 0.05374, 0.09, 0.0241718, 0.0239};
        QCOMPARE(MainWindowTestAccess::centerFrequencyV(*w), expected);
        const double* table = MainWindowTestAccess::centerFreq(*w);
        QCOMPARE(table, MainWindowTestAccess::centerFrequencyV(*w).constData());
        QCOMPARE(w->centerFrequencies(), table);
        QCOMPARE(table[1], table[7]);
    }

    void searchPath()
    {
        QCOMPARE(MainWindowTestAccess::path(*w, 1), QString("."));
        const QString local = MainWindowTestAccess::path(*w, 2);
        QVERIFY(local.startsWith(' ') && local.endsWith(' '));
        QVERIFY(!local.trimmed().contains(' '));
        const QString remote = MainWindowTestAccess::path(*w, 3);
        QVERIFY(remote.contains("://"));
        QVERIFY(!remote.endsWith('/'));
        QCOMPARE(QString::fromLatin1(getwfdb()), QString("." + local + remote));
        QCOMPARE(QString::fromLatin1(getwfdb()).split(' ').size(), 3);
    }

    void plotWindows()
    {
        for (int i = 0; i < 20; ++i) {
            Plotter* p = w->plotterList[i];
            QVERIFY(p);
            QCOMPARE(p->mainw, w.get());
            QCOMPARE(p->passitive, false);
            Plotter* m = w->plotterListMatrix[i];
            QVERIFY(m);
            QCOMPARE(m->mainw, w.get());
            QCOMPARE(m->passitive, true);
            QCOMPARE(m->MarginRight, 34);
            if (i != 1) {
                QCOMPARE(m->pList0, nullptr);
                QCOMPARE(m->pList2, nullptr);
                QCOMPARE(m->pList3, nullptr);
            }
            QVERIFY(m->isHidden());
            QCOMPARE(m->parent(), nullptr);
        }
        for (int i = 0; i < 40; ++i)
            for (int j = i + 1; j < 40; ++j) {
                Plotter* a = i < 20 ? w->plotterList[i] : w->plotterListMatrix[i - 20];
                Plotter* b = j < 20 ? w->plotterList[j] : w->plotterListMatrix[j - 20];
                QVERIFY(a != b);
            }
        Plotter* image = w->plotterListMatrix[1];
        QCOMPARE(image->pList0, w->plotterListMatrix[0]);
        QCOMPARE(image->pList2, w->plotterListMatrix[2]);
        QCOMPARE(image->pList3, w->plotterListMatrix[3]);
        // Signal windows not used by the layout stay unplaced and hidden.
        for (int i = 8; i < 20; ++i) {
            QVERIFY(w->plotterList[i]->isHidden());
            QCOMPARE(w->plotterList[i]->parent(), nullptr);
        }
    }

    void loadedSignalsAndTitles()
    {
        const QStringList names{"ART_mgh038.txt",        "CO2_mgh038.txt",        "CVP_mgh038.txt",
                                "ECG lead I_mgh038.txt", "ECG lead II_mgh038.txt", "ECG lead V_mgh038.txt",
                                "PAP_mgh038.txt",        "Resp. Imp._mgh038.txt"};
        for (int i = 0; i < 8; ++i) {
            const QVector<QPointF>& s = w->signal[i];
            QCOMPARE(s.size(), 16384);
            QCOMPARE(s.first().x(), 0.0);
            QCOMPARE(float(s[1].x()), float(0.00277778));
            QCOMPARE(float(s.last().x()), float(45.5083));
            Plotter* p = w->plotterList[i];
            QCOMPARE(p->title, names[i]);
            QCOMPARE(p->titleRaw, names[i]);
            QCOMPARE(p->titlePrevious, names[i]);
            QVERIFY(p->unit.isEmpty() && p->xLabel.isEmpty() && p->yLabel.isEmpty());
            QVERIFY(p->unitRaw.isEmpty() && p->xLabelRaw.isEmpty() && p->yLabelRaw.isEmpty());
            QVERIFY(p->signalRaw.isEmpty());
            QVERIFY(!p->isHidden());
            QCOMPARE(p->parent(), MainWindowTestAccess::ui(*w)->layoutWidget);
        }
        for (int i = 8; i < 30; ++i)
            QVERIFY(w->signal[i].isEmpty());
    }

    void formStates()
    {
        Ui::MainWindow* ui = MainWindowTestAccess::ui(*w);
        QVERIFY(ui->menu_Time_Freq_Dom_Analysis->isEnabled());
        QVERIFY(ui->menu_Frequency_Dom_Analysis->isEnabled());
        QVERIFY(ui->menuDecompose_to_single_level->isEnabled());
        QVERIFY(ui->menuTools->isEnabled());
        QVERIFY(ui->action_Time_Dom_Analysis->isEnabled());
        QVERIFY(ui->action_Fast_Fourier_Transform->isEnabled());
        QVERIFY(ui->action_Power_Spectral_Density->isEnabled());
        QVERIFY(!ui->action_Open_File->isEnabled());
        QVERIFY(!ui->action_Import_WFDB_Database->isEnabled());
        QVERIFY(!ui->action_Export_Data->isEnabled());

        QVERIFY(!ui->action_Enable_Magnetic_Cursor->isChecked());
        QVERIFY(ui->action_Multi_windows_dynamical_Selection->isChecked());
        QVERIFY(ui->action_Trim_Signals_at_Begin->isChecked());
        QVERIFY(ui->action_Bond_Signals->isChecked());
        QVERIFY(ui->action_Choose_Local_Language->isCheckable());
        QVERIFY(!ui->action_Choose_Local_Language->isChecked());

        QVERIFY(ui->comboBox->isHidden());
        QVERIFY(ui->comboBox_2->isHidden());
        QVERIFY(ui->comboBox_3->isHidden());
        QCOMPARE(ui->comboBox->count(), 0);
        QCOMPARE(ui->comboBox_2->count(), 0);
        QCOMPARE(ui->comboBox_3->count(), 17);
        QStringList items;
        for (int k = 0; k < ui->comboBox_3->count(); ++k)
            items << ui->comboBox_3->itemText(k);
        QCOMPARE(items.first(), QString("1X1024"));
        QCOMPARE(items.at(9), QString("10X1024"));
        QCOMPARE(items.at(15), QString("16X1024"));
        QCOMPARE(items.last(), QString("full length"));
        QCOMPARE(ui->comboBox_3->currentIndex(), 0);
    }

    void comboBoxSlotsConnected()
    {
        QVERIFY(MainWindowTestAccess::comboSlotsConnected(*w));
    }

    // --- the loading rules -----------------------------------------------

    void lineOf200CharactersIsParsed()
    {
        DialogCloser closer;
        QByteArray line = "1" + QByteArray(198, ' ') + "2";
        QCOMPARE(line.size(), 200);
        QCOMPARE(load({line + "\n"}), 1);
        QCOMPARE(w->signal[0], QVector<QPointF>({QPointF(1, 2)}));
        QVERIFY(closer.texts.isEmpty());
    }

    void lineOf201CharactersStopsLoading()
    {
        DialogCloser closer;
        QByteArray line = "1" + QByteArray(199, ' ') + "2";
        QCOMPARE(line.size(), 201);
        QCOMPARE(load({"0 1\n", "0 1\n" + line + "\n0 2\n", "0 3\n"}), -1);
        QCOMPARE(closer.titles, QStringList{"Open file failed"});
        QCOMPARE(closer.texts, QStringList{"Unrecognized file format!"});
        // The file before the bad one stays loaded; the one after is not read.
        QCOMPARE(w->signal[0].size(), 1);
        QVERIFY(w->signal[2].isEmpty());
    }

    void crLfLinesAreParsed()
    {
        DialogCloser closer;
        QCOMPARE(load({"0 1\r\n0.5 -2\r\n"}), 1);
        QCOMPARE(w->signal[0], QVector<QPointF>({QPointF(0, 1), QPointF(0.5, -2)}));
    }

    void emptyOrBlankFileIsWrongFormat_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("blank lines") << QByteArray("\n\n   \n\t\n");
        QTest::newRow("no valid sample") << QByteArray("a b\n1 2 3\n1;2;3\n");
    }
    void emptyOrBlankFileIsWrongFormat()
    {
        QFETCH(QByteArray, content);
        DialogCloser closer;
        QCOMPARE(load({"0 5\n", content, "0 6\n"}), -1);
        QCOMPARE(closer.titles, QStringList{"Open file failed"});
        QCOMPARE(closer.texts, QStringList{"Wrong file format!"});
        QCOMPARE(w->signal[0].size(), 1);
        QVERIFY(w->signal[1].isEmpty());
        QVERIFY(w->signal[2].isEmpty());
    }

    void separatorsAndSkippedLines()
    {
        DialogCloser closer;
        const QByteArray file = "1;2;3\n"       // three parts: skipped
                                "4,,5\n"         // empty part dropped
                                "   6    7   \n" // several blanks
                                "8 abc\n"        // a word: skipped
                                "9;10,5\n"       // split at ';' only: "10,5" is no number
                                "11; 12\n"       // ';' with a blank after it
                                "13\n"           // one part: skipped
                                "14,15\n";
        QCOMPARE(load({file}), 1);
        QCOMPARE(w->signal[0],
                 QVector<QPointF>({QPointF(4, 5), QPointF(6, 7), QPointF(11, 12), QPointF(14, 15)}));
        QVERIFY(closer.texts.isEmpty());
    }

    void validLinesAfterSkippedOnesKeepFileOrder()
    {
        DialogCloser closer;
        QCOMPARE(load({"header line here\n\nx y\n3 30\n1 10\n2 20\n"}), 1);
        QCOMPARE(w->signal[0], QVector<QPointF>({QPointF(3, 30), QPointF(1, 10), QPointF(2, 20)}));
    }

    void readSignalFileStatus()
    {
        QVector<QPointF> out;
        QByteArray ok = "0 1\n";
        QTextStream a(&ok);
        QCOMPARE(MainWindow::readSignalFile(a, out), 0);
        QCOMPARE(out.size(), 1);
        out.clear();
        QByteArray longLine = QByteArray(201, '1') + "\n";
        QTextStream b(&longLine);
        QCOMPARE(MainWindow::readSignalFile(b, out), 1);
        QByteArray none = "\n";
        QTextStream c(&none);
        QCOMPARE(MainWindow::readSignalFile(c, out), 2);
    }

    void fileThatDoesNotOpenUsesUpAttempts()
    {
        DialogCloser closer;
        // File 1 never opens: it is tried again on every remaining attempt,
        // so the names after it are not reached and the loop ends.
        QCOMPARE(load({"0 1\n", "", "0 3\n", "0 4\n"}, {1}), 1);
        QCOMPARE(w->signal[0].size(), 1);
        QVERIFY(w->signal[1].isEmpty());
        QVERIFY(w->signal[2].isEmpty());
        QVERIFY(closer.texts.isEmpty());

        QCOMPARE(load({""}, {0}), 0);
        QCOMPARE(load({}), 0);
    }

    void loadingStopsAtThePlotWindowTable()
    {
        DialogCloser closer;
        QList<QByteArray> files;
        for (int i = 0; i < 40; ++i)
            files << QByteArray::number(i) + " " + QByteArray::number(i) + "\n";
        QCOMPARE(load(files), 20);
        for (int i = 0; i < 20; ++i)
            QCOMPARE(w->signal[i], QVector<QPointF>({QPointF(i, i)}));
        for (int i = 20; i < 30; ++i)
            QVERIFY(w->signal[i].isEmpty());
        QVERIFY(closer.texts.isEmpty());
    }

    // --- language --------------------------------------------------------

    void changeEventRetranslates()
    {
        MainWindow& mw = *w;
        Ui::MainWindow* ui = MainWindowTestAccess::ui(mw);
        MarkingTranslator translator;
        QVERIFY(QCoreApplication::installTranslator(&translator));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCOMPARE(mw.windowTitle(), QString("T:QuelmoraDemo"));
        QCOMPARE(ui->action_Open_File->text(), QString("T:&Open File"));
        QCOMPARE(ui->action_Save_File->shortcut(), QKeySequence("Ctrl+K"));
        QCOMPARE(ui->action_Choose_Local_Language->toolTip(), QString("T:Chose Local Language"));
        QCOMPARE(ui->actionAbout->text(), QString("T:About"));
        QCOMPARE(ui->comboBox->statusTip(), QString("T:Select a database "));
        QCOMPARE(ui->comboBox_3->toolTip(), QString("T:Data Length of Import Data"));
        QCOMPARE(ui->menuFile->title(), QString("T:File"));
        QCOMPARE(ui->menuHelp->title(), QString("T:Help"));
        QCOMPARE(ui->menuOption->title(), QString("T:&Options"));
        // Entries and plot titles keep their own texts.
        QCOMPARE(ui->comboBox_3->itemText(0), QString("1X1024"));
        QCOMPARE(mw.plotterList[0]->title, QString("ART_mgh038.txt"));

        QVERIFY(QCoreApplication::removeTranslator(&translator));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCOMPARE(mw.windowTitle(), QString("QuelmoraDemo"));
        QCOMPARE(ui->action_Save_File->shortcut(), QKeySequence("Alt+S"));
        QCOMPARE(ui->menuFile->title(), QString("File"));
    }

    void otherChangeEventsKeepTexts()
    {
        Ui::MainWindow* ui = MainWindowTestAccess::ui(*w);
        ui->action_Print->setText("changed");
        QEvent e(QEvent::FontChange);
        QCoreApplication::sendEvent(w.get(), &e);
        QCOMPARE(ui->action_Print->text(), QString("changed"));
        QEvent l(QEvent::LanguageChange);
        QCoreApplication::sendEvent(w.get(), &l);
        QCOMPARE(ui->action_Print->text(), QString("&Print"));
    }

    void languageActions()
    {
        MainWindow mw;
        Ui::MainWindow* ui = MainWindowTestAccess::ui(mw);
        QCOMPARE(mw.findChildren<QTranslator*>().size(), 0);

        // English already: nothing happens.
        ui->actionEnglish->trigger();
        QVERIFY(MainWindowTestAccess::langIsEnglish(mw));

        ui->action_Choose_Local_Language->trigger();
        QVERIFY(ui->action_Choose_Local_Language->isChecked());
        QVERIFY(!MainWindowTestAccess::langIsEnglish(mw));
        QCOMPARE(mw.findChildren<QTranslator*>().size(), 1);
        QCOMPARE(mw.windowTitle(), QString("QuelmoraDemo")); // no translation file here

        // A second trigger only toggles the check mark.
        ui->action_Choose_Local_Language->trigger();
        QVERIFY(!ui->action_Choose_Local_Language->isChecked());
        QVERIFY(!MainWindowTestAccess::langIsEnglish(mw));
        QCOMPARE(mw.findChildren<QTranslator*>().size(), 1);

        // Back to English: the flag only; earlier translators stay.
        ui->actionEnglish->trigger();
        QVERIFY(MainWindowTestAccess::langIsEnglish(mw));
        QCOMPARE(mw.findChildren<QTranslator*>().size(), 1);
        ui->action_Choose_Local_Language->trigger();
        QVERIFY(!MainWindowTestAccess::langIsEnglish(mw));
        QCOMPARE(mw.findChildren<QTranslator*>().size(), 2);
    }

    void englishKeepsInstalledTranslation()
    {
        MainWindow mw;
        Ui::MainWindow* ui = MainWindowTestAccess::ui(mw);
        ui->action_Choose_Local_Language->trigger();
        MarkingTranslator translator;
        QCoreApplication::installTranslator(&translator);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCOMPARE(mw.windowTitle(), QString("T:QuelmoraDemo"));
        ui->actionEnglish->trigger();
        QVERIFY(MainWindowTestAccess::langIsEnglish(mw));
        QCOMPARE(mw.windowTitle(), QString("T:QuelmoraDemo"));
        QCoreApplication::removeTranslator(&translator);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    }

    void translationInstalledBeforeConstructionIsUsed()
    {
        MarkingTranslator translator;
        QCoreApplication::installTranslator(&translator);
        {
            MainWindow mw;
            QCOMPARE(mw.windowTitle(), QString("T:QuelmoraDemo"));
            QCOMPARE(MainWindowTestAccess::ui(mw)->menuTools->title(), QString("T:Tools"));
            QVERIFY(MainWindowTestAccess::langIsEnglish(mw));
            // Plot titles are not translated.
            QCOMPARE(mw.plotterList[1]->title, QString("CO2_mgh038.txt"));
        }
        QCoreApplication::removeTranslator(&translator);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
