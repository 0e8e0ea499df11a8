#include <QtTest>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include <gsl/gsl_errno.h>
#include <gsl/gsl_wavelet.h>

#include "dsp/tools.h"

namespace {

std::vector<double> randomVector(size_t n, unsigned seed)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    std::vector<double> v(n);
    for (double& x : v)
        x = dist(gen);
    return v;
}

void compareVec(const std::vector<double>& got, const std::vector<double>& want, double tol = 1e-12)
{
    QCOMPARE(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        if (std::fabs(got[i] - want[i]) > tol)
            QFAIL(qPrintable(QString("index %1: got %2, want %3").arg(i).arg(got[i], 0, 'g', 17).arg(want[i], 0, 'g', 17)));
    }
}

// Number of wavelet coefficients of the samples that are not (numerically) zero.
int nonZeroCoefficients(std::vector<double> s)
{
    gsl_wavelet* w = gsl_wavelet_alloc(gsl_wavelet_daubechies, 4);
    gsl_wavelet_workspace* work = gsl_wavelet_workspace_alloc(s.size());
    gsl_wavelet_transform_forward(w, s.data(), 1, s.size(), work);
    gsl_wavelet_workspace_free(work);
    gsl_wavelet_free(w);
    int count = 0;
    for (double c : s)
        if (std::fabs(c) > 1e-9)
            ++count;
    return count;
}

} // namespace

class TestToolbox : public QObject
{
    Q_OBJECT

private slots:
    void gslErrorsDoNotAbort()
    {
        toolbox tb;
        // With the default handler this call would abort the test program.
        gsl_wavelet_workspace* work = gsl_wavelet_workspace_alloc(0);
        QVERIFY(work == nullptr);
    }

    void fftKnownValues()
    {
        toolbox tb;
        std::vector<double> x = {1, 2, 3, 4}, y = {0, 0, 0, 0};
        QCOMPARE(int(tb.FFT(1, 2, x.data(), y.data())), 1);
        compareVec(x, {2.5, -0.5, -0.5, -0.5});
        compareVec(y, {0, 0.5, 0, -0.5});

        x = {1, 0, 0, 0};
        y = {0, 0, 0, 0};
        tb.FFT(-1, 2, x.data(), y.data());
        compareVec(x, {1, 1, 1, 1});
        compareVec(y, {0, 0, 0, 0});

        // Any direction other than 1 is the unscaled inverse.
        x = {0, 1, 0, 0};
        y = {0, 0, 0, 0};
        tb.FFT(5, 2, x.data(), y.data());
        compareVec(x, {1, 0, -1, 0});
        compareVec(y, {0, 1, 0, -1});

        double one = 3.5, zero = -2;
        QCOMPARE(int(tb.FFT(1, 0, &one, &zero)), 1);
        QCOMPARE(one, 3.5);
        QCOMPARE(zero, -2.0);
        tb.FFT(-1, 0, &one, &zero);
        QCOMPARE(one, 3.5);
        QCOMPARE(zero, -2.0);
    }

    void fftMatchesDftAndRoundTrips()
    {
        toolbox tb;
        const int m = 6, n = 1 << m;
        const std::vector<double> x0 = randomVector(n, 1), y0 = randomVector(n, 2);
        std::vector<double> x = x0, y = y0;
        tb.FFT(1, m, x.data(), y.data());
        for (int k = 0; k < n; ++k) {
            double re = 0, im = 0;
            for (int t = 0; t < n; ++t) {
                const double ang = -2 * M_PI * k * t / n;
                re += x0[t] * std::cos(ang) - y0[t] * std::sin(ang);
                im += x0[t] * std::sin(ang) + y0[t] * std::cos(ang);
            }
            QVERIFY(std::fabs(x[k] - re / n) < 1e-12);
            QVERIFY(std::fabs(y[k] - im / n) < 1e-12);
        }
        tb.FFT(-1, m, x.data(), y.data());
        compareVec(x, x0, 1e-12);
        compareVec(y, y0, 1e-12);

        // A large transform restores its input too; the recurrence twiddles
        // drift with n (about 4e-11 here), so the bound is looser.
        const int m2 = 14;
        const std::vector<double> big = randomVector(1 << m2, 3);
        std::vector<double> bx = big, by(big.size(), 0.0);
        tb.FFT(1, m2, bx.data(), by.data());
        tb.FFT(-1, m2, bx.data(), by.data());
        compareVec(bx, big, 1e-9);
    }

