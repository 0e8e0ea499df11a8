#include <QtTest>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "cwt_reference.h"
#include "dsp/wavelet.h"

namespace {

std::vector<float> randomSignal(int n, unsigned seed)
{
    std::mt19937 gen(seed);
    std::normal_distribution<float> dist(0.0f, 1.0f);
    std::vector<float> v(n);
    for (int i = 0; i < n; ++i)
        v[i] = std::sin(0.07f * i) + 0.5f * dist(gen);
    return v;
}

long halfOf(const wavelet& w, float a)
{
    return static_cast<long>(std::trunc(3.0 * a / w.t));
}

bool sameBits(const std::vector<float>& a, const std::vector<float>& b, QString* where)
{
    if (a.size() != b.size()) {
        *where = "size";
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::memcmp(&a[i], &b[i], sizeof(float)) != 0) {
            *where = QString("cell %1: %2 vs %3").arg(i).arg(a[i], 0, 'g', 9).arg(b[i], 0, 'g', 9);
            return false;
        }
    }
    return true;
}

} // namespace

class TestWavelet : public QObject
{
    Q_OBJECT

private slots:
    void constants()
    {
        wavelet w;
        QCOMPARE(w.t, 0.1f);
        QCOMPARE(double(w.t), 0.10000000149011612);
        QCOMPARE(w.kk, 1.3313353638003897);
        QVERIFY(std::fabs(w.sinc(0.5f) - 2 / M_PI) < 1e-15);
        QCOMPARE(w.sinc(0.0f), 1.0);
    }

    void kernelLengths()
    {
        wavelet w;
        QCOMPARE(halfOf(w, 1.0f), 29L);
        QCOMPARE(halfOf(w, 10.0f), 299L);
        // Scale 1: 59 samples written, the next entry untouched.
        std::vector<float> re(61, 42.0f), im(61, 42.0f);
        w.getWaveletBase(re.data(), im.data(), 1.0f, 1);
        QVERIFY(re[58] != 42.0f);
        QCOMPARE(re[59], 42.0f);
        // Types without an imaginary part leave it alone.
        QCOMPARE(im[0], 42.0f);
        QCOMPARE(im[29], 42.0f);
        std::vector<float> re10(601, 42.0f), im10(601, 42.0f);
        w.getWaveletBase(re10.data(), im10.data(), 10.0f, 0);
        QVERIFY(re10[598] != 42.0f);
        QCOMPARE(re10[599], 42.0f);
        QVERIFY(im10[0] != 42.0f);
        // Negative index, zero or non-finite scale: nothing written.
        std::vector<float> re2(61, 42.0f), im2(61, 42.0f);
        w.getWaveletBase(re2.data(), im2.data(), 1.0f, -1);
        w.getWaveletBase(re2.data(), im2.data(), 0.0f, 1);
        w.getWaveletBase(re2.data(), im2.data(), std::numeric_limits<float>::quiet_NaN(), 1);
        QCOMPARE(re2, std::vector<float>(61, 42.0f));
        QCOMPARE(im2, std::vector<float>(61, 42.0f));
    }

    void motherWaveletSamples()
    {
        wavelet w;
        const float a = 1.0f;
        const long h = halfOf(w, a); // 29
        std::vector<float> re(2 * h + 1), im(2 * h + 1);
        auto centre = [&](int type) {
            std::fill(re.begin(), re.end(), 0.0f);
            std::fill(im.begin(), im.end(), 0.0f);
            w.getWaveletBase(re.data(), im.data(), a, type);
        };
        centre(0);
        QCOMPARE(re[h], 1.0f);
        QCOMPARE(im[h], 0.0f);
        // x = 1 * t / a at the right neighbour.
        const double x1 = double(w.t) / a;
        QCOMPARE(re[h + 1], float(std::exp(-x1 * x1 / 2) * std::cos(6 * x1)));
        QCOMPARE(im[h + 1], float(std::exp(-x1 * x1 / 2) * std::sin(6 * x1)));
        std::vector<float> morletRe = re, morletIm = im;
        w.getWavelet(re.data(), im.data(), a);
        QCOMPARE(re, morletRe);
        QCOMPARE(im, morletIm);
        centre(9); // any index above 7 samples the Morlet wavelet
        QCOMPARE(re, morletRe);
        QCOMPARE(im, morletIm);

        centre(1);
        QCOMPARE(re[h], 0.8673250675201416f);
        centre(2);
        QCOMPARE(re[h], 0.0f);
        QVERIFY(re[h + 1] > 0 && re[h - 1] < 0);
        centre(3);
        QCOMPARE(re[h], 0.5f);
        centre(5);
        QCOMPARE(re[h], re[h + 1]);
        QVERIFY(re[h] != 0);
        centre(6);
        QCOMPARE(re[h], float(0.8944271909999159 / w.kk));
        QCOMPARE(im[h], 0.0f);
        QVERIFY(im[h + 1] > 0);
        centre(7);
        QCOMPARE(re[h], 0.0f);
        QVERIFY(re[h + 1] > 0);
    }

