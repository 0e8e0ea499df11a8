#include <QtTest>

#include <QFile>
#include <QImage>
#include <QSet>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <vector>

// The eight compiled-in channels of the demo record, in loading order.
static const char* const kNames[] = {
    "ART_mgh038.txt",        "CO2_mgh038.txt",        "CVP_mgh038.txt",
    "ECG lead I_mgh038.txt", "ECG lead II_mgh038.txt", "ECG lead V_mgh038.txt",
    "PAP_mgh038.txt",        "Resp. Imp._mgh038.txt",
};
static const int kCount = 8;
static const int kSamples = 16384;
static const double kFs = 360.0;

namespace {

std::vector<double> loadValues(const QString& name)
{
    std::vector<double> v;
    QFile f(":/" + name);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return v;
    while (!f.atEnd()) {
        const QList<QByteArray> parts = f.readLine().trimmed().split(' ');
        if (parts.size() == 2)
            v.push_back(parts[1].toDouble());
    }
    return v;
}

double median(std::vector<double> v)
{
    if (v.empty())
        return qQNaN();
    std::sort(v.begin(), v.end());
    const size_t m = v.size() / 2;
    return v.size() % 2 ? v[m] : 0.5 * (v[m - 1] + v[m]);
}

double minOf(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }
double maxOf(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }

// R waves: local maxima above 60 % of the span, at least 250 ms apart.
std::vector<int> rPeaks(const std::vector<double>& ecg)
{
    const double lo = minOf(ecg), hi = maxOf(ecg);
    const double threshold = lo + 0.6 * (hi - lo);
    const int refractory = int(0.25 * kFs);
    std::vector<int> peaks;
    const int n = int(ecg.size());
    for (int i = 1; i + 1 < n; ++i) {
        if (ecg[i] < threshold || ecg[i] < ecg[i - 1] || ecg[i] < ecg[i + 1])
            continue;
        if (!peaks.empty() && i - peaks.back() < refractory) {
            if (ecg[i] > ecg[peaks.back()])
                peaks.back() = i;
            continue;
        }
        peaks.push_back(i);
    }
    return peaks;
}

// Upward crossings of the middle of the signal's range, with hysteresis.
std::vector<int> upCrossings(const std::vector<double>& x, double lowFraction, double highFraction)
{
    const double lo = minOf(x), hi = maxOf(x);
    const double low = lo + lowFraction * (hi - lo), high = lo + highFraction * (hi - lo);
    std::vector<int> ups;
    bool armed = x[0] < low;
    for (int i = 0; i < int(x.size()); ++i) {
        if (x[i] < low)
            armed = true;
        else if (armed && x[i] > high) {
            ups.push_back(i);
            armed = false;
        }
    }
    return ups;
}

std::vector<double> movingAverage(const std::vector<double>& x, int half)
{
    std::vector<double> y(x.size());
    for (int i = 0; i < int(x.size()); ++i) {
        double sum = 0.0;
        int count = 0;
        for (int k = std::max(0, i - half); k <= std::min(int(x.size()) - 1, i + half); ++k) {
            sum += x[k];
            ++count;
        }
        y[i] = sum / count;
    }
    return y;
}

} // namespace

class TestSignals : public QObject
{
    Q_OBJECT

    std::vector<double> channel[kCount];

