#include "dsp/tools.h"

#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#include <gsl/gsl_errno.h>
#include <gsl/gsl_sort.h>
#include <gsl/gsl_wavelet.h>

#include <linalg.h>

void disableGslAbort()
{
    gsl_set_error_handler_off();
}

namespace {

// Largest exponent the routines accept: 2^30 samples is already far beyond
// any record, and it keeps every length within an int.
constexpr long kMaxExponent = 30;

struct WaveletDeleter {
    void operator()(gsl_wavelet* w) const { gsl_wavelet_free(w); }
};
struct WorkspaceDeleter {
    void operator()(gsl_wavelet_workspace* w) const { gsl_wavelet_workspace_free(w); }
};

template <typename T>
QPointF likeness(const QVector<T>& a, const QVector<T>& b)
{
    const qsizetype n = a.size();
    double sse = 0, sa = 0, saa = 0, sb = 0, sbb = 0, sab = 0;
    double bi = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const double ai = a[i];
        if (i < b.size())
            bi = b[i]; // a shorter b continues with its last value
        const double d = bi - ai;
        sse += d * d;
        sa += ai;
        saa += ai * ai;
        sb += bi;
        sbb += bi * bi;
        sab += ai * bi;
    }
    if (n == 0)
        return QPointF(0, 0);

    const double Saa = saa - sa * sa / n;
    const double Sbb = sbb - sb * sb / n;
    const double Sab = sab - sa * sb / n;

    double x;
    if (Saa > sse)
        x = 1 - sse / Saa;
    else
        x = (sse == 0) ? 1 : 0;

    double y;
    if (Sab > 0 && Saa > 0 && Sbb > 0)
        y = Sab / std::sqrt(Saa * Sbb);
    else
        y = (Saa == 0 && Sbb == 0) ? 1 : 0;
    return QPointF(x, y);
}

// Inverts the n x n matrix held in buf (column-major) with ALGLIB. Returns
// false when ALGLIB finds it singular or refuses it (non-finite entries).
bool alglibInvert(std::vector<double>& buf, int n)
{
    try {
        alglib::real_2d_array m;
        m.setcontent(n, n, buf.data());
        alglib::ae_int_t info = 0;
        alglib::matinvreport rep;
        alglib::rmatrixinverse(m, n, info, rep);
        if (info != 1)
            return false;
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j)
                buf[static_cast<size_t>(i) * n + j] = m[i][j];
        return true;
    } catch (const alglib::ap_error&) {
        return false;
    }
}

void writeMatrix(const QString& name, const alglib::real_2d_array& m, bool byColumns)
{
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return; // the file is a by-product; the result does not depend on it
    QTextStream out(&file);
    const alglib::ae_int_t lines = byColumns ? m.cols() : m.rows();
    const alglib::ae_int_t items = byColumns ? m.rows() : m.cols();
    for (alglib::ae_int_t l = 0; l < lines; ++l) {
        for (alglib::ae_int_t k = 0; k < items; ++k)
            out << (byColumns ? m[k][l] : m[l][k]) << ' ';
        out << '\n';
    }
}

} // namespace

int exponentFor(qsizetype n)
{
    int m = 0;
    while (n > (qsizetype(1) << m)) {
        if (++m > kMaxExponent)
            return -1;
    }
    return m;
}

toolbox::toolbox(QWidget* parent) : QWidget(parent)
{
}

