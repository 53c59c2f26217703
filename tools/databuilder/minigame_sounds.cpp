// EFFECT.MKF: the mini-games' sounds (11-14 and 16-24; 15, the bomb, is the
// board's warning) and the setup screen's pick (5).
#include "builder.h"
#include "sound_synth.h"

namespace {

void notes(Synth& s, std::initializer_list<double> freqs, int ms, double decay) {
    for (double f : freqs)
        s.tone(f, f, ms, 0, 0.7, decay);
}

void build_minigame_sounds(DataBuilder& b) {
    ArchiveWriter& a = builder_archive(b, "EFFECT.MKF");
    auto add = [&a](int entry, auto make) {
        Synth s;
        make(s);
        mkf_writer_add(a, entry, wave_image_u8(s.u8(), 22050));
    };
    add(5, [](Synth& s) { notes(s, {988, 1319}, 60, 14); }); // the setup's pick
    add(11, [](Synth& s) {                                   // walking (looped)
        for (int i = 0; i < 2; ++i) {
            s.noise(25, 0.5, 0.3, 70);
            s.silence(175);
        }
    });
    add(12, [](Synth& s) { notes(s, {660, 880}, 70, 12); });                       // arrival
    add(13, [](Synth& s) { notes(s, {523, 659, 784, 1047, 784, 1047}, 120, 3); }); // good ending
    add(14, [](Synth& s) { notes(s, {392, 370, 349, 330}, 200, 2); });             // bad ending
    add(16, [](Synth& s) { notes(s, {1319, 1568}, 60, 12); });                     // a small piece
    add(17, [](Synth& s) { notes(s, {1047, 1319, 1568}, 60, 10); });               // a middle piece
    add(18, [](Synth& s) { notes(s, {1047, 1319, 1568, 2093}, 70, 8); });          // the big piece
    add(19, [](Synth& s) { s.tone(300, 700, 60, 0, 0.5, 10); });                   // a new target
    add(20, [](Synth& s) { s.tone(180, 120, 70, 1, 0.4, 20); });                   // a miss
    add(21, [](Synth& s) {                                                         // a hit
        s.noise(15, 0.8, 0.7, 100);
        s.tone(1760, 1400, 80, 0, 0.6, 15);
    });
    add(22, [](Synth& s) { s.noise(160, 0.6, 0.5, 8); }); // a bomb thrown
    add(23, [](Synth& s) {                                // the running loop
        for (int i = 0; i < 4; ++i) {
            s.tone(i % 2 ? 392 : 523, i % 2 ? 392 : 523, 120, 2, 0.25, 4);
            s.silence(30);
        }
    });
    add(24, [](Synth& s) { s.noise(300, 0.3, 0.9, 0); }); // the fuse (looped)
}

} // namespace

KARVO_DATA_GENERATOR(build_minigame_sounds);
