#include "tools/song-synth/tune.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace song {

namespace {

constexpr int C3 = 48, E3 = 52, F3 = 53, G3 = 55, A3 = 57;
constexpr int C4 = 60, D4 = 62, E4 = 64, G4 = 67, A4 = 69, B3 = 59;
constexpr int C5 = 72, D5 = 74;

double Frequency(int pitch) { return 440.0 * std::pow(2.0, (pitch - 69) / 12.0); }

// One voice's timbre: harmonic amplitudes and the envelope's shape.
struct Voice {
    double harmonics[4];
    double attack;   // seconds
    double decay;    // seconds to fall to the sustain level
    double sustain;  // level held after the decay
    double release;  // seconds of fade after the note's end
    double vibrato;  // depth in semitones
};

constexpr Voice kFlute = {{1.0, 0.35, 0.12, 0.05}, 0.02, 0.15, 0.7, 0.12, 0.12};
constexpr Voice kPluck = {{1.0, 0.5, 0.25, 0.1}, 0.005, 0.6, 0.15, 0.2, 0.0};
constexpr Voice kPad = {{1.0, 0.2, 0.05, 0.0}, 0.25, 0.4, 0.8, 0.4, 0.0};

double Envelope(const Voice& v, double t, double held)
{
    if (t < 0) return 0;
    double level;
    if (t < v.attack) {
        level = t / v.attack;
    } else if (t < v.attack + v.decay) {
        level = 1.0 - (1.0 - v.sustain) * (t - v.attack) / v.decay;
    } else {
        level = v.sustain;
    }
    if (t > held) level *= std::max(0.0, 1.0 - (t - held) / v.release);
    return level;
}

void AddNote(std::vector<float>& out, int rate, const Voice& voice, const Note& note, double secondsPerBeat,
             double gain)
{
    const double start = note.beat * secondsPerBeat;
    const double held = note.length * secondsPerBeat * 0.92;
    const double end = held + voice.release;
    const double f = Frequency(note.pitch);
    const std::size_t first = static_cast<std::size_t>(start * rate);
    const std::size_t count = static_cast<std::size_t>(end * rate);
    double phase = 0;
    for (std::size_t i = 0; i < count && first + i < out.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        const double wobble =
            voice.vibrato * std::sin(2 * std::numbers::pi * 5.0 * t) * std::min(1.0, t / 0.3);
        phase += 2 * std::numbers::pi * f * std::pow(2.0, wobble / 12.0) / rate;
        double s = 0;
        for (int h = 0; h < 4; ++h) s += voice.harmonics[h] * std::sin((h + 1) * phase);
        out[first + i] += static_cast<float>(s * Envelope(voice, t, held) * note.loudness * gain);
    }
}

void Chord(Tune& tune, double beat, double length, int root, std::initializer_list<int> tones)
{
    // Bass on the beats, the chord held underneath.
    for (double b = 0; b < length; b += 1) {
        tune.accompaniment.push_back({beat + b, 1, b == 0 ? root : root + 7, 0.55});
    }
    for (int tone : tones) tune.accompaniment.push_back({beat, length, tone, 0.18});
}

}  // namespace

Tune SampleTune()
{
    Tune tune;
    auto line = [&](double beat, std::initializer_list<std::pair<int, double>> notes) {
        for (const auto& [pitch, length] : notes) {
            tune.melody.push_back({beat, length, pitch, 0.8});
            beat += length;
        }
    };
    // Introduction: the tonic chord broken upwards.
    line(0, {{C4, 1}, {E4, 1}, {G4, 1}, {C5, 1}});
    for (auto& n : tune.melody) n.loudness = 0.5;
    line(4, {{E4, 1}, {G4, 1}, {A4, 1}, {G4, 1}, {E4, 1}, {D4, 1}, {C4, 2}});
    line(12, {{D4, 1}, {E4, 1}, {G4, 1}, {A4, 1}, {G4, 1}, {E4, 1}, {D4, 2}});
    line(20, {{A4, 1}, {C5, 1}, {D5, 1}, {C5, 1}, {A4, 1}, {G4, 1}, {E4, 2}});
    line(28, {{D4, 1}, {E4, 1}, {G4, 1}, {E4, 1}, {D4, 1}, {C4, 3}});

    Chord(tune, 0, 4, C3, {E4 - 12, G3, C4});
    Chord(tune, 4, 4, C3, {E3, G3, C4});
    Chord(tune, 8, 4, F3, {A3, C4, F3 + 12});
    Chord(tune, 12, 4, G3 - 12, {B3, D4, G3});
    Chord(tune, 16, 4, G3 - 12, {B3, D4, G3});
    Chord(tune, 20, 4, A3 - 12, {C4, E4, A3});
    Chord(tune, 24, 4, C3, {E3, G3, C4});
    Chord(tune, 28, 4, G3 - 12, {B3, D4, G3});
    Chord(tune, 32, 4, C3, {E3, G3, C4});
    tune.accompaniment.push_back({36, 2, C3, 0.5});
    tune.accompaniment.push_back({36, 2, E3, 0.2});
    tune.accompaniment.push_back({36, 2, G3, 0.2});
    tune.melody.push_back({36, 2, C5, 0.6});
    tune.totalBeats = 39;
    return tune;
}

Stereo Render(const Tune& tune, int sampleRate)
{
    const double secondsPerBeat = 60.0 / tune.beatsPerMinute;
    const std::size_t total = static_cast<std::size_t>(tune.totalBeats * secondsPerBeat * sampleRate);
    std::vector<float> melody(total, 0.0f), bass(total, 0.0f), pad(total, 0.0f);
    for (const Note& n : tune.melody) AddNote(melody, sampleRate, kFlute, n, secondsPerBeat, 0.5);
    for (const Note& n : tune.accompaniment) {
        if (n.length <= 1)
            AddNote(bass, sampleRate, kPluck, n, secondsPerBeat, 0.5);
        else
            AddNote(pad, sampleRate, kPad, n, secondsPerBeat, 0.5);
    }
    // A little width: the pad leans left, the bass right, the melody stays in
    // the middle, and a soft echo a dotted eighth later.
    Stereo out;
    out.left.resize(total);
    out.right.resize(total);
    const std::size_t echo = static_cast<std::size_t>(0.75 * secondsPerBeat * sampleRate);
    float peak = 0;
    for (std::size_t i = 0; i < total; ++i) {
        const float delayed = i >= echo ? melody[i - echo] * 0.25f : 0.0f;
        out.left[i] = melody[i] + 0.6f * pad[i] + 0.4f * bass[i] + delayed;
        out.right[i] = melody[i] + 0.4f * pad[i] + 0.6f * bass[i] + 0.8f * delayed;
        peak = std::max({peak, std::abs(out.left[i]), std::abs(out.right[i])});
    }
    const float scale = peak > 0 ? 0.8f / peak : 1.0f;
    // A short fade in and out, so the song starts and ends without a click.
    const std::size_t fade = static_cast<std::size_t>(0.01 * sampleRate);
    for (std::size_t i = 0; i < total; ++i) {
        float g = scale;
        if (i < fade) g *= static_cast<float>(i) / fade;
        if (total - i < fade) g *= static_cast<float>(total - i) / fade;
        out.left[i] *= g;
        out.right[i] *= g;
    }
    return out;
}

}  // namespace song
