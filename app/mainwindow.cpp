// Main window construction, loading of the compiled-in record and language.

#include "app/mainwindow.h"
#include "app/ui_mainwindow.h"
#include "app/wfdb.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QLocale>
#include <QMessageBox>
#include <QTextStream>
#include <QTranslator>

#include <memory>
#include <vector>

namespace {

// The channels of record mgh038, compiled in at the resource root, in the
// order in which they are loaded and shown.
const char* const kSignalNames[] = {
    "ART_mgh038.txt",         "CO2_mgh038.txt",        "CVP_mgh038.txt",
    "ECG lead I_mgh038.txt",  "ECG lead II_mgh038.txt", "ECG lead V_mgh038.txt",
    "PAP_mgh038.txt",         "Resp. Imp._mgh038.txt",
};

// Longest sample line accepted, not counting its end.
const int kMaxLineLength = 200;

// Every loaded signal needs a plot window of its own (and an odd count one
// more for the filler), so loading stops when the window table is full;
// the Signal table itself has room for more.
const int kMaxLoadedSignals = 20;

// A signal's title is the file name without any directory part.
QString titleFromName(const QString& name)
{
    const QStringList parts = name.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    return parts.isEmpty() ? QString() : parts.last();
}

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent),
      plotterCount(0),
      plotterCountRaw(0),
      previousPlotterCount(0),
      previousPlotterCountMatrix(0),
      isMultiCurve(false),
      analysisType(0),
      transformType(1),
      deltaFrequency(0),
      deltaTime(0),
      firstTimeIndex(0),
      currentSignalIndex(0),
      leftShift(0),
      isSingleWindow(false),
      isMagneticCursor(false),
      isTrimSignalsAtBegin(true),
      isBondSignals(true),
      previousBondSignals(false),
      decomposeLevel(80),
      isDecompose(false),
      ui(new Ui::MainWindow),
      lang_is_english(true),
      CenterFreq(nullptr),
      tfProgressBar(nullptr)
{
    ui->setupUi(this);

    plotterCount = 0;
    plotterCountRaw = 0;
    previousPlotterCount = 0;
    previousPlotterCountMatrix = 0;

    connect(ui->comboBox, &QComboBox::activated, this, &MainWindow::extract_record_list);
    connect(ui->comboBox_2, &QComboBox::activated, this, &MainWindow::load_display_remotedata);

    for (Plotter*& p : plotterList) {
        p = new Plotter();
        p->passitive = false;
        p->mainw = this;
    }
    for (Plotter*& p : plotterListMatrix) {
        p = new Plotter();
        p->passitive = true;
        p->mainw = this;
        p->MarginRight = 34;
    }
    plotterListMatrix[1]->pList0 = plotterListMatrix[0];
    plotterListMatrix[1]->pList2 = plotterListMatrix[2];
    plotterListMatrix[1]->pList3 = plotterListMatrix[3];

    database_path_1 = QStringLiteral(".");
    database_path_2 = QStringLiteral(" /usr/local/database ");
    database_path_3 = QStringLiteral("https://signal-archive.example.org");
    const QByteArray searchPath = (database_path_1 + database_path_2 + database_path_3).toLatin1();
    setwfdb(searchPath.constData());

    QStringList lengths;
    for (int k = 1; k <= 16; ++k)
        lengths << QString::number(k) + QStringLiteral("X1024");
    lengths << QStringLiteral("full length");
    ui->comboBox_3->addItems(lengths);
    ui->comboBox_3->setCurrentIndex(0);

    lang_is_english = true;
    isMultiCurve = false;
    analysisType = 0;
    transformType = 1;

    stftWindow.clear();
    stftWindow << QStringLiteral("square_window") << QStringLiteral("Bartlett_window")
               << QStringLiteral("Hanning_window") << QStringLiteral(" Hamming_window")
               << QStringLiteral("Blackman_window") << QStringLiteral("Gaussian_window");
    waveletBase.clear();
    waveletBase << QStringLiteral("Complex Molet ") << QStringLiteral("Mexican ")
                << QStringLiteral("Gaussian ") << QStringLiteral("Difference of Gaussian")
                << QStringLiteral("Haar") << QStringLiteral("Shanno")
                << QStringLiteral("Complex Hermitian") << QStringLiteral("1th Hermitian");
    currentSignalIndex = 0;

    CenterFrequencyV.clear();
    CenterFrequencyV << 0.0966875 << 0.0239 << 0.02475 << 0.02357 << 0.05374 << 0.09
                     << 0.0241718 << 0.0239;
    CenterFreq = CenterFrequencyV.data();

    const auto enableAnalyses = [this](bool on) {
        ui->menu_Time_Freq_Dom_Analysis->setEnabled(on);
        ui->menu_Frequency_Dom_Analysis->setEnabled(on);
        ui->menuDecompose_to_single_level->setEnabled(on);
        ui->action_Time_Dom_Analysis->setEnabled(on);
        ui->action_Fast_Fourier_Transform->setEnabled(on);
        ui->action_Power_Spectral_Density->setEnabled(on);
    };
    enableAnalyses(plotterCount > 0);

    ui->comboBox->hide();
    ui->comboBox_2->hide();
    ui->comboBox_3->hide();
    ui->action_Export_Data->setEnabled(false);
    leftShift = 0;
    decomposeLevel = 80;
    isDecompose = false;
    analysisFailed = false;

    ui->action_Enable_Magnetic_Cursor->setChecked(false);
    ui->action_Multi_windows_dynamical_Selection->setChecked(true);
    ui->action_Trim_Signals_at_Begin->setChecked(true);
    ui->action_Bond_Signals->setChecked(true);
    ui->action_Choose_Local_Language->setCheckable(true);
    ui->action_Choose_Local_Language->setChecked(false);
    isSingleWindow = !ui->action_Multi_windows_dynamical_Selection->isChecked();
    isMagneticCursor = ui->action_Enable_Magnetic_Cursor->isChecked();
    isBondSignals = ui->action_Bond_Signals->isChecked();
    isTrimSignalsAtBegin = ui->action_Trim_Signals_at_Begin->isChecked();

    QStringList names;
    std::vector<std::unique_ptr<QFile>> files;
    QVector<QIODevice*> devices;
    for (const char* name : kSignalNames) {
        names << QString::fromUtf8(name);
        files.push_back(std::make_unique<QFile>(QLatin1Char(':') + names.last()));
        devices << files.back().get();
    }
    const int loaded = loadSignals(devices);
    if (loaded < 0)
        return; // the message was shown; the work area stays empty

    plotterCount = loaded;
    for (int i = 0; i < plotterCount; ++i) {
        Plotter* p = plotterList[i];
        p->title.clear();
        p->unit.clear();
        p->xLabel.clear();
        p->yLabel.clear();
        p->title = titleFromName(names.at(i));
    }

    plotterCountRaw = plotterCount;
    for (int i = 0; i < plotterCountRaw; ++i) {
        Plotter* p = plotterList[i];
        p->titleRaw.clear();
        p->unitRaw.clear();
        p->xLabelRaw.clear();
        p->yLabelRaw.clear();
        p->titleRaw = p->title;
        p->unitRaw = p->unit;
        p->xLabelRaw = p->xLabel;
        p->yLabelRaw = p->yLabel;
        p->signalRaw.clear();
    }

    currentSignalIndex = 0;
    analysisType = 0;
    display_raw_signals(isMultiCurve);
    enableAnalyses(plotterCount > 0);
}