    void badExponentsTouchNothing()
    {
        toolbox tb;
        std::vector<double> x = {1, 2}, y = {3, 4}, out = {7, 8};
        QCOMPARE(int(tb.FFT(1, -1, x.data(), y.data())), 1);
        QCOMPARE(int(tb.FFT(1, 63, x.data(), y.data())), 1);
        compareVec(x, {1, 2});
        compareVec(y, {3, 4});
        tb.convolution(x.data(), y.data(), out.data(), -3);
        tb.correlation(x.data(), y.data(), out.data(), -1);
        compareVec(out, {7, 8});
        tb.denoise(0.5f, x.data(), -2);
        tb.denoise(0.5f, x.data(), 0); // one sample: no wavelet transform
        compareVec(x, {1, 2});
    }

    void convolutionKnownValues()
    {
        toolbox tb;
        std::vector<double> s = {1, 0, 0, 0}, h = {1, 0, 0, 0}, yy(4);
        tb.convolution(s.data(), h.data(), yy.data(), 2);
        compareVec(yy, {0, 0, 0.25, 0});

        s = {1, 2, 3, 4};
        tb.convolution(s.data(), h.data(), yy.data(), 2);
        compareVec(yy, {0.75, 0.75, 0.25, 0.75});
        compareVec(s, {1, 2, 3, 4});
        compareVec(h, {1, 0, 0, 0});

        // The component-wise product gives 0.125 where a complex one gives 0.25.
        s = {1, 0, 0, 0};
        tb.correlation(s.data(), s.data(), yy.data(), 2);
        compareVec(yy, {0, 0.125, 0, 0.125});
        compareVec(s, {1, 0, 0, 0});

        // The output may be one of the inputs.
        s = {1, 2, 3, 4};
        tb.convolution(s.data(), h.data(), s.data(), 2);
        compareVec(s, {0.75, 0.75, 0.25, 0.75});
    }

    void convolutionOfEvenParts()
    {
        toolbox tb;
        const int m = 5, N = 1 << m;
        const std::vector<double> s = randomVector(N, 4), h = randomVector(N, 5);
        std::vector<double> yy(N), yc(N);
        auto even = [&](const std::vector<double>& v, int k) { return (v[k] + v[(N - k) % N]) / 2; };
        tb.convolution(const_cast<double*>(s.data()), const_cast<double*>(h.data()), yy.data(), m);
        for (int n = 0; n < N; ++n) {
            double want = 0;
            for (int k = 0; k < N; ++k)
                want += even(s, k) * even(h, ((n - k) % N + N) % N);
            QVERIFY(std::fabs(yy[(n + N / 2) % N] - want / N) < 1e-12);
        }
        for (int n = 1; n < N / 2; ++n)
            QVERIFY(std::fabs(yy[N / 2 + n] - yy[N / 2 - n]) < 1e-12);

        // Correlation is the convolution with h reversed, i.e. with h delayed by one.
        std::vector<double> g(N);
        for (int k = 0; k < N; ++k)
            g[k] = h[(k - 1 + N) % N];
        tb.correlation(const_cast<double*>(s.data()), const_cast<double*>(h.data()), yc.data(), m);
        tb.convolution(const_cast<double*>(s.data()), g.data(), yy.data(), m);
        compareVec(yc, yy, 1e-12);
        for (int n = 1; n < N / 2; ++n)
            QVERIFY(std::fabs(yc[N / 2 + n] - yc[N / 2 - n]) < 1e-12);
    }

    void denoiseKeepCounts_data()
    {
        QTest::addColumn<float>("depth");
        QTest::addColumn<int>("m");
        QTest::addColumn<int>("kept");
        QTest::newRow("1.0 of 16384") << 1.0f << 14 << 163;
        QTest::newRow("1.0 of 1024") << 1.0f << 10 << 10;
        QTest::newRow("0.6 of 1024") << 0.6f << 10 << 419;
        QTest::newRow("0.7 of 1024") << 0.7f << 10 << 317;
        QTest::newRow("0.8 of 1024") << 0.8f << 10 << 215;
        QTest::newRow("0.9 of 1024") << 0.9f << 10 << 112;
        QTest::newRow("0.9 of 16384") << 0.9f << 14 << 1802;
        QTest::newRow("1.009 of 1024") << 1.009f << 10 << 1;
        QTest::newRow("80 folds to 0.8") << 80.0f << 10 << 215;
    }

