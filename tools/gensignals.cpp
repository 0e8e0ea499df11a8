// Writes the eight compiled-in signal files of the demo record mgh038.
//
// The values are synthetic but physiological: a sinus rhythm around 80/min
// with beat-to-beat variability, respiratory sinus arrhythmia and a few
// ectopic beats drives three ECG leads and the arterial, pulmonary arterial
// and central venous pressures; a breathing pattern around 15/min drives the
// impedance pneumogram, the capnogram and the respiratory swings of the
// other channels.
//
// The output must be byte-identical on every run and with every compiler:
// the noise comes from a PRNG written here (no <random> distributions, whose
// output differs between standard libraries), Gaussian noise is the
// Irwin-Hall sum of twelve uniforms (no libm), and the values are rounded to
// a few decimals with integer formatting, so that a last-bit difference of a
// libm function cannot reach the text.
//
// Usage: gensignals OUTPUT_DIR [--stats]   (the directory is created if needed;
// --stats prints each channel's range)

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr double Fs = 360.0;            // samples per second
constexpr int N = 16384;                // samples written per channel
constexpr int Pre = 6 * 360;            // pre-roll: lets the pressure models settle
constexpr int Post = 2 * 360;           // post-roll: room for the smoothing windows
constexpr int Total = Pre + N + Post;
constexpr double Pi = 3.14159265358979323846;

double timeOf(int i) { return (i - Pre) / Fs; }

// splitmix64 seeding a xoshiro256** generator.
class Rng
{
public:
    explicit Rng(std::uint64_t seed)
    {
        for (auto& word : s) {
            seed += 0x9E3779B97F4A7C15ULL;
            std::uint64_t z = seed;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
            word = z ^ (z >> 31);
        }
    }

    std::uint64_t next()
    {
        const std::uint64_t result = rotl(s[1] * 5, 7) * 9;
        const std::uint64_t t = s[1] << 17;
        s[2] ^= s[0];
        s[3] ^= s[1];
        s[1] ^= s[2];
        s[0] ^= s[3];
        s[2] ^= t;
        s[3] = rotl(s[3], 45);
        return result;
    }

    // Uniform in [0, 1), exact in binary.
    double uniform() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }

    // Approximately standard normal (Irwin-Hall, bounded by +-6).
    double gauss()
    {
        double sum = 0.0;
        for (int k = 0; k < 12; ++k)
            sum += uniform();
        return sum - 6.0;
    }

    // Standard normal clipped to +-limit, for parameters that must stay sane.
    double gaussClipped(double limit)
    {
        double g = gauss();
        if (g > limit) g = limit;
        if (g < -limit) g = -limit;
        return g;
    }

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    std::uint64_t s[4];
};

double gaussBump(double t, double centre, double sigma)
{
    const double u = (t - centre) / sigma;
    return std::exp(-0.5 * u * u);
}

// Bump with different widths before and after its peak (T waves, a/v waves).
double skewBump(double t, double centre, double sigmaBefore, double sigmaAfter)
{
    return gaussBump(t, centre, t < centre ? sigmaBefore : sigmaAfter);
}

double smoothstep(double x)
{
    if (x <= 0.0) return 0.0;
    if (x >= 1.0) return 1.0;
    return x * x * (3.0 - 2.0 * x);
}

// Centred moving average; the ends use the samples that exist.
std::vector<double> movingAverage(const std::vector<double>& x, int half)
{
    std::vector<double> y(x.size());
    const int n = int(x.size());
    for (int i = 0; i < n; ++i) {
        double sum = 0.0;
        int count = 0;
        for (int k = i - half; k <= i + half; ++k) {
            if (k < 0 || k >= n) continue;
            sum += x[k];
            ++count;
        }
        y[i] = sum / count;
    }
    return y;
}

// ---------------------------------------------------------------- breathing

struct Breath
{
    double start;     // inspiration onset (s)
    double length;    // whole cycle (s)
    double inspTime;  // inspiration (s)
    double volume;    // relative tidal volume
    double etCO2;     // end-tidal CO2 (mmHg)
};

std::vector<Breath> makeBreaths(Rng& rng)
{
    std::vector<Breath> breaths;
    double t = timeOf(0) - 1.3;
    while (t < timeOf(Total) + 5.0) {
        Breath b;
        b.start = t;
        b.length = 4.0 * (1.0 + 0.07 * rng.gaussClipped(2.5));
        b.inspTime = b.length * (0.38 + 0.02 * rng.gaussClipped(2.0));
        b.volume = 1.0 + 0.09 * rng.gaussClipped(2.5);
        b.etCO2 = 37.2 + 0.45 * rng.gaussClipped(2.0);
        breaths.push_back(b);
        t += b.length;
    }
    return breaths;
}