    void haarSamples()
    {
        wavelet w;
        // Scale 2t: half 6 and x = i / 2 exactly.
        QCOMPARE(halfOf(w, 0.2f), 6L);
        std::vector<float> re(13), im(13);
        w.getWaveletBase(re.data(), im.data(), 0.2f, 4);
        QCOMPARE(re, std::vector<float>({0, 0, 0, 0, 0, 0, 1, -1, 0, 0, 0, 0, 0}));
        // Scale t: x = i exactly; the sample at x = 1 is 0.
        std::vector<float> re2(7), im2(7);
        w.getWaveletBase(re2.data(), im2.data(), 0.1f, 4);
        QCOMPARE(re2, std::vector<float>({0, 0, 0, 1, 0, 0, 0}));
    }

    void impulseResponseIsScaledKernel()
    {
        wavelet w;
        const int n = 200, c = 100;
        std::vector<float> sig(n, 0.0f);
        sig[c] = 1.0f;
        const float scales[] = {1.0f, 2.5f};
        for (int type : {1, 2, 3, 4, 5, 7}) {
            std::vector<float> coif(2 * n, -7.0f);
            w.cwt(coif.data(), sig.data(), n, 360, 2, const_cast<float*>(scales), type);
            for (int j = 0; j < 2; ++j) {
                const float a = scales[j];
                const long h = halfOf(w, a);
                QVERIFY(h <= c && c + h < n);
                std::vector<float> re(2 * h + 1), im(2 * h + 1);
                w.getWaveletBase(re.data(), im.data(), a, type);
                const float* row = coif.data() + j * n;
                for (long k = -h; k < h; ++k) {
                    const float want = float(float(re[k + h] / double(a)) / w.kk);
                    QCOMPARE(row[c + k], want);
                }
                for (long i = c + h; i < n; ++i)
                    QCOMPARE(row[i], 0.0f);
            }
        }
    }

    void complexModulusAndRealResponse()
    {
        wavelet w;
        const int n = 256;
        const std::vector<float> sig = randomSignal(n, 1);
        float scales[] = {1.5f, 4.0f};
        std::vector<float> modulus(2 * n), real(2 * n), other(2 * n);
        w.cwt(modulus.data(), const_cast<float*>(sig.data()), n, 360, 2, scales, 0);
        w.cwt(real.data(), const_cast<float*>(sig.data()), n, 360, 2, scales, 8);
        bool negative = false;
        for (int i = 0; i < 2 * n; ++i) {
            QVERIFY(modulus[i] >= 0);
            QVERIFY(modulus[i] >= std::fabs(real[i]) * (1 - 1e-6f));
            negative = negative || real[i] < 0;
        }
        QVERIFY(negative);
        // The sampling rate has no effect.
        w.cwt(other.data(), const_cast<float*>(sig.data()), n, 1, 2, scales, 0);
        QCOMPARE(other, modulus);
        // A negative index gives rows of zeros.
        w.cwt(other.data(), const_cast<float*>(sig.data()), n, 360, 2, scales, -1);
        QCOMPARE(other, std::vector<float>(2 * n, 0.0f));
    }

