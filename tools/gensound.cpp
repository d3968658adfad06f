// gensound OKPATH BADPATH
//
// Synthesizes the two sounds the program plays after an answer and writes them
// as 16-bit mono PCM WAV files at 22050 Hz:
//   OKPATH  - applause: many short claps of filtered noise, about 1.5 s;
//   BADPATH - a siren: a tone with harmonics sweeping up and down, about 1.5 s.
// Both are equally loud (the same RMS) and end with 200 ms of silence,
// because the playback tends to cut off the last moment of a sound. The output is the same on every
// run (fixed seed).

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int SampleRate = 22050;
constexpr double Pi = 3.14159265358979323846;
constexpr double SoundSeconds = 1.5;
constexpr double SilenceSeconds = 0.2;

// Random numbers with the same sequence everywhere: mt19937 is fully defined
// by the standard, the distributions are not, so the conversion is our own.
class TRandom {
public:
    explicit TRandom(std::uint32_t seed) : Engine(seed) {}
    // A number in [0, 1).
    double Unit() { return (Engine() >> 8) * (1.0 / 16777216.0); }
    double Range(double low, double high) { return low + (high - low) * Unit(); }

private:
    std::mt19937 Engine;
};

// A two-pole band-pass filter (constant peak gain), used to colour the noise
// of a clap.
class TBandPass {
public:
    TBandPass(double centre, double q) {
        const double w = 2.0 * Pi * centre / SampleRate;
        const double alpha = std::sin(w) / (2.0 * q);
        const double a0 = 1.0 + alpha;
        B0 = alpha / a0;
        B2 = -alpha / a0;
        A1 = -2.0 * std::cos(w) / a0;
        A2 = (1.0 - alpha) / a0;
    }
    double Step(double x) {
        const double y = B0 * x + B2 * X2 - A1 * Y1 - A2 * Y2;
        X2 = X1;
        X1 = x;
        Y2 = Y1;
        Y1 = y;
        return y;
    }

private:
    double B0 = 0, B2 = 0, A1 = 0, A2 = 0;
    double X1 = 0, X2 = 0, Y1 = 0, Y2 = 0;
};

// Scales the samples so that the loudest one reaches the given peak.
void Normalize(std::vector<double>& samples, double peak) {
    double top = 0.0;
    for (double s : samples)
        top = std::max(top, std::fabs(s));
    if (top <= 0.0)
        return;
    const double k = peak / top;
    for (double& s : samples)
        s *= k;
}

double Rms(const std::vector<double>& samples) {
    double sum = 0.0;
    for (double s : samples)
        sum += s * s;
    return samples.empty() ? 0.0 : std::sqrt(sum / samples.size());
}

std::vector<double> Applause() {
    const int length = static_cast<int>(SoundSeconds * SampleRate);
    std::vector<double> out(length, 0.0);
    TRandom random(20240917u);

    // Claps are placed by walking through time; the mean gap follows the
    // crowd: a few hands at first, a dense middle, then dying away.
    double t = 0.01;
    while (t < SoundSeconds - 0.03) {
        const double x = t / SoundSeconds;                    // 0..1
        const double density = std::sin(Pi * x);              // 0..1..0
        const double rate = 25.0 + 330.0 * density * density; // claps per second
        const double loudness = 0.35 + 0.65 * density;

        const int start = static_cast<int>(t * SampleRate);
        const double clapSeconds = random.Range(0.005, 0.020);
        const int clapLength = static_cast<int>(clapSeconds * SampleRate);
        // Each clap has its own colour and its own fall.
        TBandPass filter(random.Range(700.0, 2600.0), random.Range(0.8, 2.0));
        const double decay = std::exp(-5.0 / clapLength);
        double envelope = loudness * random.Range(0.5, 1.0);
        for (int i = 0; i < clapLength && start + i < length; ++i) {
            const double attack = i < 22 ? i / 22.0 : 1.0; // 1 ms rise, no click
            out[start + i] += filter.Step(random.Range(-1.0, 1.0)) * envelope * attack;
            envelope *= decay;
        }
        // Exponential gaps give a natural, irregular rhythm.
        t += -std::log(1.0 - random.Unit()) / rate;
    }

    // A gentle fade at both ends, then a fixed peak.
    const int fade = SampleRate / 20;
    for (int i = 0; i < fade && i < length; ++i) {
        out[i] *= static_cast<double>(i) / fade;
        out[length - 1 - i] *= static_cast<double>(i) / fade;
    }
    // Soft limiting keeps a few coinciding claps from dictating the level.
    Normalize(out, 1.0);
    for (double& s : out)
        s = std::tanh(2.0 * s);
    Normalize(out, 0.85);
    return out;
}