// Relative lung volume above end-expiration: a cosine rise during
// inspiration and a passive, rounded exponential fall during expiration.
double lungVolume(const Breath& b, double t)
{
    const double s = t - b.start;
    if (s < b.inspTime)
        return b.volume * 0.5 * (1.0 - std::cos(Pi * s / b.inspTime));
    const double x = (s - b.inspTime) / (b.length - b.inspTime);
    const double tail = std::exp(-4.0);
    const double f = std::exp(-4.0 * x * std::sqrt(x));
    return b.volume * (f - tail) / (1.0 - tail);
}

// ---------------------------------------------------------------- heart beats

enum class BeatKind { Sinus, Pac, Pvc };

struct Beat
{
    double r;        // time of the R wave (s)
    double rr;       // interval from the previous beat (s)
    BeatKind kind;
    bool afterPvc;   // first beat after a ventricular ectopic
    double ampl;     // beat-to-beat amplitude factor of the ECG
    double stroke;   // relative stroke volume
};

std::vector<Beat> makeBeats(Rng& rng, const std::vector<double>& vol)
{
    auto volumeAt = [&](double t) {
        int i = int((t - timeOf(0)) * Fs);
        if (i < 0) i = 0;
        if (i >= Total) i = Total - 1;
        return vol[i];
    };
    const double rr0 = 0.75;  // 80 per minute
    auto sinusInterval = [&](double t) {
        const double rsa = -0.05 * (2.0 * volumeAt(t) - 1.0);        // faster in inspiration
        const double mayer = 0.025 * std::sin(2.0 * Pi * 0.09 * t + 0.7);
        const double jitter = 0.012 * rng.gaussClipped(3.0);
        return rr0 * (1.0 + rsa + mayer + jitter);
    };

    // Beat numbers (counted from the first beat of the pre-roll) of the
    // ectopic beats: three ventricular, one atrial premature beat.
    auto kindOf = [](int n) {
        if (n == 20 || n == 44 || n == 61) return BeatKind::Pvc;
        if (n == 33) return BeatKind::Pac;
        return BeatKind::Sinus;
    };

    std::vector<Beat> beats;
    double t = timeOf(0) + 0.31;
    double prev = t - rr0;
    bool lastWasPvc = false;
    int n = 0;
    while (t < timeOf(Total) + 2.0) {
        Beat b;
        b.kind = kindOf(n);
        double interval = sinusInterval(prev);
        if (b.kind == BeatKind::Pvc) {
            b.r = prev + 0.6 * interval;
            // Full compensatory pause: the sinus node is not reset.
            t = prev + 2.0 * interval;
        } else if (b.kind == BeatKind::Pac) {
            b.r = prev + 0.68 * interval;
            t = b.r + sinusInterval(b.r);  // the sinus node is reset
        } else {
            b.r = t;
        }
        b.rr = b.r - prev;
        b.afterPvc = lastWasPvc;
        b.ampl = 1.0 + 0.02 * rng.gaussClipped(3.0);
        // Frank-Starling: a longer filling time gives a stronger beat; less
        // in inspiration (spontaneous breathing).
        double stroke = 1.0 + 0.35 * (b.rr - rr0) / rr0 - 0.05 * (2.0 * volumeAt(b.r) - 1.0);
        if (b.kind == BeatKind::Pvc) stroke *= 0.7;
        if (b.afterPvc) stroke *= 1.12;  // post-extrasystolic potentiation
        b.stroke = stroke;
        beats.push_back(b);
        lastWasPvc = b.kind == BeatKind::Pvc;
        prev = b.r;
        if (b.kind == BeatKind::Sinus)
            t = b.r + sinusInterval(b.r);
        ++n;
    }
    return beats;
}

// ---------------------------------------------------------------- ECG

struct LeadShape
{
    // Sinus beat: P, Q, R, S, T, U amplitudes in microvolts.
    double p, q, r, s, t, u;
    // Ventricular ectopic: main broad deflection, its late opposite part and
    // the discordant T wave.
    double vMain, vLate, vT;
    double mains;      // 60 Hz interference amplitude
    double noise;      // white noise, standard deviation
    double wander;     // respiratory baseline wander
    double axisSwing;  // respiratory modulation of the QRS amplitude
};

