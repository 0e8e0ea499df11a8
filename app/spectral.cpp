// Frequency-domain computations: amplitude spectrum and power spectrum on
// GSL's real FFT, kept in its half-complex packing (each real and each
// imaginary part is a value of its own).

#include "app/spectral.h"

#include <QCoreApplication>
#include <QMessageBox>

#include <gsl/gsl_errno.h>
#include <gsl/gsl_fft_real.h>

#include <cmath>
#include <limits>
#include <new>
#include <vector>

namespace spectral {

namespace {

bool failAllocations = false;

// Work buffers go through here so that a failed allocation can be provoked
// in tests; a real failure throws std::bad_alloc the same way.
std::vector<double> workBuffer(int n)
{
    if (failAllocations)
        throw std::bad_alloc();
    return std::vector<double>(static_cast<size_t>(n), 0.0);
}

} // namespace

void setAllocationFailureForTesting(bool fail)
{
    failAllocations = fail;
}

Status samplingRate(const QVector<QPointF>& curve, double& fs)
{
    if (curve.size() < 2)
        return Status::TooShort;
    const double rate = 1.0 / (curve[1].x() - curve[0].x());
    // Time must run forward, and the analyses hold the rate in single
    // precision: it has to be a positive float of normal size.
    if (!(rate >= std::numeric_limits<float>::min() && rate <= std::numeric_limits<float>::max()))
        return Status::NoSamplingRate;
    fs = rate;
    return Status::Ok;
}

Status realTransform(double* data, int n)
{
    if (n < 1)
        return Status::TooShort;
    gsl_fft_real_wavetable* wavetable = gsl_fft_real_wavetable_alloc(static_cast<size_t>(n));
    gsl_fft_real_workspace* workspace = gsl_fft_real_workspace_alloc(static_cast<size_t>(n));
    Status status = Status::Ok;
    if (wavetable == nullptr || workspace == nullptr || failAllocations)
        status = Status::OutOfMemory;
    else if (gsl_fft_real_transform(data, 1, static_cast<size_t>(n), wavetable, workspace) != GSL_SUCCESS)
        status = Status::TransformFailed;
    if (wavetable != nullptr)
        gsl_fft_real_wavetable_free(wavetable);
    if (workspace != nullptr)
        gsl_fft_real_workspace_free(workspace);
    return status;
}

Status amplitudeEntries(const QVector<QPointF>& curve, QVector<double>& entries, double& fs)
{
    Status status = samplingRate(curve, fs);
    if (status != Status::Ok)
        return status;
    try {
        const int n = static_cast<int>(curve.size());
        std::vector<double> buffer = workBuffer(n);
        for (int i = 0; i < n; ++i)
            buffer[static_cast<size_t>(i)] = curve[i].y();
        status = realTransform(buffer.data(), n);
        if (status != Status::Ok)
            return status;
        QVector<double> result(n);
        for (int i = 0; i < n; ++i) {
            const double v = buffer[static_cast<size_t>(i)];
            const double scaled = (v + v) / n;
            // The rectified value keeps float precision only.
            result[i] = scaled > 0 ? static_cast<double>(static_cast<float>(scaled))
                                   : static_cast<double>(static_cast<float>(-scaled));
        }
        entries.swap(result);
    } catch (const std::bad_alloc&) {
        return Status::OutOfMemory;
    }
    return Status::Ok;
}

int spectrumStartIndex(int n, double fs)
{
    float fstart = static_cast<float>(0.002 * fs);
    fstart = static_cast<float>(static_cast<float>(n) * fstart / fs);
    if (!(fstart >= 0.0f))
        return 0;
    if (fstart >= static_cast<float>(n))
        return n;
    return static_cast<int>(fstart);
}

QVector<QPointF> spectrumCurve(const QVector<double>& entries, double fs)
{
    const int n = static_cast<int>(entries.size());
    QVector<QPointF> curve;
    if (n < 2)
        return curve;
    const int h = n / 2;
    const float fstop = static_cast<float>(n);
    const int start = spectrumStartIndex(n, fs);
    curve.reserve(n - start);
    for (int k = start; static_cast<float>(k) < fstop && k < n; ++k)
        curve.append(QPointF((k + 1) * fs / (4 * h), entries[k]));
    return curve;
}

Status spectrumOfCurve(const QVector<QPointF>& curve, QVector<QPointF>& spectrum)
{
    QVector<double> entries;
    double fs = 0;
    const Status status = amplitudeEntries(curve, entries, fs);
    if (status != Status::Ok)
        return status;
    try {
        spectrum = spectrumCurve(entries, fs);
    } catch (const std::bad_alloc&) {
        return Status::OutOfMemory;
    }
    return Status::Ok;
}

QString spectrumTitle(const QString& title)
{
    const QString suffix = QStringLiteral(" Spectrum ");
    if (title.contains(suffix, Qt::CaseSensitive))
        return title;
    return title + suffix;
}

PowerWindow powerWindow(int dal)
{
    if (dal < MinPowerSamples)
        return PowerWindow{0, 0};
    const int offset = dal / 10;
    const int stop = dal - offset;
    int nfft = stop - offset + 1;
    if (nfft > 1024)
        nfft = 1024;
    return PowerWindow{offset, nfft};
}

Status powerSpectrum(double* PS, const double* signal, int dal)
{
    const PowerWindow w = powerWindow(dal);
    if (w.nfft == 0)
        return Status::TooShort;
    try {
        std::vector<double> buffer = workBuffer(w.nfft);
        for (int i = 0; i < w.nfft; ++i)
            buffer[static_cast<size_t>(i)] = signal[i + w.offset];
        const Status status = realTransform(buffer.data(), w.nfft);
        if (status != Status::Ok)
            return status;
        // Real and imaginary parts are squared each on their own.
        for (int i = 0; i < w.nfft; ++i) {
            const double v = buffer[static_cast<size_t>(i)];
            PS[i] = (v * v + v * v) / w.nfft;
        }
    } catch (const std::bad_alloc&) {
        return Status::OutOfMemory;
    }
    return Status::Ok;
}

Status psdCurve(const QVector<QPointF>& curve, QVector<QPointF>& psd)
{
    const int n = static_cast<int>(curve.size());
    if (n < MinPowerSamples)
        return Status::TooShort;
    double fs = 0;
    Status status = samplingRate(curve, fs);
    if (status != Status::Ok)
        return status;
    try {
        std::vector<double> samples = workBuffer(n);
        std::vector<double> power = workBuffer(n);
        for (int i = 0; i < n; ++i)
            samples[static_cast<size_t>(i)] = curve[i].y();

        const float f = static_cast<float>(fs * 0.002);
        float hi = static_cast<float>(n - (2 * n) / 10 + 1);
        if (hi > 1024)
            hi = 1024;
        const float loF = static_cast<float>((static_cast<double>(n) * f) / fs);
        // Converted only inside 0..n: beyond it there is nothing to plot
        // (and the conversion would not be defined).
        const int lo = loF >= 0.0f ? (loF < static_cast<float>(n) ? static_cast<int>(loF) : n) : 0;

        status = powerSpectrum(power.data(), samples.data(), n);
        if (status != Status::Ok)
            return status;

        // hi never exceeds the entries that the power spectrum wrote.
        const int written = powerWindow(n).nfft;
        QVector<QPointF> result;
        for (int j = lo; static_cast<float>(j) < hi && j < written; ++j)
            result.append(QPointF(((j + 1) * fs) / (hi + hi), power[static_cast<size_t>(j)]));
        psd.swap(result);
    } catch (const std::bad_alloc&) {
        return Status::OutOfMemory;
    }
    return Status::Ok;
}

QString failureText(Status status, const char* context, bool powerSpectralDensity)
{
    const char* text = nullptr;
    switch (status) {
    case Status::Ok:
        return QString();
    case Status::TooShort:
        text = powerSpectralDensity ? "Data length should >= 10!" : "Data length should >= 2!";
        break;
    case Status::NoSamplingRate:
        text = "The time does not increase from the first to the second sample: no sampling rate!";
        break;
    case Status::OutOfMemory:
        text = "Not enough memory for the analysis!";
        break;
    case Status::TransformFailed:
        text = "The Fourier transform failed!";
        break;
    }
    return QCoreApplication::translate(context, text);
}

void reportFailure(Status status, const char* context, bool powerSpectralDensity)
{
    if (status == Status::Ok)
        return;
    const char* title = powerSpectralDensity ? "Power spectral density failed" : "Spectrum failed";
    QMessageBox::information(nullptr, QCoreApplication::translate(context, title),
                             failureText(status, context, powerSpectralDensity));
}

} // namespace spectral
