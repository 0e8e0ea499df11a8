#ifndef WAVELET_H
#define WAVELET_H

#include <QWidget>

// Continuous wavelet transform over the eight mother wavelets.
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
};

#endif // WAVELET_H