std::vector<double> makeEcg(const LeadShape& L, const std::vector<Beat>& beats,
                            const std::vector<double>& vol, Rng& rng, double mainsPhase)
{
    std::vector<double> x(Total, 0.0);
    for (const Beat& b : beats) {
        const int centre = int((b.r - timeOf(0)) * Fs);
        const int from = centre - int(0.35 * Fs);
        const int to = centre + int(0.65 * Fs);
        const double qt = std::sqrt(b.rr > 0.3 ? b.rr / 0.75 : 0.4);  // T follows the rate
        const int at = centre < 0 ? 0 : (centre >= Total ? Total - 1 : centre);
        const double swing = 1.0 + L.axisSwing * (2.0 * vol[at] - 1.0);  // electrical axis moves with breathing
        for (int i = from; i <= to; ++i) {
            if (i < 0 || i >= Total) continue;
            const double s = timeOf(i) - b.r;
            double v = 0.0;
            if (b.kind == BeatKind::Pvc) {
                v += L.vMain * gaussBump(s, 0.015, 0.032);
                v += L.vLate * gaussBump(s, 0.085, 0.028);
                v += L.vT * skewBump(s, 0.30, 0.07, 0.05);
            } else {
                const double pScale = b.kind == BeatKind::Pac ? -0.5 : 1.0;  // ectopic atrial focus
                v += pScale * L.p * gaussBump(s, -0.165, 0.022);
                v += swing * (L.q * gaussBump(s, -0.027, 0.0075)
                              + L.r * gaussBump(s, 0.0, 0.0095)
                              + L.s * gaussBump(s, 0.026, 0.009));
                v += L.t * skewBump(s, 0.26 * qt, 0.055, 0.036);
                v += L.u * gaussBump(s, 0.26 * qt + 0.17, 0.035);
            }
            x[i] += b.ampl * v;
        }
    }
    for (int i = 0; i < Total; ++i) {
        const double t = timeOf(i);
        x[i] += L.wander * (vol[i] - 0.5) + 0.6 * L.wander * std::sin(2.0 * Pi * 0.043 * t + 1.1);
        x[i] += L.mains * std::sin(2.0 * Pi * 60.0 * t + mainsPhase);
        x[i] += L.noise * rng.gauss();
    }
    return x;
}

// ---------------------------------------------------------------- pressures

// Median of a small vector (copies it).
double median(std::vector<double> v)
{
    if (v.empty()) return 0.0;
    for (size_t i = 1; i < v.size(); ++i)  // insertion sort: tiny inputs
        for (size_t j = i; j > 0 && v[j - 1] > v[j]; --j)
            std::swap(v[j - 1], v[j]);
    const size_t m = v.size() / 2;
    return v.size() % 2 ? v[m] : 0.5 * (v[m - 1] + v[m]);
}

struct ArterialModel
{
    double delay;          // R wave to pulse foot (s)
    double rise;           // time constant of the ejection flow (s)
    double ejection;       // ejection time at 80/min (s)
    double reflection;     // late systolic reflected wave, share of the pulse
    double notch;          // dicrotic notch depth, share of the pulse
    double dicrotic;       // dicrotic wave, share of the pulse
    double systolic, diastolic;  // targets of the median sinus beat (mmHg)
    double floor;          // pressure the diastolic run-off tends to (mmHg)
};

