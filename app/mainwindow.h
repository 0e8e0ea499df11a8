#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QMainWindow>
#include <QMap>
#include <QPointF>
#include <QProgressBar>
#include <QString>
#include <QStringList>
#include <QVector>

#include <algorithm>
#include <cstddef>
#include <functional>

#include "plot/plotter.h"

namespace Ui {
class MainWindow;
}

class QIODevice;
class QPrinter;
class QTextStream;
class QUrl;

// The main window: loads the compiled-in record, lays out the plot windows
// and runs the analyses started from its menus. Its state is public because
// the plot windows read and write it through their back pointer.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Size of the two plot window tables.
    static constexpr int plotterTableSize = 20;
    // A window count held to the tables, for loops over them.
    static int clampToTable(int count) { return std::clamp(count, 0, plotterTableSize); }

    Plotter* plotterList[plotterTableSize];
    Plotter* plotterListMatrix[plotterTableSize];
    int plotterCount;
    int plotterCountRaw;
    int previousPlotterCount;
    int previousPlotterCountMatrix;
    bool isMultiCurve;
    QString yUnit;
    QVector<QPointF> signal[30];
    int analysisType;
    int transformType;
    double deltaFrequency;
    double deltaTime;
    int firstTimeIndex;
    QStringList stftWindow;
    QStringList waveletBase;
    int currentSignalIndex;
    QVector<float> pattern;
    int leftShift;
    bool isSingleWindow;
    bool isMagneticCursor;
    bool isTrimSignalsAtBegin;
    bool isBondSignals;
    bool previousBondSignals;
    int decomposeLevel;
    bool isDecompose;
    // Set when the last spectrum, power spectral density or time-frequency
    // run gave up (with a message) and left the windows as they were, so
    // that its caller can keep the analysis state it had.
    bool analysisFailed;

    // The signal windows that a switch back from one frame shown alone
    // returns to; empty when a later view has replaced theirs.
    QVector<Plotter*> framesBeforeSingle;

    void display_raw_signals(bool multi);
    // Hides every plot window, of both tables, that is not part of `view`:
    // a view shows only its own windows, whatever earlier views left
    // standing. A new view also forgets the frames a switch would return to.
    void hideWindowsOutside(const QVector<Plotter*>& view);
    void FFTSpectrum(QVector<QPointF>& data);
    void wwPS(double* PS, double* signal, int dal);
    void TimeFrequencyAnalysis(QVector<QPointF>& data, int type);
    // The analysis state of a wavelet (type 1) or STFT (type 2) run, then the
    // run on its own copy of `data`; a refused run keeps the state it had.
    void timeFrequencyOfOneSignal(QVector<QPointF> data, int type);
    void wwstft(float* coefficient, float* signal, int nfft, int noverlap, int dal, int windowType);
    void wwistft(double* coefficient, double* signal, int nfft, int noverlap, int dal);
    static size_t process_data(void* buffer, size_t size, size_t nmemb, void* user_p);

    // Reference-trace model of the current signal (no menu runs it):
    // `simulation` holds one entry per sample of the current signal's curve.
    void prediction(double* simulation, int Lmissing);
    void dwnn(QMap<int, QVector<double> > signalMap, double* simulation, int targetIndex, int Lmissing);

    // Loads one signal text file into `out` following the loading rules.
    // Returns 0 on success, 1 for an over-long line, 2 for a file without a
    // valid sample; the message is left to the caller.
    static int readSignalFile(QTextStream& in, QVector<QPointF>& out);

    // The form, for tests and for the analyses that place widgets on it.
    Ui::MainWindow* form() const { return ui; }
    // The wavelet analyses take signals of 1024 samples or more; a shorter
    // one gets a message and false.
    static bool waveletLengthAccepted(qsizetype count);
    // The progress bar of the time-frequency runs, made once and reused.
    QProgressBar* timeFrequencyProgressBar();
    const double* centerFrequencies() const { return CenterFreq; }

    // Saves a picture of the window; on failure warns with the file's name
    // and returns false.
    bool savePicture(const QPixmap& picture, const QString& fileName);
    // Draws a picture of the window on one page of the printer, shrunk to the
    // printable area if larger; returns the rectangle drawn into.
    QRect printPicture(QPrinter* printer);
    // The help page beside the executable.
    static QUrl helpUrl();
    // Replaceable so that tests open no dialog and no browser.
    static std::function<QString(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter)> saveFileNameProvider;
    static std::function<bool(const QUrl& url)> urlOpener;

public slots:
    void on_action_Time_Dom_Analysis_triggered();
    void on_action_Fast_Fourier_Transform_triggered();
    void on_action_Power_Spectral_Density_triggered();
    void on_action_Set_Decompose_Level_triggered();
    void on_action_Decompose_triggered();
    void on_action_Undo_decompose_triggered();
    void on_action_Enable_Magnetic_Cursor_triggered();
    void on_action_Multi_windows_dynamical_Selection_triggered();
    void on_action_Trim_Signals_at_Begin_triggered();
    void on_action_Bond_Signals_triggered();
    void on_action_Wavelet_Analysis_triggered();
    void on_action_STFT_Analysis_triggered();

private slots:
    void on_action_Open_File_triggered();
    void on_action_Save_File_triggered();
    void on_action_Print_triggered();
    void on_action_Exit_triggered();
    void on_action_Import_WFDB_Database_triggered();
    void on_action_Export_Data_triggered();
    void on_action_Choose_Local_Language_triggered();
    void on_actionEnglish_triggered();
    void on_actionContents_triggered();
    void on_actionAbout_triggered();
    void extract_record_list(int);
    void load_display_remotedata(int);

protected:
    void changeEvent(QEvent* e) override;

private:
    // Reads the signal files in order into the Signal table (one channel a
    // file, opened here read-only in text mode). Returns how many signals
    // were loaded, or -1 when a bad file stopped loading with a message.
    int loadSignals(const QVector<QIODevice*>& files);

    Ui::MainWindow* ui;
    QString database_path_1;
    QString database_path_2;
    QString database_path_3;
    bool lang_is_english;
    QVector<double> CenterFrequencyV;
    double* CenterFreq;
    QProgressBar* tfProgressBar;

    friend class MainWindowTestAccess;
};

#endif // MAINWINDOW_H