    void matchesScalarReferenceAtEveryLevel()
    {
        // Short signal (not a multiple of any vector block) and scales whose
        // kernels reach past both ends of it.
        const int n = 203;
        const std::vector<float> sig = randomSignal(n, 2);
        std::vector<float> scales = {0.05f, 0.3f, 1.0f, 2.7f, 7.7f, 19.3f, 40.0f};
        const int NS = int(scales.size());
        const int top = setWaveletKernelLevel(99);
        for (int type = -1; type <= 8; ++type) {
            wavelet w;
            std::vector<float> want(size_t(NS) * n);
            referenceCwt(w, want.data(), sig.data(), n, NS, scales.data(), type);
            for (int level = 0; level <= top; ++level) {
                QCOMPARE(setWaveletKernelLevel(level), level);
                std::vector<float> got(size_t(NS) * n, -1.0f);
                w.cwt(got.data(), const_cast<float*>(sig.data()), n, 360, NS, scales.data(), type);
                QString where;
                if (!sameBits(got, want, &where))
                    QFAIL(qPrintable(QString("type %1 level %2 %3").arg(type).arg(level).arg(where)));
            }
        }
        setWaveletKernelLevel(top);
        QCOMPARE(waveletKernelLevel(), top);
    }

    void scalingRoundsLikeTheDivisions_data()
    {
        QTest::addColumn<int>("level");
        const int top = setWaveletKernelLevel(99);
        for (int level = 0; level <= top; ++level)
            QTest::newRow(qPrintable(QString("level %1").arg(level))) << level;
    }

    void scalingRoundsLikeTheDivisions()
    {
        // Sums whose quotient by the scale lies at or next to a midpoint
        // between two floats, where a product with the reciprocal can round
        // the other way.
        QFETCH(int, level);
        QCOMPARE(setWaveletKernelLevel(level), level);
        wavelet w;
        std::mt19937 gen(7);
        std::uniform_int_distribution<int> odd(1 << 23, (1 << 24) - 1);
        std::uniform_real_distribution<float> scale(0.5f, 20.0f);
        for (int round = 0; round < 12; ++round) {
            const float a = scale(gen);
            const long h = halfOf(w, a);
            std::vector<float> kernel(2 * h + 1, 0.0f);
            kernel[h - 2] = kernel[h - 1] = kernel[h] = 1.0f; // out[i] = sig[i+2] + sig[i+1] + sig[i]
            std::vector<float> sig;
            for (int m = 0; m < 256; ++m) {
                const double M = (2.0 * odd(gen) + 1) * std::ldexp(1.0, -24 + m % 20);
                const double ulp = std::ldexp(M, -52);
                const double s = a * (M + (m % 7 - 3) * ulp);
                // s in three floats, added back exactly in tap order
                const float v1 = float(s);
                const float v2 = float(s - v1);
                const float v3 = float(s - v1 - v2);
                QCOMPARE((double(v1) + v2) + v3, s);
                sig.push_back(v3);
                sig.push_back(v2);
                sig.push_back(v1);
            }
            const int n = int(sig.size());
            std::vector<float> got(n), want(n);
            w.convolution(sig.data(), kernel.data(), got.data(), a, n);
            referenceConvolution(sig.data(), kernel.data(), want.data(), a, n, w.t, w.kk);
            QString where;
            QVERIFY2(sameBits(got, want, &where), qPrintable(QString("scale %1 %2").arg(a).arg(where)));
        }
        setWaveletKernelLevel(99);
    }

    void extremeSampleValues()
    {
        wavelet w;
        const int n = 150;
        std::vector<float> sig = randomSignal(n, 6);
        sig[10] = 1e-40f;  // subnormal
        sig[20] = 3e38f;   // products overflow the float range after scaling
        sig[21] = -3e38f;
        sig[40] = 0.0f;
        sig[90] = std::numeric_limits<float>::infinity();
        sig[120] = std::numeric_limits<float>::quiet_NaN();
        for (int i = 60; i < 80; ++i)
            sig[i] = 1e-30f;
        float scales[] = {0.15f, 0.9f, 3.1f};
        const int top = setWaveletKernelLevel(99);
        for (int type : {0, 1, 4, 6}) {
            std::vector<float> want(3 * n);
            referenceCwt(w, want.data(), sig.data(), n, 3, scales, type);
            for (int level = 0; level <= top; ++level) {
                setWaveletKernelLevel(level);
                std::vector<float> got(3 * n);
                w.cwt(got.data(), sig.data(), n, 360, 3, scales, type);
                for (int i = 0; i < 3 * n; ++i) {
                    if (std::isnan(want[i]) && std::isnan(got[i]))
                        continue;
                    if (std::memcmp(&want[i], &got[i], sizeof(float)) != 0)
                        QFAIL(qPrintable(QString("type %1 level %2 cell %3: %4 vs %5")
                                             .arg(type).arg(level).arg(i).arg(got[i]).arg(want[i])));
                }
            }
        }
        setWaveletKernelLevel(top);
    }