short toolbox::FFT(short dir, long m, double* x, double* y)
{
    if (m < 0 || m > kMaxExponent)
        return 1;

    long n = 1;
    for (long i = 0; i < m; ++i)
        n *= 2;
    const long i2 = n / 2;

    // Bit-reversal permutation.
    long j = 0;
    for (long i = 0; i < n - 1; ++i) {
        if (i < j) {
            std::swap(x[i], x[j]);
            std::swap(y[i], y[j]);
        }
        long k = i2;
        while (k <= j) {
            j -= k;
            k /= 2;
        }
        j += k;
    }

    // Butterflies; the twiddle factor advances by the half-angle recurrence.
    double c1 = -1.0, c2 = 0.0;
    long l2 = 1;
    for (long l = 0; l < m; ++l) {
        const long l1 = l2;
        l2 *= 2;
        double u1 = 1.0, u2 = 0.0;
        for (long jj = 0; jj < l1; ++jj) {
            for (long i = jj; i < n; i += l2) {
                const long i1 = i + l1;
                const double t1 = u1 * x[i1] - u2 * y[i1];
                const double t2 = u1 * y[i1] + u2 * x[i1];
                x[i1] = x[i] - t1;
                y[i1] = y[i] - t2;
                x[i] += t1;
                y[i] += t2;
            }
            const double z = u1 * c1 - u2 * c2;
            u2 = u1 * c2 + u2 * c1;
            u1 = z;
        }
        c2 = std::sqrt((1.0 - c1) / 2.0);
        if (dir == 1)
            c2 = -c2;
        c1 = std::sqrt((1.0 + c1) / 2.0);
    }

    if (dir == 1) {
        for (long i = 0; i < n; ++i) {
            x[i] /= n;
            y[i] /= n;
        }
    }
    return 1;
}

void toolbox::convolution(double* signal, double* h, double* yy, int m)
{
    if (m < 0 || m > kMaxExponent)
        return;
    const int N = static_cast<int>(std::pow(2.0, m));

    std::vector<double> sR(signal, signal + N), sI(N, 0.0);
    std::vector<double> hR(h, h + N), hI(N, 0.0);
    FFT(1, m, sR.data(), sI.data());
    FFT(1, m, hR.data(), hI.data());

    // Component-wise product of the spectra (real by real, imaginary by
    // imaginary): the de-noising search relies on the even, symmetric result.
    for (int k = 0; k < N; ++k) {
        sR[k] *= hR[k];
        sI[k] *= hI[k];
    }
    FFT(-1, m, sR.data(), sI.data());

    const int half = N / 2;
    for (int k = 0; k < half; ++k)
        yy[half + k] = sR[k];
    for (int k = half; k < N; ++k)
        yy[k - half] = sR[k];
}

void toolbox::correlation(double* signal, double* h, double* yy, int m)
{
    if (m < 0 || m > kMaxExponent)
        return;
    const int N = static_cast<int>(std::pow(2.0, m));
    std::vector<double> r(N);
    for (int k = 0; k < N; ++k)
        r[k] = h[N - 1 - k];
    convolution(signal, r.data(), yy, m);
}

void toolbox::denoise(float deNoiseDeep, double* signal, int m)
{
    // The wavelet transform needs at least two samples.
    if (m < 1 || m > kMaxExponent)
        return;

    float d = deNoiseDeep;
    while (std::isfinite(d) && d > 5.0f)
        d = static_cast<float>(d * 0.1);

    const int N = static_cast<int>(std::pow(2.0, m));
    const double keep = N * (1.01 - d);
    long nc;
    if (std::isnan(keep))
        nc = N; // no usable depth: drop nothing
    else if (keep <= 0)
        nc = 0;
    else if (keep >= N)
        nc = N;
    else
        nc = static_cast<long>(keep);

    std::vector<double> s(signal, signal + N);
    std::unique_ptr<gsl_wavelet, WaveletDeleter> w(gsl_wavelet_alloc(gsl_wavelet_daubechies, 4));
    std::unique_ptr<gsl_wavelet_workspace, WorkspaceDeleter> work(gsl_wavelet_workspace_alloc(N));
    if (!w || !work)
        throw std::bad_alloc();

    if (gsl_wavelet_transform_forward(w.get(), s.data(), 1, N, work.get()) != GSL_SUCCESS)
        return;

    std::vector<double> a(N);
    for (int i = 0; i < N; ++i)
        a[i] = std::fabs(s[i]);
    std::vector<size_t> p(N);
    gsl_sort_index(p.data(), a.data(), 1, N);

    for (long i = 0; i + nc < N; ++i)
        s[p[i]] = 0;

    if (gsl_wavelet_transform_inverse(w.get(), s.data(), 1, N, work.get()) != GSL_SUCCESS)
        return;
    std::copy(s.begin(), s.end(), signal);
}

