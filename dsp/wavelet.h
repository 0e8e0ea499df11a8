#ifndef WAVELET_H
#define WAVELET_H

#include <QWidget>

// Continuous wavelet transform over the eight mother wavelets.
//
// A kernel sampled at scale a has 2 * half + 1 samples, half =
// trunc(3 * a / t); sample i (-half .. half) is stored at index i + half and
// lies at x = i * t / a.
class wavelet : public QWidget
{
    Q_OBJECT

public:
    explicit wavelet(QWidget* parent = nullptr);

    void cwt(float* coifficient, float* sig, int dal, int Fs, int NS, float* Scales, int baseType);
    void getWaveletBase(float* Re, float* Im, float a, int baseType);
    void getWavelet(float* Re, float* Im, float a);
    void convolution(float* sig, float* h, float* yy, float a, int dal);
    double sinc(float x) const;

    int IsSpectrum;
    float t;   // kernel step at scale 1
    double kk; // fourth root of pi, the output normaliser
};

// Vector unit used by the transform's inner loop: 0 baseline (SSE2),
// 1 AVX2 with FMA, 2 AVX-512. The widest one the processor has is chosen on
// first use; every level gives bit-identical results.
int waveletKernelLevel();
// Asks for a level (clamped to what the processor supports) and returns the
// level now in use. Meant for tests and benchmarks.
int setWaveletKernelLevel(int level);

#endif // WAVELET_H