    void denoiseKeepCounts()
    {
        QFETCH(float, depth);
        QFETCH(int, m);
        QFETCH(int, kept);
        toolbox tb;
        std::vector<double> s = randomVector(size_t(1) << m, 6);
        tb.denoise(depth, s.data(), m);
        QCOMPARE(nonZeroCoefficients(s), kept);
    }

    void denoiseDepths()
    {
        toolbox tb;
        const int m = 10, N = 1 << m;
        const std::vector<double> s0 = randomVector(N, 7);

        for (float d : {0.0f, 0.005f, 0.01f, -1.0f, std::numeric_limits<float>::quiet_NaN()}) {
            std::vector<double> s = s0;
            tb.denoise(d, s.data(), m);
            compareVec(s, s0, 1e-12);
        }

        std::vector<double> a = s0, b = s0;
        tb.denoise(80.0f, a.data(), m);
        tb.denoise(0.8f, b.data(), m);
        compareVec(a, b, 0);
        a = s0;
        b = s0;
        tb.denoise(600.0f, a.data(), m);
        tb.denoise(0.6f, b.data(), m);
        compareVec(a, b, 0);

        std::vector<double> zeros(N, 0.0);
        for (float d : {0.0f, 0.5f, 1.0f}) {
            tb.denoise(d, zeros.data(), m);
            compareVec(zeros, std::vector<double>(N, 0.0), 0);
        }
    }

    void denoiseNegativeKeepCountClamps()
    {
        // Depths past 1.01 (also 20, which folds to 2.0) would give a negative
        // keep count: every coefficient goes.
        toolbox tb;
        const int m = 6, N = 1 << m;
        for (float d : {1.5f, 3.0f, 5.0f, 20.0f, std::numeric_limits<float>::infinity()}) {
            std::vector<double> s = randomVector(N, 8);
            tb.denoise(d, s.data(), m);
            compareVec(s, std::vector<double>(N, 0.0), 1e-12);
        }
        // Two samples, the smallest block the transform takes.
        std::vector<double> two = {1.0, 3.0};
        tb.denoise(0.0f, two.data(), 1);
        compareVec(two, {1.0, 3.0}, 1e-12);
    }

    void scoreKnownValues()
    {
        toolbox tb;
        QVector<double> a = {1, 2, 3}, b = {1, 2};
        QPointF s = tb.score(a, b);
        QVERIFY(std::fabs(s.x() - 0.5) < 1e-12);
        QVERIFY(std::fabs(s.y() - 0.866025403784439) < 1e-12);

        QVector<double> rev = {3, 2, 1}, empty;
        QCOMPARE(tb.score(a, rev), QPointF(0, 0));
        QCOMPARE(tb.score(a, empty), QPointF(0, 0));
        QCOMPARE(tb.score(empty, a), QPointF(0, 0));

        QVector<double> z = {0, 0, 0};
        QCOMPARE(tb.score(z, z), QPointF(1, 1));
        QVector<double> fives = {5, 5, 5}, sixes = {6, 6, 6};
        QCOMPARE(tb.score(fives, sixes), QPointF(0, 1));
        QVector<double> lin = {1, 2, 3, 4}, twice = {2, 4, 6, 8};
        QPointF g = tb.score(lin, twice);
        QCOMPARE(g.x(), 0.0);
        QVERIFY(std::fabs(g.y() - 1) < 1e-12);

        // Against itself the score is exactly (1, 1).
        const std::vector<double> r = randomVector(500, 9);
        QVector<double> rv(r.begin(), r.end());
        QCOMPARE(tb.score(rv, rv), QPointF(1, 1));

        // The float overload widens and computes the same.
        QVector<float> fa = {1, 2, 3}, fb = {1, 2};
        QCOMPARE(tb.score(fa, fb), tb.score(a, b));
        QVector<float> fr(rv.begin(), rv.end());
        QCOMPARE(tb.score(fr, fr), QPointF(1, 1));
    }

