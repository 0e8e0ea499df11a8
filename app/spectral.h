#ifndef SPECTRAL_H
#define SPECTRAL_H

#include <QPointF>
#include <QString>
#include <QVector>

// Frequency-domain computations behind the FFT spectrum and the power
// spectral density. They work on plain curves and arrays so that they can be
// checked without any window; the slots of MainWindow and Plotter only apply
// their results.
namespace spectral {

enum class Status {
    Ok,
    TooShort,          // too few samples for the analysis
    NoSamplingRate,    // time does not increase over the first two points
    OutOfMemory,       // a work buffer or a GSL table could not be allocated
    TransformFailed    // GSL reported an error
};

// Sampling rate 1 / (x1 - x0) of a curve: TooShort below two points,
// NoSamplingRate unless time increases from the first point to the second
// and the rate is a positive number of float range (the analyses hold it as
// a float).
Status samplingRate(const QVector<QPointF>& curve, double& fs);

// GSL's in-place real FFT of n doubles (half-complex result).
Status realTransform(double* data, int n);

// The amplitude entries of the spectrum: the half-complex real FFT of the
// curve's y values, each entry doubled, divided by the count and rectified in
// float precision. Also gives the sampling rate.
Status amplitudeEntries(const QVector<QPointF>& curve, QVector<double>& entries, double& fs);

// First entry plotted: about 0.002 of the entries are skipped.
int spectrumStartIndex(int n, double fs);

// One point per half-complex entry from the start index on, x in Hz.
QVector<QPointF> spectrumCurve(const QVector<double>& entries, double fs);

// amplitudeEntries followed by spectrumCurve.
Status spectrumOfCurve(const QVector<QPointF>& curve, QVector<QPointF>& spectrum);

// The title of a window that shows a spectrum: " Spectrum " appended once.
QString spectrumTitle(const QString& title);

// The window of samples that the power spectrum transforms.
struct PowerWindow {
    int offset;   // first sample used
    int nfft;     // samples used (0: too few samples, nothing computed)
};
PowerWindow powerWindow(int dal);

// Fewest samples the power spectrum works on.
constexpr int MinPowerSamples = 10;

// Power spectrum of dal samples into PS (room for powerWindow(dal).nfft
// doubles): every half-complex entry v becomes 2 v^2 / nfft. PS is left as it
// was unless the result is Ok.
Status powerSpectrum(double* PS, const double* signal, int dal);

// Power spectral density curve of a window's main curve, over all of its
// points: x in Hz, y in the units of the power spectrum.
Status psdCurve(const QVector<QPointF>& curve, QVector<QPointF>& psd);

// The message for a failed analysis (empty for Ok); `context` is the
// translation context of the caller's class.
QString failureText(Status status, const char* context, bool powerSpectralDensity);

// Shows the message box for a failed analysis.
void reportFailure(Status status, const char* context, bool powerSpectralDensity);

// Makes every work-buffer allocation of these computations fail (tests).
void setAllocationFailureForTesting(bool fail);

} // namespace spectral

#endif // SPECTRAL_H
