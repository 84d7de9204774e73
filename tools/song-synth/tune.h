#pragma once
// The sample song: a short tune in C major, written as notes, and its
// rendering to stereo samples by simple additive synthesis.
#include <vector>

namespace song {

struct Note {
    double beat;      // start, in beats from the beginning
    double length;    // in beats
    int pitch;        // MIDI note number, 60 = middle C
    double loudness;  // 0..1
};

struct Tune {
    double beatsPerMinute = 96;
    double totalBeats = 0;  // the tune's length, the last note's tail included
    std::vector<Note> melody;
    std::vector<Note> accompaniment;
};

// The sample song "相册小调": a bar of introduction, four sung lines of two
// bars each (starting at beats 4, 12, 20 and 28), and a closing chord.
Tune SampleTune();

// Renders the tune at the given rate; left and right get the same number of
// samples, with peaks kept below full scale.
struct Stereo {
    std::vector<float> left, right;
};
Stereo Render(const Tune& tune, int sampleRate);

}  // namespace song
