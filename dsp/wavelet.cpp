#include "dsp/wavelet.h"

wavelet::wavelet(QWidget* parent) : QWidget(parent) {}
void wavelet::cwt(float*, float*, int, int, int, float*, int) {}
void wavelet::getWaveletBase(float*, float*, float, int) {}
void wavelet::getWavelet(float*, float*, float) {}
void wavelet::convolution(float*, float*, float*, float, int) {}
double wavelet::sinc(float) const { return 0; }