// Two-element Windkessel driven by one ejection per beat, with reflected
// wave, incisura and dicrotic wave added on top. Its output is scaled so
// that the median sinus beat reads systolic/diastolic; the time constant is
// chosen so that the run-off tends to the model's floor pressure, which
// keeps the long pauses after ectopic beats physiological.
class Arterial
{
public:
    Arterial(const ArterialModel& model, const std::vector<Beat>& beats)
        : M(model), beats(beats), inflow(Total, 0.0), extra(Total, 0.0)
    {
        for (const Beat& b : beats) {
            const double foot = b.r + M.delay + (b.kind == BeatKind::Pvc ? 0.035 : 0.0);
            const double ej = M.ejection * std::sqrt(b.rr > 0.3 ? b.rr / 0.75 : 0.4)
                              * (b.kind == BeatKind::Pvc ? 0.8 : 1.0);
            onset.push_back(int((foot - timeOf(0)) * Fs));
            ejectEnd.push_back(int((foot + ej - timeOf(0)) * Fs));
            const int from = int((foot - timeOf(0)) * Fs);
            const int to = int((foot + ej + 0.4 - timeOf(0)) * Fs);
            for (int i = from; i <= to; ++i) {
                if (i < 0 || i >= Total) continue;
                const double s = timeOf(i) - foot;
                if (s < 0.0) continue;
                if (s < ej) {
                    // Early-peaking flow that stops when the valve closes.
                    const double q = (s / M.rise) * std::exp(1.0 - s / M.rise);
                    inflow[i] += b.stroke * q * (1.0 - smoothstep((s - 0.8 * ej) / (0.2 * ej)));
                }
                extra[i] += b.stroke * (M.reflection * gaussBump(s, 0.55 * ej, 0.045)
                                        - M.notch * gaussBump(s, ej, 0.014)
                                        + M.dicrotic * skewBump(s, ej + 0.05, 0.022, 0.05));
            }
        }
    }

    std::vector<double> pressure()
    {
        // The mapped floor falls as the time constant grows: bisect.
        double lo = 0.2, hi = 8.0;
        for (int k = 0; k < 40; ++k) {
            const double mid = 0.5 * (lo + hi);
            double floorMapped = 0.0;
            simulate(mid, floorMapped);
            if (floorMapped > M.floor) lo = mid; else hi = mid;
        }
        double floorMapped = 0.0;
        return simulate(0.5 * (lo + hi), floorMapped);
    }

private:
    bool usable(size_t k) const
    {
        return onset[k] >= Pre && ejectEnd[k] < Total && beats[k].kind == BeatKind::Sinus
               && !beats[k].afterPvc;
    }

    std::vector<double> simulate(double tau, double& floorMapped) const
    {
        // Windkessel, exact exponential decay per sample, run-off towards 0.
        const double decay = std::exp(-1.0 / (Fs * tau));
        std::vector<double> p(Total, 0.0);
        double level = 0.0;
        for (int i = 0; i < Total; ++i) {
            level = level * decay + inflow[i] / Fs;
            p[i] = level;
        }

        // Pulse size of the Windkessel alone, so the added waves scale with it.
        std::vector<double> pulses;
        for (size_t k = 0; k < beats.size(); ++k) {
            if (!usable(k)) continue;
            double top = p[onset[k]];
            for (int i = onset[k]; i <= ejectEnd[k]; ++i) top = std::max(top, p[i]);
            pulses.push_back(top - p[onset[k]]);
        }
        const double pulse = median(pulses);
        for (int i = 0; i < Total; ++i)
            p[i] += pulse * extra[i];

        std::vector<double> sys, dia;
        for (size_t k = 0; k < beats.size(); ++k) {
            if (!usable(k)) continue;
            double top = p[onset[k]], bottom = p[onset[k]];
            for (int i = onset[k]; i <= ejectEnd[k]; ++i) top = std::max(top, p[i]);
            for (int i = onset[k] - int(0.05 * Fs); i <= onset[k] + int(0.03 * Fs); ++i)
                bottom = std::min(bottom, p[i]);
            sys.push_back(top);
            dia.push_back(bottom);
        }
        const double s0 = median(sys), d0 = median(dia);
        const double gain = (M.systolic - M.diastolic) / (s0 - d0);
        for (int i = 0; i < Total; ++i)
            p[i] = M.diastolic + (p[i] - d0) * gain;
        floorMapped = M.diastolic - d0 * gain;
        return p;
    }

    const ArterialModel& M;
    const std::vector<Beat>& beats;
    std::vector<double> inflow, extra;
    std::vector<int> onset, ejectEnd;
};

// Central venous pressure: a wave (atrial contraction), c wave (tricuspid
// bulging), x descent, v wave (atrial filling) and y descent per beat.
std::vector<double> makeCvp(const std::vector<Beat>& beats)
{
    std::vector<double> x(Total, 0.0);
    for (const Beat& b : beats) {
        const int centre = int((b.r - timeOf(0)) * Fs);
        const double late = std::sqrt(b.rr > 0.3 ? b.rr / 0.75 : 0.4);
        for (int i = centre - int(0.4 * Fs); i <= centre + int(0.9 * Fs); ++i) {
            if (i < 0 || i >= Total) continue;
            const double s = timeOf(i) - b.r;
            double v = 0.0;
            if (b.kind == BeatKind::Pvc) {
                // Atrium contracts against a closed tricuspid valve: cannon a wave.
                v += 6.0 * skewBump(s, 0.10, 0.04, 0.06);
            } else {
                v += 3.8 * skewBump(s, -0.06, 0.05, 0.035);
            }
            v += 1.6 * gaussBump(s, 0.07, 0.025);
            v -= 2.4 * gaussBump(s, 0.20, 0.055);
            v += 2.5 * skewBump(s, 0.40 * late, 0.07, 0.04);
            v -= 2.2 * gaussBump(s, 0.40 * late + 0.15, 0.06);
            x[i] += v;
        }
    }
    return x;
}

