#ifndef PLOTTER_H
#define PLOTTER_H

#include <QMap>
#include <QPixmap>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QVector>
#include <QWidget>

class QAction;
class QMenu;
class QProgressBar;
class QSlider;
class QStylePainter;
class QToolButton;
class QPainter;
class MainWindow;

// One view of a plot window: x and y ranges with their tick counts, the
// second (correlation) axis and, for images, the block of cells in view.
class PlotSettings
{
public:
    PlotSettings();

    void scroll(int dx, int dy);
    void adjust();
    double spanX() const { return maxX - minX; }
    double spanY() const { return maxY - minY; }
    double spanX2() const { return maxX2 - minX2; }
    double spanY2() const { return maxY2 - minY2; }

    double minX;
    double maxX;
    int numXTicks;
    double minY;
    double maxY;
    int numYTicks;
    double minX2;
    double maxX2;
    double minY2;
    double maxY2;
    QRect draw;

    // Public only so that tests can reach the axis rule directly.
    static void adjustAxis(double& min, double& max, int& numTicks);
};

// The interactive plot window: curves or time-frequency images over a grid,
// with a zoom stack, rubber band, read-outs and the context-menu analyses.
// Its state is public on purpose: the main window drives it directly.
class Plotter : public QWidget
{
    Q_OBJECT

public:
    explicit Plotter(QWidget* parent = nullptr);
    ~Plotter() override;

    void setPlotSettings(const PlotSettings& settings);
    void setCurveData(int id, const QVector<QPointF>& data);
    void setMatrixData(QPoint row_col, float* sc);
    void clearCurve(int id);
    void refreshPixmap();
    void windowTypeSelection();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Current view; a new window already holds one default view.
    PlotSettings& currentSettings() { return zoomStack[curZoom]; }
    const PlotSettings& currentSettings() const { return zoomStack[curZoom]; }
    // The rectangle in which grid, curves and images are drawn.
    QRect plotArea() const;
    bool isImageMode() const { return isImage; }
    int imageColorDepth() const { return colorDepth; }
    int extractedRow() const { return previousId; }
    // Builds (without running) the context menu that a non-left press
    // would open; the caller owns the returned menu (may be null).
    QMenu* buildContextMenu();

    QRect rubberBandRect;
    int MarginLeft;
    int MarginRight;
    int MarginTop;
    int MarginBottom;
    QVector<PlotSettings> zoomStack;
    int curZoom;
    double minxZoom;
    double maxxZoom;
    bool yLabelIsShown;
    bool xLabelIsShown;
    bool titleIsShown;
    bool unitIsShown;
    bool isSecondCurve;
    QString title;
    QString unit;
    QString xLabel;
    QString yLabel;
    QString titleRaw;
    QString unitRaw;
    QString xLabelRaw;
    QString yLabelRaw;
    QString titlePrevious;
    float minX;
    float maxX;
    float minY;
    float maxY;
    bool matrixExtract;
    bool passitive;
    bool isMarkCurve;
    bool isPrediction;
    Plotter* pList0;
    Plotter* pList2;
    Plotter* pList3;

    QAction* action_Time;
    QAction* action_Spectrum;
    QAction* action_Wavelet;
    QAction* action_STFT;
    QAction* action_HHT;
    QAction* action_analytic;
    QAction* action_sum;
    QAction* action_peak;
    QAction* action_maxSelection;
    QAction* action_BuildPattern;
    QAction* action_UndoPattern;
    QAction* action_AutoCorrelation;
    QAction* action_CrossCorrelation;
    QAction* action_UndoCorrelation;
    QMenu* menu_Time_Analysis;
    QMenu* menu_Frequency_Analysis;
    QMenu* menu_Trace_Pattern;
    QMenu* menu_Time_Frequency_Analysis;
    QMenu* menu_Common_Operation;
    QAction* action_TracePattern_Time;
    QAction* action_TracePattern_Amp;
    QAction* action_TracePattern_TimeAmp;
    QAction* action_Denoise;
    QAction* action_AutoDenoise;
    QAction* action_SaveDenoisedData;
    QAction* action_UndoDenoise;
    QAction* action_PowerSpectralDensity;
    QAction* action_Simulation;
    QAction* action_SimulationPrediction;
    QAction* action_UndoSimulation;
    QAction* action_SwitchSingleMultiFrame;
    QAction* action_SwitchSingleMultiCurve;
    QAction* action_getDecomposeLevel;
    QAction* action_searchDecomposeLevel;

    MainWindow* mainw;
    int currentMatrixMapIndex;
    // The image slots: one per mother wavelet or STFT window of a run, or
    // one per signal window of a bonded run.
    static constexpr int imageSlots = 8;
    static bool isImageSlot(int index) { return index >= 0 && index < imageSlots; }
    QMap<int, QVector<float> > matrixMapGroup[imageSlots];
    QSlider* slider;
    QSlider* horizontalSlider;
    bool verticalLineEnable;
    QProgressBar* progressBar;
    QVector<QPointF> scoreList;
    int currentTrace;
    QMap<int, QVector<QPointF> > curveMap;
    bool isManuDenoise;
    float deNoiseDeep;
    QVector<double> signalRaw;
    // How many image slots the last time-frequency run filled (0 = none).
    int imageCount;

public slots:
    void zoomIn();
    void zoomOut();
    void TimeAnalysis();
    void spectrumAnalysis();
    void waveletAnalysis();
    void stftAnalysis();
    void BuildPattern();
    void TracePattern_Time();
    void TracePattern_Amp();
    void TracePattern_TimeAmp();
    void UndoPattern();
    void AutoCorrelation();
    void CrossCorrelation();
    void UndoCorrelation();
    void ManuDenoiseProcess();
    void AutoDenoiseProcess();
    void DenoiseProcess();
    void SaveDenoisedData();
    void UndoDenoise();
    void PowerSpectralDensity();
    void Simulation();
    void SimulationPrediction();
    void UndoSimulation();
    void SwitchSingleMultiFrame();
    void SwitchSingleMultiCurve();
    void getDecomposeLevel();
    void searchDecomposeLevel();
    void setWindowType(int);
    void recalculatePatterTrace(int);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createActions();
    // With the signals bonded, the other windows in use are de-noised in
    // manual mode at this window's depth.
    void denoiseBondedPartners();
    void updateRubberBandRegion();
    void drawGrid(QPainter* painter);
    void drawCurves(QPainter* painter);
    void drawMatrix(QPainter* painter);
    void drawCursorLabel(QStylePainter* painter, QString& label);
    // Image read-out under the pointer (time, frequency, value) and the
    // hovered row handed to pList2; takes the pointer's exact position.
    void readOutImage(const QPointF& posF);

    QToolButton* zoomInButton;
    QToolButton* zoomOutButton;
    bool rubberBandIsShown;
    QPixmap pixmap;
    QString curveLabel;
    QImage cursorLabelImage;
    QPoint curveLabelPos;
    QString cursorValue;
    bool cursorPosIsShown;
    bool enableCursorPosCheck;
    bool signingOff;
    bool isImage;
    int previousId;
    int colorDepth;
    QVector<float> pattern;
    int Lmissing;

    friend class PlotterTestAccess;
};

#endif // PLOTTER_H