QPointF toolbox::score(QVector<float>& a, QVector<float>& b)
{
    return likeness(a, b);
}

QPointF toolbox::score(QVector<double>& a, QVector<double>& b)
{
    return likeness(a, b);
}

void toolbox::bestScore(QVector<double>& a, QVector<double>& b, QVector<QPointF>& out)
{
    const int D = static_cast<int>(0.01 * a.size());
    QVector<double> ref;
    if (D < b.size())
        ref = b.mid(D);

    QPointF top[4] = {QPointF(0, 0), QPointF(0, 0), QPointF(0, 0), QPointF(0, 0)};
    for (int k = 0; k < 2 * D; ++k) {
        QVector<double> seg = a.mid(k);
        const QPointF s = score(seg, ref);
        const QPointF candidate(k - D, s.x() + s.y());
        // The first entry the candidate beats is replaced; nothing moves down.
        for (QPointF& entry : top) {
            if (candidate.y() > entry.y()) {
                entry = candidate;
                break;
            }
        }
    }

    if (out.size() < 4)
        out.resize(4);
    for (int i = 0; i < 4; ++i)
        out[i] = top[i];
}

void toolbox::transpose(double* inputG, int row, int col)
{
    if (row <= 0 || col <= 0)
        return;
    std::vector<double> W(static_cast<size_t>(row) * col);
    for (int p = 0; p < row; ++p)
        for (int q = 0; q < col; ++q)
            W[static_cast<size_t>(p) * col + q] = inputG[static_cast<size_t>(q) * row + p];
    std::copy(W.begin(), W.end(), inputG);
}

void toolbox::crossProduct(double* inputA, double* inputB, double* outputC, int rowA, int colA, int colB)
{
    if (rowA <= 0 || colB <= 0)
        return;
    std::vector<double> W(static_cast<size_t>(rowA) * colB);
    for (int i = 0; i < colB; ++i) {
        for (int j = 0; j < rowA; ++j) {
            double sum = 0;
            for (int k = 0; k < colA; ++k)
                sum += inputA[static_cast<size_t>(k) * rowA + j] * inputB[static_cast<size_t>(i) * colA + k];
            W[static_cast<size_t>(i) * rowA + j] = sum;
        }
    }
    std::copy(W.begin(), W.end(), outputC);
}

void toolbox::diag(double* inputG, double* outputG, int row, int col)
{
    if (row <= 0 || col <= 0)
        return;
    if (col != 1) {
        const int n = std::min(row, col);
        for (int p = 0; p < n; ++p)
            outputG[p] = inputG[static_cast<size_t>(p) * row + p];
    } else {
        outputG[0] = inputG[0];
        for (int p = 1; p < row; ++p)
            outputG[p] = 0;
    }
}

void toolbox::inv(double* inputG, double* outputG, int T)
{
    if (T <= 0)
        return;
    const size_t t = static_cast<size_t>(T);
    // Augmented [G | I], column-major with T rows.
    std::vector<double> a(t * 2 * t, 0.0);
    std::copy(inputG, inputG + t * t, a.begin());
    for (size_t i = 0; i < t; ++i)
        a[(t + i) * t + i] = 1.0;
    auto at = [&](size_t r, size_t c) -> double& { return a[c * t + r]; };

    auto singular = [&]() { std::fill(outputG, outputG + t * t, 0.0); };

    for (size_t i = 0; i < t; ++i) {
        const double pivot = at(i, i);
        if (pivot == 0) {
            singular(); // no pivot search: a zero pivot means no inverse here
            return;
        }
        for (size_t j = 0; j < t; ++j) {
            if (j == i)
                continue;
            const double f = at(j, i) / pivot;
            for (size_t c = 0; c < 2 * t; ++c)
                at(j, c) -= f * at(i, c);
        }
    }
    for (size_t i = 0; i < t; ++i) {
        const double d = at(i, i);
        if (d == 0) {
            singular();
            return;
        }
        for (size_t c = 0; c < 2 * t; ++c)
            at(i, c) /= d;
    }
    std::copy(a.begin() + t * t, a.end(), outputG);
}