    void bestScoreShortInput()
    {
        toolbox tb;
        QVector<double> a(99, 1.0), b(99, 2.0);
        QVector<QPointF> out(4, QPointF(9, 9));
        tb.bestScore(a, b, out);
        QCOMPARE(out, QVector<QPointF>(4, QPointF(0, 0)));

        // Too small an output list grows to four entries.
        QVector<QPointF> small;
        tb.bestScore(a, b, small);
        QCOMPARE(small.size(), 4);
        // A longer one keeps its other entries.
        QVector<QPointF> longer(6, QPointF(7, 7));
        tb.bestScore(a, b, longer);
        QCOMPARE(longer[3], QPointF(0, 0));
        QCOMPARE(longer[4], QPointF(7, 7));
    }

    void bestScoreRisingSums()
    {
        toolbox tb;
        QVector<double> a, b;
        for (int i = 0; i < 200; ++i)
            a << std::sin(0.05 * i) + 0.001 * i * i;
        for (int i = 0; i < 200; ++i)
            b << (i + 1 < 200 ? a[i + 1] : a[199]);
        // D = 2: lags -2 .. 1; the match improves up to lag 1 (exact).
        const int D = 2;
        QVector<double> ref = b.mid(D);
        double previous = -1;
        for (int k = 0; k < 2 * D; ++k) {
            QVector<double> seg = a.mid(k);
            const QPointF s = tb.score(seg, ref);
            QVERIFY(s.x() + s.y() > previous);
            previous = s.x() + s.y();
        }
        QVector<QPointF> out(4);
        tb.bestScore(a, b, out);
        QCOMPARE(out[0], QPointF(1, 2));
        QCOMPARE(out[1], QPointF(0, 0));
        QCOMPARE(out[2], QPointF(0, 0));
        QCOMPARE(out[3], QPointF(0, 0));
    }

    void bestScoreReplacementRule()
    {
        toolbox tb;
        QVector<double> a, b;
        std::mt19937 gen(10);
        std::uniform_real_distribution<double> dist(0.0, 1.0);
        for (int i = 0; i < 400; ++i)
            a << std::sin(0.07 * i) + 0.3 * dist(gen);
        for (int i = 0; i < 400; ++i)
            b << std::sin(0.07 * (i + 1)) + 0.3 * dist(gen);
        const int D = 4;
        QVector<double> ref = b.mid(D);
        QVector<double> sums;
        for (int k = 0; k < 2 * D; ++k) {
            QVector<double> seg = a.mid(k);
            const QPointF s = tb.score(seg, ref);
            sums << s.x() + s.y();
        }
        // Expected list by hand: first entry beaten is replaced, nothing moves.
        QVector<QPointF> want(4, QPointF(0, 0));
        for (int k = 0; k < 2 * D; ++k)
            for (QPointF& e : want)
                if (sums[k] > e.y()) {
                    e = QPointF(k - D, sums[k]);
                    break;
                }
        QVector<QPointF> out(4);
        tb.bestScore(a, b, out);
        QCOMPARE(out, want);

        // Anti-correlated sequences score 0 at every lag: nothing enters.
        QVector<double> neg;
        for (double v : a)
            neg << -v;
        tb.bestScore(a, neg, out);
        QCOMPARE(out, QVector<QPointF>(4, QPointF(0, 0)));
    }

    void matrixBasics()
    {
        toolbox tb;
        std::vector<double> m = {1, 2, 3, 4, 5, 6};
        tb.transpose(m.data(), 2, 3);
        compareVec(m, {1, 3, 5, 2, 4, 6}, 0);

        // A (2x3) times B (3x2), column-major.
        std::vector<double> A = {1, 2, 3, 4, 5, 6}, B = {1, 0, 2, 0, 1, 1}, C(4);
        tb.crossProduct(A.data(), B.data(), C.data(), 2, 3, 2);
        compareVec(C, {11, 14, 8, 10}, 0);
        // Output aliasing an input gives the same.
        std::vector<double> S = {1, 2, 3, 4}, T = {5, 6, 7, 8}, sep(4);
        tb.crossProduct(S.data(), T.data(), sep.data(), 2, 2, 2);
        tb.crossProduct(S.data(), T.data(), S.data(), 2, 2, 2);
        compareVec(S, sep, 0);

        std::vector<double> d(4, 9);
        std::vector<double> G = {1, 2, 3, 4};
        tb.diag(G.data(), d.data(), 4, 1);
        compareVec(d, {1, 0, 0, 0}, 0);
        std::vector<double> sq = {1, 2, 3, 4}, dd(2);
        tb.diag(sq.data(), dd.data(), 2, 2);
        compareVec(dd, {1, 4}, 0);

        std::vector<double> D2 = {2, 0, 0, 4}, Di(4);
        tb.inv(D2.data(), Di.data(), 2);
        compareVec(Di, {0.5, 0, 0, 0.25}, 0);
        std::vector<double> M = {4, 3, 6, 3}, Mi(4), I(4);
        tb.inv(M.data(), Mi.data(), 2);
        tb.crossProduct(M.data(), Mi.data(), I.data(), 2, 2, 2);
        compareVec(I, {1, 0, 0, 1}, 1e-12);
    }

