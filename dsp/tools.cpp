#include "dsp/tools.h"

toolbox::toolbox(QWidget* parent) : QWidget(parent) {}
short toolbox::FFT(short, long, double*, double*) { return 1; }
void toolbox::convolution(double*, double*, double*, int) {}
void toolbox::correlation(double*, double*, double*, int) {}
void toolbox::denoise(float, double*, int) {}
QPointF toolbox::score(QVector<float>&, QVector<float>&) { return QPointF(); }
QPointF toolbox::score(QVector<double>&, QVector<double>&) { return QPointF(); }
void toolbox::bestScore(QVector<double>&, QVector<double>&, QVector<QPointF>&) {}
void toolbox::transpose(double*, int, int) {}
void toolbox::crossProduct(double*, double*, double*, int, int, int) {}
void toolbox::diag(double*, double*, int, int) {}
void toolbox::inv(double*, double*, int) {}
void toolbox::pinv(double*, double*, int, int) {}
void toolbox::ginv(double*, double*, int, int) {}
void toolbox::algginv(alglib::real_2d_array, alglib::real_2d_array&) {}
void toolbox::WWconvolution(float*, float*, float*, int, int) {}
void toolbox::WWcorrelation(float*, float*, float*, int, int) {}
