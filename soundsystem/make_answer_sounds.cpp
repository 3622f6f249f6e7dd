// Writes the two answer sounds, right.wav and wrong.wav, into the folder given
// on the command line. They are synthesised rather than checked in so that the
// build owns them completely: 16-bit PCM, mono, 44100 Hz.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;

struct Note
{
    double frequency; // Hz
    double start;     // s
    double length;    // s, including the release
    double decay;     // s, time constant of the exponential decay
};

struct Timbre
{
    std::vector<double> partials; // amplitude of harmonic 1, 2, 3, ...
    double attack;                // s
    double release;               // s
};

// Smooth 0 -> 1 ramp over `length` seconds; no corner, so no click.
double Ramp(double t, double length)
{
    if (t >= length)
        return 1.0;
    const double s = std::sin(0.5 * std::numbers::pi * t / length);
    return s * s;
}

std::vector<double> Render(const std::vector<Note>& notes, const Timbre& timbre, double duration, double peak)
{
    std::vector<double> samples(static_cast<std::size_t>(duration * kRate), 0.0);
    for (const Note& note : notes) {
        const auto first = static_cast<std::size_t>(note.start * kRate);
        const auto count = static_cast<std::size_t>(note.length * kRate);
        for (std::size_t i = 0; i < count && first + i < samples.size(); ++i) {
            const double t = static_cast<double>(i) / kRate;
            double value = 0.0;
            for (std::size_t h = 0; h < timbre.partials.size(); ++h) {
                const double k = static_cast<double>(h + 1);
                // Higher partials die away faster, which keeps the tail mellow.
                value += timbre.partials[h] * std::exp(-t * (k - 1.0) / note.decay)
                         * std::sin(2.0 * std::numbers::pi * note.frequency * k * t);
            }
            const double envelope = Ramp(t, timbre.attack) * std::exp(-t / note.decay)
                                    * Ramp(note.length - t, timbre.release);
            samples[first + i] += value * envelope;
        }
    }

    // Fade the very end so the sound stops at exactly zero, then normalise.
    const double fade = 0.02;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double left = static_cast<double>(samples.size() - 1 - i) / kRate;
        samples[i] *= Ramp(left, fade);
    }
    double highest = 0.0;
    for (double s : samples)
        highest = std::max(highest, std::abs(s));
    if (highest > 0.0)
        for (double& s : samples)
            s *= peak / highest;
    return samples;
}

void PutLE(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

bool WriteWave(const std::filesystem::path& path, const std::vector<double>& samples)
{
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::string out;
    out += "RIFF";
    PutLE(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    PutLE(out, 16, 4);        // fmt chunk size
    PutLE(out, 1, 2);         // PCM
    PutLE(out, 1, 2);         // mono
    PutLE(out, kRate, 4);     // sample rate
    PutLE(out, kRate * 2, 4); // byte rate
    PutLE(out, 2, 2);         // block align
    PutLE(out, 16, 2);        // bits per sample
    out += "data";
    PutLE(out, dataBytes, 4);
    for (double s : samples) {
        const long value = std::lround(std::clamp(s, -1.0, 1.0) * 32767.0);
        PutLE(out, static_cast<std::uint32_t>(static_cast<std::uint16_t>(static_cast<std::int16_t>(value))), 2);
    }

    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(file);
}

// A bright rising C major arpeggio; the notes ring into each other like a chime.
std::vector<double> RightSound()
{
    const Timbre chime{{1.0, 0.28, 0.09, 0.03}, 0.004, 0.03};
    const std::vector<Note> notes{
        {1046.50, 0.00, 0.35, 0.09}, // C6
        {1318.51, 0.07, 0.28, 0.09}, // E6
        {1567.98, 0.14, 0.21, 0.11}, // G6
    };
    return Render(notes, chime, 0.35, 0.55);
}

// A soft falling major third an octave and more below, clearly separated.
std::vector<double> WrongSound()
{
    const Timbre soft{{1.0, 0.15, 0.05}, 0.012, 0.04};
    const std::vector<Note> notes{
        {329.63, 0.00, 0.19, 0.20}, // E4
        {261.63, 0.19, 0.21, 0.18}, // C4
    };
    return Render(notes, soft, 0.40, 0.50);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "cannot create %s: %s\n", folder.c_str(), error.message().c_str());
        return 1;
    }
    if (!WriteWave(folder / "right.wav", RightSound()) || !WriteWave(folder / "wrong.wav", WrongSound())) {
        std::fprintf(stderr, "cannot write the answer sounds into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