    void singularInputsGiveZeros()
    {
        toolbox tb;
        // A zero pivot: no inverse, zeros instead of divisions by zero.
        std::vector<double> S = {1, 2, 2, 4}, Si(4, 9);
        tb.inv(S.data(), Si.data(), 2);
        compareVec(Si, {0, 0, 0, 0}, 0);

        // Rank-deficient 3x2 matrix: the normal equations are singular.
        std::vector<double> A = {1, 2, 3, 2, 4, 6}, B(6, 9);
        tb.ginv(A.data(), B.data(), 3, 2);
        compareVec(B, std::vector<double>(6, 0), 0);
        std::vector<double> W = {1, 2, 2, 4, 3, 6}, WB(6, 9); // 2x3, rank 1
        tb.ginv(W.data(), WB.data(), 2, 3);
        compareVec(WB, std::vector<double>(6, 0), 0);
        std::vector<double> nan = {std::nan(""), 1, 1, 1}, NB(4, 9);
        tb.ginv(nan.data(), NB.data(), 2, 2);
        compareVec(NB, std::vector<double>(4, 0), 0);
    }

    void generalizedInverses()
    {
        toolbox tb;
        double one = 2, outP = 0, outG = 0;
        tb.pinv(&one, &outP, 1, 1);
        tb.ginv(&one, &outG, 1, 1);
        QCOMPARE(outP, 0.5);
        QCOMPARE(outG, 0.5);

        std::vector<double> zero(6, 0.0), zp(6, 9);
        tb.pinv(zero.data(), zp.data(), 3, 2);
        compareVec(zp, std::vector<double>(6, 0), 0);

        // Tall and wide full-rank matrices: the two ways agree, and A B A = A.
        for (auto dims : {std::pair<int, int>(5, 3), std::pair<int, int>(3, 5), std::pair<int, int>(4, 4)}) {
            const int r = dims.first, c = dims.second;
            std::vector<double> A = randomVector(size_t(r) * c, 11 + r);
            std::vector<double> P(size_t(r) * c), G(size_t(r) * c), AB(size_t(r) * r), ABA(size_t(r) * c);
            tb.pinv(A.data(), P.data(), r, c);
            tb.ginv(A.data(), G.data(), r, c);
            compareVec(P, G, 1e-9);
            tb.crossProduct(A.data(), G.data(), AB.data(), r, c, r);
            tb.crossProduct(AB.data(), A.data(), ABA.data(), r, r, c);
            compareVec(ABA, A, 1e-9);
        }

        // Rank-deficient: pinv drops the dependent column and still gives A B A = A.
        std::vector<double> R = {1, 2, 3, 2, 4, 6, 1, 0, 1}; // 3x3, column 2 = 2 * column 1
        std::vector<double> RP(9), RA(9), RAR(9);
        tb.pinv(R.data(), RP.data(), 3, 3);
        tb.crossProduct(R.data(), RP.data(), RA.data(), 3, 3, 3);
        tb.crossProduct(RA.data(), R.data(), RAR.data(), 3, 3, 3);
        compareVec(RAR, R, 1e-9);
    }