void toolbox::pinv(double* A, double* B, int row, int col)
{
    if (row <= 0 || col <= 0)
        return;
    const size_t rc = static_cast<size_t>(row) * col;
    std::vector<double> At(A, A + rc);
    transpose(At.data(), row, col);

    const bool wide = row < col;
    const int n = wide ? row : col;
    const size_t nn = static_cast<size_t>(n) * n;
    std::vector<double> G(nn);
    if (wide)
        crossProduct(A, At.data(), G.data(), row, col, row);
    else
        crossProduct(At.data(), A, G.data(), col, row, col);

    std::vector<double> d(n);
    diag(G.data(), d.data(), n, n);
    double minDiag = 123456789;
    for (int p = 0; p < n; ++p)
        if (d[p] > 0 && d[p] < minDiag)
            minDiag = d[p];
    const double tol = 1e-09 * minDiag;

    // Cholesky factor that drops dependent columns.
    std::vector<double> L(nn, 0.0);
    auto Lr = [&](int i, int c) -> double& { return L[static_cast<size_t>(c) * n + i]; };
    int r = -1;
    for (int k = 0; k < n; ++k) {
        ++r;
        for (int i = k; i < n; ++i) {
            double sum = 0;
            for (int c = 0; c < r; ++c)
                sum += Lr(i, c) * Lr(k, c);
            Lr(i, r) = G[static_cast<size_t>(k) * n + i] - (r > 0 ? sum : 0.0);
        }
        if (Lr(k, r) <= tol) {
            --r;
        } else {
            Lr(k, r) = std::sqrt(Lr(k, r));
            for (int i = k + 1; i < n; ++i)
                Lr(i, r) /= Lr(k, r);
        }
    }
    const int rank = r + 1;
    if (rank == 0) {
        std::fill(B, B + rc, 0.0);
        return;
    }

    // L now means its first `rank` columns (n x rank, contiguous).
    std::vector<double> Lt(L.begin(), L.begin() + static_cast<size_t>(n) * rank);
    transpose(Lt.data(), n, rank);
    std::vector<double> LtL(static_cast<size_t>(rank) * rank), M(static_cast<size_t>(rank) * rank);
    crossProduct(Lt.data(), L.data(), LtL.data(), rank, n, rank);
    inv(LtL.data(), M.data(), rank);

    if (wide) {
        std::vector<double> P(static_cast<size_t>(col) * rank), Q(static_cast<size_t>(col) * rank);
        crossProduct(At.data(), L.data(), P.data(), col, row, rank);
        crossProduct(P.data(), M.data(), Q.data(), col, rank, rank);
        crossProduct(Q.data(), M.data(), P.data(), col, rank, rank);
        crossProduct(P.data(), Lt.data(), B, col, rank, row);
    } else {
        std::vector<double> P(static_cast<size_t>(col) * rank), Q(static_cast<size_t>(col) * rank);
        std::vector<double> S(static_cast<size_t>(col) * col);
        crossProduct(L.data(), M.data(), P.data(), col, rank, rank);
        crossProduct(P.data(), M.data(), Q.data(), col, rank, rank);
        crossProduct(Q.data(), Lt.data(), S.data(), col, rank, col);
        crossProduct(S.data(), At.data(), B, col, col, row);
    }
}

void toolbox::ginv(double* A, double* B, int row, int col)
{
    if (row <= 0 || col <= 0)
        return;
    const size_t rc = static_cast<size_t>(row) * col;
    std::vector<double> At(A, A + rc);
    transpose(At.data(), row, col);

    if (col < row) {
        std::vector<double> M(static_cast<size_t>(col) * col);
        crossProduct(At.data(), A, M.data(), col, row, col);
        if (!alglibInvert(M, col)) {
            std::fill(B, B + rc, 0.0);
            return;
        }
        crossProduct(M.data(), At.data(), B, col, col, row);
    } else {
        std::vector<double> M(static_cast<size_t>(row) * row);
        crossProduct(A, At.data(), M.data(), row, col, row);
        if (!alglibInvert(M, row)) {
            std::fill(B, B + rc, 0.0);
            return;
        }
        crossProduct(M.data(), A, B, row, row, col);
        transpose(B, row, col);
    }
}

