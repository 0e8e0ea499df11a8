#ifndef TOOLS_H
#define TOOLS_H

#include <QPointF>
#include <QVector>
#include <QWidget>

#include <ap.h>

// GSL's default error handler aborts the program; the analyses check the
// return codes themselves. Called once at start-up, before any transform.
void disableGslAbort();

// The exponent m of the power-of-two block that holds n samples: the
// smallest m with 2^m not below n, raised from 0 while n > 2^m. Returns -1
// when n needs more than the largest exponent the toolbox takes (30).
int exponentFor(qsizetype n);

// Numeric routines the analyses call: radix-2 FFT, FFT-based convolution and
// correlation, wavelet de-noising, likeness score and matrix routines.
// Matrices are stored column by column: element (i, j) of an r x c matrix is
// at j * r + i.
class toolbox : public QWidget
{
    Q_OBJECT

public:
    explicit toolbox(QWidget* parent = nullptr);

    short FFT(short dir, long m, double* x, double* y);
    void convolution(double* signal, double* h, double* yy, int m);
    void correlation(double* signal, double* h, double* yy, int m);
    void denoise(float deNoiseDeep, double* signal, int m);
    QPointF score(QVector<float>& a, QVector<float>& b);
    QPointF score(QVector<double>& a, QVector<double>& b);
    void bestScore(QVector<double>& a, QVector<double>& b, QVector<QPointF>& out);
    void transpose(double* inputG, int row, int col);
    void crossProduct(double* inputA, double* inputB, double* outputC, int rowA, int colA, int colB);
    void diag(double* inputG, double* outputG, int row, int col);
    void inv(double* inputG, double* outputG, int T);
    void pinv(double* A, double* B, int row, int col);
    void ginv(double* A, double* B, int row, int col);
    void algginv(alglib::real_2d_array x, alglib::real_2d_array& ginv);
    void WWconvolution(float* signal, float* h, float* yy, int signalLength, int hLength);
    void WWcorrelation(float* signal, float* h, float* yy, int signalLength, int hLength);
};

#endif // TOOLS_H