    void alglibGeneralizedInverse()
    {
        toolbox tb;
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString old = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));

        for (auto dims : {std::pair<int, int>(5, 3), std::pair<int, int>(3, 5)}) {
            const int r = dims.first, c = dims.second;
            std::vector<double> A = randomVector(size_t(r) * c, 20 + r), G(size_t(r) * c);
            tb.ginv(A.data(), G.data(), r, c);
            alglib::real_2d_array x, gi;
            x.setlength(r, c);
            for (int i = 0; i < r; ++i)
                for (int j = 0; j < c; ++j)
                    x[i][j] = A[size_t(j) * r + i];
            gi.setlength(c, r);
            tb.algginv(x, gi);
            QCOMPARE(int(gi.rows()), c);
            QCOMPARE(int(gi.cols()), r);
            for (int i = 0; i < c; ++i)
                for (int j = 0; j < r; ++j)
                    QVERIFY(std::fabs(gi[i][j] - G[size_t(j) * c + i]) < 1e-9);
        }
        // The wide path leaves its three text files.
        for (const char* name : {"algginv1.txt", "algginv2.txt", "algginv3.txt"})
            QVERIFY(QFile::exists(name));
        QFile third("algginv3.txt");
        QVERIFY(third.open(QIODevice::ReadOnly | QIODevice::Text));
        QCOMPARE(third.readAll().count('\n'), 3); // one line per column of the 5x3 result

        // Files that cannot be written do not stop the computation; a result
        // of the wrong shape is resized.
        for (const char* name : {"algginv1.txt", "algginv2.txt", "algginv3.txt"}) {
            QFile::remove(name);
            QVERIFY(QDir().mkdir(name));
        }
        alglib::real_2d_array x, gi;
        x.setlength(1, 2);
        x[0][0] = 3;
        x[0][1] = 4;
        tb.algginv(x, gi);
        QCOMPARE(int(gi.rows()), 2);
        QCOMPARE(int(gi.cols()), 1);
        QVERIFY(std::fabs(gi[0][0] - 3.0 / 25) < 1e-15);
        QVERIFY(std::fabs(gi[1][0] - 4.0 / 25) < 1e-15);

        // Singular: zeros.
        x.setlength(2, 2);
        x[0][0] = 1;
        x[0][1] = 2;
        x[1][0] = 2;
        x[1][1] = 4;
        tb.algginv(x, gi);
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j)
                QCOMPARE(gi[i][j], 0.0);

        QVERIFY(QDir::setCurrent(old));
    }

    void directConvolution()
    {
        toolbox tb;
        std::vector<float> sig = {1, 2, 3, 4, 5}, yy(5, -1);
        std::vector<float> h2 = {1, 1};
        tb.WWconvolution(sig.data(), h2.data(), yy.data(), 5, 2);
        QCOMPARE(yy, std::vector<float>({3, 5, 7, 9, 5}));

        std::vector<float> h4 = {1, 2, 3, 4};
        tb.WWconvolution(sig.data(), h4.data(), yy.data(), 5, 4);
        QCOMPARE(yy, std::vector<float>({30, 20, 30, 34, 31}));
        // In place, yy being the signal itself, the same.
        std::vector<float> inPlace = sig;
        tb.WWconvolution(inPlace.data(), h4.data(), inPlace.data(), 5, 4);
        QCOMPARE(inPlace, std::vector<float>({30, 20, 30, 34, 31}));

        // An odd kernel has no tap past its end (exact-size array under ASan).
        std::vector<float> h3 = {1, 2, 3};
        tb.WWconvolution(sig.data(), h3.data(), yy.data(), 5, 3);
        QCOMPARE(yy, std::vector<float>({22, 16, 22, 22, 15}));

        // Correlation is the convolution with the kernel reversed.
        std::vector<float> r4 = {4, 3, 2, 1}, yc(5), yr(5);
        tb.WWcorrelation(sig.data(), h4.data(), yc.data(), 5, 4);
        tb.WWconvolution(sig.data(), r4.data(), yr.data(), 5, 4);
        QCOMPARE(yc, yr);

        // A signal shorter than the kernel's half: unreached outputs are zero.
        std::vector<float> shortSig = {1, 2}, h8(8, 1.0f), ys(2, -1);
        tb.WWconvolution(shortSig.data(), h8.data(), ys.data(), 2, 8);
        QCOMPARE(ys, std::vector<float>({0, 0}));
        std::vector<float> h5(5, 1.0f);
        std::vector<float> three = {1, 2, 3}, y3(3, -1);
        tb.WWconvolution(three.data(), h5.data(), y3.data(), 3, 5); // half 3: only output 2
        QCOMPARE(y3, std::vector<float>({0, 0, 5}));
        // An empty kernel gives zeros.
        tb.WWconvolution(sig.data(), h2.data(), yy.data(), 5, 0);
        tb.WWcorrelation(sig.data(), h2.data(), ys.data(), 2, -3);
        QCOMPARE(yy, std::vector<float>(5, 0));
        QCOMPARE(ys, std::vector<float>(2, 0));
    }
};

QTEST_MAIN(TestToolbox)
#include "test_toolbox.moc"