void toolbox::algginv(alglib::real_2d_array x, alglib::real_2d_array& ginv)
{
    const alglib::ae_int_t m = x.rows();
    const alglib::ae_int_t n = x.cols();
    if (ginv.rows() != n || ginv.cols() != m)
        ginv.setlength(n, m);
    if (m <= 0 || n <= 0)
        return;

    auto zero = [&]() {
        for (alglib::ae_int_t i = 0; i < n; ++i)
            for (alglib::ae_int_t j = 0; j < m; ++j)
                ginv[i][j] = 0;
    };

    try {
        alglib::ae_int_t info = 0;
        alglib::matinvreport rep;
        if (n < m) {
            alglib::real_2d_array P;
            P.setlength(n, n);
            alglib::rmatrixgemm(n, n, m, 1.0, x, 0, 0, 1, x, 0, 0, 0, 0.0, P, 0, 0);
            alglib::rmatrixinverse(P, n, info, rep);
            if (info != 1) {
                zero();
                return;
            }
            alglib::rmatrixgemm(n, m, n, 1.0, P, 0, 0, 0, x, 0, 0, 1, 0.0, ginv, 0, 0);
        } else {
            alglib::real_2d_array P;
            P.setlength(m, m);
            alglib::rmatrixgemm(m, m, n, 1.0, x, 0, 0, 0, x, 0, 0, 1, 0.0, P, 0, 0);
            writeMatrix("algginv1.txt", P, false);
            alglib::rmatrixinverse(P, m, info, rep);
            if (info != 1) {
                zero();
                return;
            }
            writeMatrix("algginv2.txt", P, false);
            alglib::real_2d_array R;
            R.setlength(m, n);
            alglib::rmatrixgemm(m, n, m, 1.0, P, 0, 0, 0, x, 0, 0, 0, 0.0, R, 0, 0);
            alglib::rmatrixtranspose(m, n, R, 0, 0, ginv, 0, 0);
            writeMatrix("algginv3.txt", ginv, true);
        }
    } catch (const alglib::ap_error&) {
        zero(); // ALGLIB refuses non-finite input
    }
}

void toolbox::WWconvolution(float* signal, float* h, float* yy, int signalLength, int hLength)
{
    if (signalLength <= 0)
        return;
    // The samples are copied before yy is written: yy may be the signal.
    std::vector<float> s(signal, signal + signalLength);
    // Outputs that neither rule below reaches are defined as zero.
    std::fill(yy, yy + signalLength, 0.0f);
    if (hLength <= 0)
        return;

    const int half = (hLength + 1) / 2;
    s.resize(static_cast<size_t>(signalLength) + hLength, 0.0f);

    for (int i = half - 1; i < signalLength; ++i) {
        double sum = 0;
        for (int k = -half; k < half; ++k) {
            const int tap = k + half;
            if (tap >= hLength)
                break; // an odd kernel has no tap at 2 * half - 1
            sum += static_cast<double>(s[std::abs(i - k)]) * h[tap];
        }
        yy[i] = static_cast<float>(sum);
        const int mirror = 2 * half - 2 - i;
        if (mirror >= 0)
            yy[mirror] = static_cast<float>(sum);
    }
}

void toolbox::WWcorrelation(float* signal, float* h, float* yy, int signalLength, int hLength)
{
    if (hLength <= 0) {
        WWconvolution(signal, h, yy, signalLength, hLength);
        return;
    }
    std::vector<float> H(hLength);
    for (int k = 0; k < hLength; ++k)
        H[k] = h[hLength - 1 - k];
    WWconvolution(signal, H.data(), yy, signalLength, hLength);
}