    void publicConvolutionMatchesReference()
    {
        wavelet w;
        const int n = 150;
        const std::vector<float> sig = randomSignal(n, 3);
        for (float a : {0.7f, 3.3f, 12.0f}) {
            const long h = halfOf(w, a);
            std::vector<float> re(2 * h + 1), im(2 * h + 1), got(n), want(n);
            w.getWaveletBase(re.data(), im.data(), a, 3);
            w.convolution(const_cast<float*>(sig.data()), re.data(), got.data(), a, n);
            referenceConvolution(sig.data(), re.data(), want.data(), a, n, w.t, w.kk);
            QString where;
            QVERIFY2(sameBits(got, want, &where), qPrintable(where));
        }
        std::vector<float> h(1, 1.0f), yy(n, -1.0f);
        w.convolution(const_cast<float*>(sig.data()), h.data(), yy.data(), 0.0f, n);
        QCOMPARE(yy, std::vector<float>(n, 0.0f));
    }

    void badScalesGiveZeroRows()
    {
        wavelet w;
        const int n = 64;
        const std::vector<float> sig = randomSignal(n, 4);
        const float inf = std::numeric_limits<float>::infinity();
        float scales[] = {2.0f, 0.0f, -3.0f, std::numeric_limits<float>::quiet_NaN(), inf, -inf};
        std::vector<float> coif(6 * n, -1.0f), first(n);
        w.cwt(coif.data(), const_cast<float*>(sig.data()), n, 360, 6, scales, 6);
        w.cwt(first.data(), const_cast<float*>(sig.data()), n, 360, 1, scales, 6);
        QCOMPARE(std::vector<float>(coif.begin(), coif.begin() + n), first);
        QCOMPARE(std::vector<float>(coif.begin() + n, coif.end()), std::vector<float>(5 * n, 0.0f));
    }

    void largeScalesStayWithinTheSignal()
    {
        wavelet w;
        const int n = 40;
        const std::vector<float> sig = randomSignal(n, 5);
        // Beyond the old fixed kernel size (half 150000) and far beyond.
        float scales[] = {5000.0f, 1.0e30f};
        std::vector<float> coif(2 * n), want(n);
        w.cwt(coif.data(), const_cast<float*>(sig.data()), n, 360, 2, scales, 1);
        referenceCwt(w, want.data(), sig.data(), n, 1, scales, 1);
        QString where;
        QVERIFY2(sameBits(std::vector<float>(coif.begin(), coif.begin() + n), want, &where), qPrintable(where));
        for (int i = n; i < 2 * n; ++i)
            QVERIFY(std::isfinite(coif[i]));
    }

    void emptyInputs()
    {
        wavelet w;
        float sig[2] = {1, 2};
        float coif[4] = {5, 5, 5, 5};
        float scales[2] = {1, 2};
        w.cwt(coif, sig, 0, 360, 2, scales, 0);
        w.cwt(coif, sig, 2, 360, 0, scales, 0);
        w.cwt(coif, sig, -4, 360, 2, scales, 0);
        for (float v : coif)
            QCOMPARE(v, 5.0f);
        // One sample: the mirrored taps read nothing past the end.
        w.cwt(coif, sig, 1, 360, 2, scales, 2);
        QVERIFY(std::isfinite(coif[0]) && std::isfinite(coif[1]));
    }
};

QTEST_MAIN(TestWavelet)
#include "test_wavelet.moc"