// ---------------------------------------------------------------- output

struct Channel
{
    const char* name;
    int decimals;
    std::vector<double> values;  // Total samples; Pre..Pre+N-1 are written
};

// Value rounded to a fixed number of decimals, formatted from integers so
// that the text depends only on the rounded value.
std::string formatFixed(double v, int decimals)
{
    long long scale = 1;
    for (int k = 0; k < decimals; ++k) scale *= 10;
    const long long q = std::llround(v * double(scale));
    const long long a = q < 0 ? -q : q;
    char buf[64];
    if (decimals == 0)
        std::snprintf(buf, sizeof buf, "%s%lld", q < 0 ? "-" : "", a);
    else
        std::snprintf(buf, sizeof buf, "%s%lld.%0*lld", q < 0 ? "-" : "", a / scale, decimals, a % scale);
    return buf;
}

bool writeChannel(const std::string& dir, const Channel& c)
{
    const std::string path = dir + "/" + c.name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "gensignals: cannot write %s\n", path.c_str());
        return false;
    }
    std::string text;
    text.reserve(size_t(N) * 24);
    char tbuf[32];
    for (int k = 0; k < N; ++k) {
        std::snprintf(tbuf, sizeof tbuf, "%g", k / Fs);
        text += tbuf;
        text += ' ';
        text += formatFixed(c.values[Pre + k], c.decimals);
        text += '\n';
    }
    const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return (std::fclose(f) == 0) && ok;
}