std::vector<double> Siren() {
    const int length = static_cast<int>(SoundSeconds * SampleRate);
    std::vector<double> out(length, 0.0);
    const double low = 600.0;
    const double high = 1200.0;
    const double cycle = SoundSeconds / 2.0; // up and down twice
    // Harmonic amplitudes give the tone a hard, horn-like colour.
    const double harmonics[] = {1.0, 0.55, 0.35, 0.22, 0.12};
    double phase = 0.0;
    for (int i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        const double position = std::fmod(t, cycle) / cycle;            // 0..1
        const double sweep = 0.5 - 0.5 * std::cos(2.0 * Pi * position); // 0..1..0
        const double frequency = low + (high - low) * sweep;
        phase += 2.0 * Pi * frequency / SampleRate;
        if (phase > 2.0 * Pi)
            phase -= 2.0 * Pi;
        double s = 0.0;
        for (std::size_t h = 0; h < sizeof harmonics / sizeof harmonics[0]; ++h) {
            // Drop any harmonic that would come too close to the Nyquist limit.
            if (frequency * (h + 1) < SampleRate * 0.45)
                s += harmonics[h] * std::sin(phase * (h + 1));
        }
        out[i] = s;
    }
    const int fade = SampleRate / 100; // 10 ms, no clicks
    for (int i = 0; i < fade && i < length; ++i) {
        out[i] *= static_cast<double>(i) / fade;
        out[length - 1 - i] *= static_cast<double>(i) / fade;
    }
    Normalize(out, 0.7);
    return out;
}

void PutU16(std::string& b, unsigned v) {
    b.push_back(static_cast<char>(v & 0xff));
    b.push_back(static_cast<char>((v >> 8) & 0xff));
}

void PutU32(std::string& b, std::uint32_t v) {
    PutU16(b, v & 0xffff);
    PutU16(b, v >> 16);
}

// Writes the samples followed by the closing silence. Returns false with a
// message on standard error when the file cannot be written.
bool WriteWav(const char* path, const std::vector<double>& samples) {
    const std::size_t silence = static_cast<std::size_t>(SilenceSeconds * SampleRate);
    const std::size_t count = samples.size() + silence;
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(count * 2);

    std::string bytes;
    bytes.reserve(44 + dataBytes);
    bytes += "RIFF";
    PutU32(bytes, 36 + dataBytes);
    bytes += "WAVE";
    bytes += "fmt ";
    PutU32(bytes, 16);             // format chunk size
    PutU16(bytes, 1);              // PCM
    PutU16(bytes, 1);              // mono
    PutU32(bytes, SampleRate);     // sample rate
    PutU32(bytes, SampleRate * 2); // bytes per second
    PutU16(bytes, 2);              // bytes per frame
    PutU16(bytes, 16);             // bits per sample
    bytes += "data";
    PutU32(bytes, dataBytes);
    for (double s : samples) {
        const double clipped = std::clamp(s, -1.0, 1.0);
        const long v = std::lround(clipped * 32767.0);
        PutU16(bytes,
               static_cast<unsigned>(static_cast<std::uint16_t>(static_cast<std::int16_t>(v))));
    }
    bytes.append(silence * 2, '\0');

    std::FILE* f = std::fopen(path, "wb");
    if (!f) {
        std::fprintf(stderr, "gensound: cannot create %s: %s\n", path, std::strerror(errno));
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const int savedErrno = errno;
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed) {
        std::fprintf(stderr, "gensound: cannot write %s: %s\n", path,
                     std::strerror(written ? errno : savedErrno));
        std::remove(path);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: gensound OKPATH BADPATH\n");
        return 1;
    }
    const std::vector<double> applause = Applause();
    // The siren is a steady tone and would sound far louder than the claps
    // at the same peak: it is brought down to the applause's loudness (RMS).
    std::vector<double> siren = Siren();
    const double k = Rms(applause) / Rms(siren);
    for (double& s : siren)
        s *= k;
    if (!WriteWav(argv[1], applause))
        return 1;
    if (!WriteWav(argv[2], siren))
        return 1;
    return 0;
}