MainWindow::~MainWindow()
{
    delete ui;
    // Windows placed in the grid die with the work area; the ones never
    // placed have no parent and would otherwise outlive the main window.
    for (Plotter* p : plotterList)
        if (!p->parent())
            delete p;
    for (Plotter* p : plotterListMatrix)
        if (!p->parent())
            delete p;
}

int MainWindow::readSignalFile(QTextStream& in, QVector<QPointF>& out)
{
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.size() > kMaxLineLength)
            return 1;

        QStringList parts;
        if (line.contains(QLatin1Char(';')))
            parts = line.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        else if (line.contains(QLatin1Char(',')))
            parts = line.split(QLatin1Char(','), Qt::SkipEmptyParts);
        else
            parts = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (parts.size() != 2)
            continue;

        bool okT = false;
        bool okV = false;
        const double t = parts.at(0).toDouble(&okT);
        const double v = parts.at(1).toDouble(&okV);
        if (okT && okV)
            out.append(QPointF(t, v));
    }
    return out.isEmpty() ? 2 : 0;
}

int MainWindow::loadSignals(const QVector<QIODevice*>& files)
{
    int attempts = 0;
    int loaded = 0;
    // Every attempt counts, also one whose file does not open, so a file that
    // never opens uses up the remaining attempts instead of looping.
    while (attempts < files.size() && loaded < kMaxLoadedSignals) {
        QIODevice* file = files.at(loaded);
        if (!file || !file->open(QIODevice::ReadOnly | QIODevice::Text)) {
            ++attempts;
            continue;
        }

        QTextStream in(file);
        const int status = readSignalFile(in, signal[loaded]);
        file->close();
        if (status == 1) {
            QMessageBox::information(nullptr, tr("Open file failed"), tr("Unrecognized file format!"));
            return -1;
        }
        if (status == 2) {
            QMessageBox::information(nullptr, tr("Open file failed"), tr("Wrong file format!"));
            return -1;
        }
        ++loaded;
        ++attempts;
    }
    return loaded;
}

void MainWindow::changeEvent(QEvent* e)
{
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}

void MainWindow::on_action_Choose_Local_Language_triggered()
{
    if (!lang_is_english)
        return;
    // Parented to the window, so it stays installed while the window lives.
    auto* translator = new QTranslator(this);
    (void)translator->load(QStringLiteral("quelmora_") + QLocale::system().name());
    QCoreApplication::installTranslator(translator);
    lang_is_english = false;
    ui->retranslateUi(this);
}

void MainWindow::on_actionEnglish_triggered()
{
    if (lang_is_english)
        return;
    // Translators installed earlier keep answering; only the flag changes.
    lang_is_english = true;
    ui->retranslateUi(this);
}

// Opening files and importing records are not offered (their actions stay
// disabled); the combo boxes of the import are never shown.
void MainWindow::on_action_Open_File_triggered() {}
void MainWindow::on_action_Import_WFDB_Database_triggered() {}
void MainWindow::on_action_Export_Data_triggered() {}
void MainWindow::extract_record_list(int) {}
void MainWindow::load_display_remotedata(int) {}