void printStats(const Channel& c)
{
    double lo = 1e300, hi = -1e300, sum = 0.0;
    for (int k = 0; k < N; ++k) {
        const double v = c.values[Pre + k];
        lo = std::min(lo, v);
        hi = std::max(hi, v);
        sum += v;
    }
    std::printf("%-24s min %10.3f  max %10.3f  range %10.3f  mean %10.3f\n",
                c.name, lo, hi, hi - lo, sum / N);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: gensignals OUTPUT_DIR [--stats]\n");
        return 2;
    }
    const std::string dir = argv[1];
    const bool stats = argc > 2 && std::strcmp(argv[2], "--stats") == 0;
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) {
        std::fprintf(stderr, "gensignals: cannot create %s: %s\n", dir.c_str(), error.message().c_str());
        return 1;
    }

    // One generator per purpose, so that retuning one channel leaves the
    // others' noise as it was.
    Rng rhythmRng(0x6D676830333801ULL), breathRng(0x6D676830333802ULL);
    Rng noiseEcg1(0x6D676830333811ULL), noiseEcg2(0x6D676830333812ULL), noiseEcg3(0x6D676830333813ULL);
    Rng noiseArt(0x6D676830333821ULL), noisePap(0x6D676830333822ULL), noiseCvp(0x6D676830333823ULL);
    Rng noiseResp(0x6D676830333831ULL), noiseCo2(0x6D676830333832ULL);

    // Breathing: lung volume, normalised to about 0..1.
    const std::vector<Breath> breaths = makeBreaths(breathRng);
    std::vector<double> vol(Total), co2raw(Total);
    {
        size_t k = 0;
        const double co2Delay = 0.12;  // sampling line transit
        for (int i = 0; i < Total; ++i) {
            const double t = timeOf(i);
            while (k + 1 < breaths.size() && breaths[k + 1].start <= t) ++k;
            vol[i] = lungVolume(breaths[k], t);

            // Capnogram of the breath whose gas reaches the sensor now.
            const double tc = t - co2Delay;
            size_t j = k;
            while (j > 0 && breaths[j].start > tc) --j;
            const Breath& b = breaths[j];
            const double s = tc - b.start;
            double c = 0.0;
            if (s >= b.inspTime) {
                const double u = s - b.inspTime;
                const double expTime = b.length - b.inspTime;
                const double phase2 = 1.0 / (1.0 + std::exp(-(u - 0.16) / 0.035));
                const double phase3 = 0.90 + 0.10 * std::sqrt(std::min(1.0, u / expTime));
                c = b.etCO2 * phase2 * phase3;
            }
            co2raw[i] = c;
        }
    }

    const std::vector<Beat> beats = makeBeats(rhythmRng, vol);

    // ECG leads (microvolts). Lead II carries the tallest complexes.
    const LeadShape leadI{70, -35, 620, -110, 170, 15, 520, -160, -220, 9, 9, 45, 0.05};
    const LeadShape leadII{140, -70, 1380, -230, 300, 25, 1450, -300, -380, 14, 11, 60, 0.06};
    const LeadShape leadV{95, -110, 880, -380, 260, 35, -650, 220, 300, 11, 12, 80, 0.08};
    std::vector<double> ecg1 = makeEcg(leadI, beats, vol, noiseEcg1, 0.3);
    std::vector<double> ecg2 = makeEcg(leadII, beats, vol, noiseEcg2, 0.5);
    std::vector<double> ecg3 = makeEcg(leadV, beats, vol, noiseEcg3, 0.9);

    // Pressures (mmHg). Spontaneous breathing lowers the intrathoracic
    // pressure in inspiration, which shows on every pressure.
    const ArterialModel artModel{0.175, 0.035, 0.31, 0.10, 0.09, 0.075, 120.0, 70.0, 25.0};
    const ArterialModel papModel{0.095, 0.05, 0.30, 0.04, 0.05, 0.04, 25.0, 10.0, 6.0};
    std::vector<double> art = Arterial(artModel, beats).pressure();
    std::vector<double> pap = Arterial(papModel, beats).pressure();
    std::vector<double> cvp = makeCvp(beats);
    for (int i = 0; i < Total; ++i) {
        art[i] += -2.0 * (vol[i] - 0.5) + 0.18 * noiseArt.gauss();
        pap[i] += -3.0 * (vol[i] - 0.5) + 0.12 * noisePap.gauss();
        cvp[i] += 6.0 - 3.0 * (vol[i] - 0.5) + 0.10 * noiseCvp.gauss();
    }

    // Impedance pneumogram (ohms, AC coupled): lung volume plus a small
    // cardiogenic oscillation with every beat.
    std::vector<double> resp(Total, 0.0);
    for (const Beat& b : beats) {
        const int centre = int((b.r - timeOf(0)) * Fs);
        for (int i = centre; i <= centre + int(0.6 * Fs); ++i) {
            if (i < 0 || i >= Total) continue;
            const double s = timeOf(i) - b.r;
            resp[i] += 0.035 * b.stroke * (gaussBump(s, 0.22, 0.07) - 0.6 * gaussBump(s, 0.42, 0.08));
        }
    }
    for (int i = 0; i < Total; ++i) {
        const double t = timeOf(i);
        resp[i] += 0.85 * (vol[i] - 0.42) + 0.06 * std::sin(2.0 * Pi * 0.021 * t + 2.0)
                   + 0.004 * noiseResp.gauss();
    }

    // Capnogram (mmHg): rounded edges from the sensor's response, never negative.
    std::vector<double> co2 = movingAverage(co2raw, int(0.03 * Fs));
    for (int i = 0; i < Total; ++i) {
        double c = co2[i] + 0.06 * noiseCo2.gauss();
        co2[i] = c < 0.0 ? 0.0 : c;
    }

    const Channel channels[] = {
        {"ART_mgh038.txt", 2, art},
        {"CO2_mgh038.txt", 2, co2},
        {"CVP_mgh038.txt", 2, cvp},
        {"ECG lead I_mgh038.txt", 1, ecg1},
        {"ECG lead II_mgh038.txt", 1, ecg2},
        {"ECG lead V_mgh038.txt", 1, ecg3},
        {"PAP_mgh038.txt", 2, pap},
        {"Resp. Imp._mgh038.txt", 4, resp},
    };
    bool ok = true;
    for (const Channel& c : channels) {
        ok = writeChannel(dir, c) && ok;
        if (stats) printStats(c);
    }
    if (stats) {
        int inWindow = 0;
        for (const Beat& b : beats)
            if (b.r >= 0.0 && b.r < N / Fs) ++inWindow;
        std::printf("beats in record: %d, breaths: %zu\n", inWindow, breaths.size());
    }
    return ok ? 0 : 1;
}