    const std::vector<double>& byName(const char* name) const
    {
        for (int c = 0; c < kCount; ++c)
            if (qstrcmp(kNames[c], name) == 0)
                return channel[c];
        qFatal("unknown channel %s", name);
    }

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        for (int c = 0; c < kCount; ++c) {
            channel[c] = loadValues(kNames[c]);
            QCOMPARE(int(channel[c].size()), kSamples);
        }
    }

    // The generator must reproduce the committed files, and the committed
    // files must be what is compiled in.
    void generatorReproducesResources()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QProcess gen;
        gen.start(QStringLiteral(QUELMORA_GENERATOR), {dir.path()});
        QVERIFY(gen.waitForFinished(60000));
        QCOMPARE(gen.exitStatus(), QProcess::NormalExit);
        QCOMPARE(gen.exitCode(), 0);
        for (const char* name : kNames) {
            QFile generated(dir.filePath(name));
            QFile committed(QStringLiteral(QUELMORA_SOURCE_DIR "/resources/") + name);
            QFile compiled(QStringLiteral(":/") + name);
            QVERIFY2(generated.open(QIODevice::ReadOnly), name);
            QVERIFY2(committed.open(QIODevice::ReadOnly), name);
            QVERIFY2(compiled.open(QIODevice::ReadOnly), name);
            const QByteArray g = generated.readAll();
            QVERIFY2(g == committed.readAll(), name);
            QVERIFY2(g == compiled.readAll(), name);
        }
    }

    void generatorOutputDirectory()
    {
        QProcess gen;
        gen.start(QStringLiteral(QUELMORA_GENERATOR), {});
        QVERIFY(gen.waitForFinished(60000));
        QVERIFY(gen.exitCode() != 0);

        // A directory that cannot be made: its parent is a plain file.
        QTemporaryDir dir;
        QFile plain(dir.filePath("plain"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        gen.start(QStringLiteral(QUELMORA_GENERATOR), {dir.filePath("plain/sub")});
        QVERIFY(gen.waitForFinished(60000));
        QVERIFY(gen.exitCode() != 0);

        // A missing directory is made.
        gen.start(QStringLiteral(QUELMORA_GENERATOR), {dir.filePath("new/sub")});
        QVERIFY(gen.waitForFinished(60000));
        QCOMPARE(gen.exitCode(), 0);
        QVERIFY(QFile::exists(dir.filePath("new/sub/Resp. Imp._mgh038.txt")));
    }

    // "t v" lines: t = k/360 as %g, one blank, a fixed-point value; LF ends.
    void lineFormat_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("decimals");
        const int decimals[kCount] = {2, 2, 2, 1, 1, 1, 2, 4};
        for (int c = 0; c < kCount; ++c)
            QTest::newRow(kNames[c]) << QString(kNames[c]) << decimals[c];
    }

    void lineFormat()
    {
        QFETCH(QString, name);
        QFETCH(int, decimals);
        QFile f(":/" + name);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray all = f.readAll();
        QVERIFY(!all.contains('\r'));
        QVERIFY(all.endsWith('\n'));
        const QList<QByteArray> lines = all.left(all.size() - 1).split('\n');
        QCOMPARE(lines.size(), kSamples);
        const QRegularExpression value(QStringLiteral("^-?(0|[1-9][0-9]*)\\.[0-9]{%1}$").arg(decimals));
        for (int k = 0; k < kSamples; ++k) {
            const QByteArray& line = lines[k];
            QVERIFY(line.size() <= 200);
            const int blank = line.indexOf(' ');
            QVERIFY2(blank > 0 && line.indexOf(' ', blank + 1) < 0, line.constData());
            QCOMPARE(line.left(blank), QString::asprintf("%g", k / kFs).toLatin1());
            const QString v = QString::fromLatin1(line.mid(blank + 1));
            QVERIFY2(value.match(v).hasMatch(), line.constData());
            QVERIFY2(!v.startsWith("-0.") || v.toDouble() != 0.0, "negative zero");
        }
        QCOMPARE(lines.first().left(2), QByteArray("0 "));
        QVERIFY(lines.last().startsWith("45.5083 "));
    }

    // The multi-curve view fits the widest channel; that must be lead II.
    void leadTwoHasWidestRange()
    {
        const std::vector<double>& two = byName("ECG lead II_mgh038.txt");
        const double widest = maxOf(two) - minOf(two);
        for (int c = 0; c < kCount; ++c) {
            if (qstrcmp(kNames[c], "ECG lead II_mgh038.txt") == 0)
                continue;
            const double r = maxOf(channel[c]) - minOf(channel[c]);
            QVERIFY2(r < 0.9 * widest, kNames[c]);
        }
    }

    void ecgRhythm()
    {
        const std::vector<int> peaks = rPeaks(byName("ECG lead II_mgh038.txt"));
        QVERIFY(peaks.size() > 40);
        const double bpm = 60.0 * (peaks.size() - 1) / ((peaks.back() - peaks.front()) / kFs);
        QVERIFY2(bpm >= 70.0 && bpm <= 90.0, qPrintable(QString::number(bpm)));

        std::vector<double> rr;
        for (size_t k = 1; k < peaks.size(); ++k)
            rr.push_back((peaks[k] - peaks[k - 1]) / kFs);
        const double mid = median(rr);
        int premature = 0, sinusLike = 0;
        double lo = 1e9, hi = 0.0;
        for (double x : rr) {
            if (x < 0.8 * mid)
                ++premature;
            else if (x < 1.2 * mid) {
                ++sinusLike;
                lo = std::min(lo, x);
                hi = std::max(hi, x);
            }
        }
        // A few ectopic beats, and a sinus rhythm that is not a metronome.
        QVERIFY2(premature >= 2 && premature <= 6, qPrintable(QString::number(premature)));
        QVERIFY(hi - lo > 0.05);
        QVERIFY(hi - lo < 0.35);

        // The three leads show the same beats.
        for (const char* lead : {"ECG lead I_mgh038.txt", "ECG lead V_mgh038.txt"}) {
            const std::vector<double>& x = byName(lead);
            int agree = 0;
            for (int p : peaks) {
                int best = p;
                for (int i = std::max(0, p - 10); i <= std::min(kSamples - 1, p + 10); ++i)
                    if (std::fabs(x[i]) > std::fabs(x[best]))
                        best = i;
                const int from = std::max(0, p - 100), to = std::max(from + 1, p - 40);
                const double baseline = median(std::vector<double>(x.begin() + from, x.begin() + to));
                if (std::fabs(x[best] - baseline) > 300.0)
                    ++agree;
            }
            QVERIFY2(agree >= int(peaks.size()) - 1, lead);
        }
    }

    // Each beat's pressures follow its R wave.
    void pressuresPerBeat()
    {
        const std::vector<int> peaks = rPeaks(byName("ECG lead II_mgh038.txt"));
        const std::vector<double>& art = byName("ART_mgh038.txt");
        const std::vector<double>& pap = byName("PAP_mgh038.txt");
        std::vector<double> artSys, artDia, papSys, papDia, artFoot, papFoot;
        for (int p : peaks) {
            if (p + int(0.5 * kFs) >= kSamples)
                break;
            auto window = [&](const std::vector<double>& x, double from, double to, bool wantMax,
                              double* at) {
                int best = p + int(from * kFs);
                for (int i = best; i <= p + int(to * kFs); ++i)
                    if (wantMax ? x[i] > x[best] : x[i] < x[best])
                        best = i;
                if (at)
                    *at = (best - p) / kFs;
                return x[best];
            };
            double foot = 0.0;
            artDia.push_back(window(art, 0.0, 0.3, false, &foot));
            artFoot.push_back(foot);
            artSys.push_back(window(art, 0.15, 0.5, true, nullptr));
            papDia.push_back(window(pap, 0.0, 0.25, false, &foot));
            papFoot.push_back(foot);
            papSys.push_back(window(pap, 0.1, 0.45, true, nullptr));
        }
        const double as = median(artSys), ad = median(artDia), ps = median(papSys), pd = median(papDia);
        QVERIFY2(as > 110 && as < 130, qPrintable(QString::number(as)));
        QVERIFY2(ad > 60 && ad < 80, qPrintable(QString::number(ad)));
        QVERIFY2(ps > 20 && ps < 30, qPrintable(QString::number(ps)));
        QVERIFY2(pd > 6 && pd < 14, qPrintable(QString::number(pd)));
        // Physiological delays: the pulmonary pulse arrives before the radial one.
        const double af = median(artFoot), pf = median(papFoot);
        QVERIFY2(af > 0.1 && af < 0.3, qPrintable(QString::number(af)));
        QVERIFY2(pf > 0.04 && pf < af, qPrintable(QString::number(pf)));
        // Respiratory and beat-to-beat variation of the systolic pressure.
        std::sort(artSys.begin(), artSys.end());
        QVERIFY(artSys[artSys.size() * 9 / 10] - artSys[artSys.size() / 10] > 2.0);

        QVERIFY(minOf(art) > 40.0 && maxOf(art) < 140.0);
        QVERIFY(minOf(pap) > 2.0 && maxOf(pap) < 35.0);

        const std::vector<double>& cvp = byName("CVP_mgh038.txt");
        QVERIFY(minOf(cvp) > 0.0 && maxOf(cvp) < 14.0);
        std::vector<double> sorted(cvp);
        std::sort(sorted.begin(), sorted.end());
        QVERIFY(sorted[kSamples / 20] > 1.0 && sorted[kSamples / 20] < 4.0);
        QVERIFY(sorted[kSamples * 19 / 20] > 8.0 && sorted[kSamples * 19 / 20] < 12.0);
    }

    // The tool-bar and zoom icons are compiled in, drawn and transparent
    // around their shapes.
    void iconsCompiledIn()
    {
        QList<QImage> images;
        for (const char* name : {"open", "save", "print", "exit", "zoomin", "zoomout"}) {
            const QImage image(QStringLiteral(":/images/%1.png").arg(name));
            QVERIFY2(!image.isNull(), name);
            QCOMPARE(image.size(), QSize(48, 48));
            QVERIFY2(image.hasAlphaChannel(), name);
            QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
            QSet<QRgb> colours;
            int opaque = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    colours.insert(image.pixel(x, y));
                    if (qAlpha(image.pixel(x, y)) == 255)
                        ++opaque;
                }
            QVERIFY2(colours.size() > 20, name);
            QVERIFY2(opaque > 48 * 48 / 5, name);
            for (const QImage& other : images)
                QVERIFY2(other != image, name);
            images << image;
        }
    }

    void breathing()
    {
        const std::vector<double> resp = movingAverage(byName("Resp. Imp._mgh038.txt"), int(0.25 * kFs));
        const std::vector<int> breaths = upCrossings(resp, 0.35, 0.6);
        const double perMinute = 60.0 * (breaths.size() - 1) / ((breaths.back() - breaths.front()) / kFs);
        QVERIFY2(perMinute > 12.0 && perMinute < 18.0, qPrintable(QString::number(perMinute)));

        // Capnogram: near zero in inspiration, a plateau of about 38 mmHg in
        // expiration, one upstroke per breath of the impedance signal.
        const std::vector<double>& co2 = byName("CO2_mgh038.txt");
        QVERIFY(minOf(co2) >= 0.0);
        QVERIFY(maxOf(co2) > 35.0 && maxOf(co2) < 40.0);
        const std::vector<int> upstrokes = upCrossings(co2, 0.1, 0.5);
        QVERIFY(std::abs(int(upstrokes.size()) - int(breaths.size())) <= 1);
        int plateau = 0;
        for (double c : co2)
            if (c > 30.0)
                ++plateau;
        QVERIFY(plateau > kSamples / 3 && plateau < kSamples * 3 / 4);

        // In phase: expiration (the CO2 upstroke) starts near the top of the
        // impedance curve, inspiration (the CO2 downstroke) near its bottom.
        const double lo = minOf(resp), hi = maxOf(resp);
        for (int u : upstrokes)
            QVERIFY(resp[u] > lo + 0.5 * (hi - lo));
        std::vector<double> reversed(co2.rbegin(), co2.rend());
        for (int d : upCrossings(reversed, 0.1, 0.5))
            QVERIFY(resp[kSamples - 1 - d] < lo + 0.5 * (hi - lo));
    }
};

QTEST_MAIN(TestSignals)
#include "test_signals.moc"
