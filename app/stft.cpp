// Short-time Fourier transform and its inverse.

#include "app/mainwindow.h"

#include <gsl/gsl_fft_halfcomplex.h>
#include <gsl/gsl_fft_real.h>

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

namespace {

const double kTwoPi = 6.283185307179586;
const double kFourPi = 12.566370614359172;

// Analysis window of length M by its index in the STFT window list; any
// unknown index falls back to Hamming.
void fillWindow(std::vector<double>& w, int M, int windowType)
{
    std::fill(w.begin(), w.end(), 0.0);
    const double D = M - 1;
    for (int n = 0; n < M; ++n) {
        switch (windowType) {
        case 0:
            w[n] = 1.0;
            break;
        case 1:
            w[n] = n < M / 2 ? 2.0 * n / D : 2.0 - 2.0 * n / D;
            break;
        case 2:
            w[n] = (1.0 - std::cos(kTwoPi * n / D)) / 2.0;
            break;
        case 4:
            w[n] = 0.42 - 0.5 * std::cos(kTwoPi * n / D) + 0.08 * std::cos(kFourPi * n / D);
            break;
        case 5: {
            const double c = D / 2.0 - n;
            w[n] = 1.0 / std::exp(18.0 * c * c / (M * M));
            break;
        }
        default:
            w[n] = 0.54 - 0.46 * std::cos(kTwoPi * n / D);
            break;
        }
    }
}

// Rotates a frame of M values into zero-phase position in an nfft frame:
// the second half first, the first half at the end, zeros between.
void zeroPhase(const double* in, double* out, int M, int nfft)
{
    std::fill(out, out + nfft, 0.0);
    const int half = M / 2;
    for (int i = 0; i < half; ++i) {
        out[i] = in[half + i];
        out[nfft - half + i] = in[i];
    }
}

struct RealFft {
    explicit RealFft(int n)
        : table(gsl_fft_real_wavetable_alloc(n)), work(gsl_fft_real_workspace_alloc(n)) {}
    ~RealFft()
    {
        if (work)
            gsl_fft_real_workspace_free(work);
        if (table)
            gsl_fft_real_wavetable_free(table);
    }
    RealFft(const RealFft&) = delete;
    RealFft& operator=(const RealFft&) = delete;
    gsl_fft_real_wavetable* table;
    gsl_fft_real_workspace* work;
};

} // namespace

void MainWindow::wwstft(float* coefficient, float* signal, int nfft, int noverlap, int dal, int windowType)
{
    const int M = 2 * noverlap;
    // A window must fit the FFT frame; nothing sensible can be computed otherwise.
    if (noverlap < 1 || nfft < M || !coefficient)
        return;
    const int nhop = M - noverlap;
    const int nframes = (dal - noverlap) / nhop + 1;
    if (nframes < 1)
        return;

    std::vector<double> w(M);
    fillWindow(w, M, windowType);
    std::vector<double> wzp(nfft);
    zeroPhase(w.data(), wzp.data(), M, nfft);

    RealFft fft(nfft);
    if (!fft.table || !fft.work)
        throw std::bad_alloc();

    std::vector<double> xframe(M);
    std::vector<double> xzp(nfft);
    int xoff = 0;
    for (int col = 0; col < nframes; ++col) {
        // The last frames reach up to noverlap samples past the input;
        // those read as zeros.
        for (int i = 0; i < M; ++i) {
            const int k = xoff + i;
            xframe[i] = (signal && k >= 0 && k < dal) ? double(signal[k]) : 0.0;
        }
        xoff += nhop;
        zeroPhase(xframe.data(), xzp.data(), M, nfft);
        for (int i = 0; i < nfft; ++i)
            xzp[i] = wzp[i] * xzp[i];
        gsl_fft_real_transform(xzp.data(), 1, nfft, fft.table, fft.work);
        for (int i = 0; i < nfft; ++i) {
            const double v = xzp[i];
            coefficient[i * nframes + col] = v > 0 ? float(v) : float(-v);
        }
    }
}

void MainWindow::wwistft(double* coefficient, double* signal, int nfft, int noverlap, int dal)
{
    const int M = 2 * noverlap;
    if (!signal || dal < 1)
        return;
    std::fill(signal, signal + dal, 0.0);
    if (noverlap < 1 || nfft < M || !coefficient)
        return;
    const int hop = M - noverlap;
    const int nframes = (dal - noverlap) / hop + 1;
    if (nframes < 1)
        return;

    std::vector<double> frame(nfft + 2, 0.0);
    std::vector<double> temp(nfft, 0.0);
    std::vector<double> w(M, 0.0);
    // Large enough for the last frame and the read-back offset whatever the
    // sizes.
    const std::size_t accLen = std::max({2 * std::size_t(dal),
                                         std::size_t(nframes - 1) * hop + nfft,
                                         std::size_t(dal) + noverlap});
    std::vector<double> acc(accLen, 0.0);
    for (int n = 0; n < M; ++n)
        w[n] = 0.54 - 0.46 * std::cos(kTwoPi * n / (M - 1));

    gsl_fft_halfcomplex_wavetable* table = gsl_fft_halfcomplex_wavetable_alloc(nfft);
    gsl_fft_real_workspace* work = gsl_fft_real_workspace_alloc(nfft);
    if (!table || !work) {
        if (table)
            gsl_fft_halfcomplex_wavetable_free(table);
        if (work)
            gsl_fft_real_workspace_free(work);
        throw std::bad_alloc();
    }
    const int No2 = nfft / 2;
    for (int col = 0; col < nframes; ++col) {
        for (int i = 0; i < nfft; ++i)
            frame[i] = coefficient[std::size_t(col) * nfft + i];
        gsl_fft_halfcomplex_inverse(frame.data(), 1, nfft, table, work);
        for (int i = 0; i < No2; ++i)
            temp[i] = frame[nfft - No2 + i];
        for (int i = No2; i < nfft; ++i)
            temp[i] = frame[i - No2];
        for (int i = No2 - M / 2; i < No2 + M / 2; ++i)
            temp[i] = temp[i] / w[i - No2 + M / 2];
        for (int i = 0; i < nfft; ++i)
            acc[std::size_t(col) * hop + i] += temp[i];
    }
    for (int j = 0; j < dal; ++j)
        signal[j] = acc[std::size_t(j) + noverlap] / 2.0;

    gsl_fft_halfcomplex_wavetable_free(table);
    gsl_fft_real_workspace_free(work);
}
