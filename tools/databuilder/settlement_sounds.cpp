// EFFECT.MKF 145-149: the month-end settlement screen's effect list, loaded
// while the screen is open: a chime, coins, a drum roll, a fanfare and a
// falling horn.
#include "builder.h"
#include "sound_synth.h"

#include "finance/settlement_screen.h"

namespace {

Synth chime() { // the bank's greeting
    Synth s;
    for (double f : {1319.0, 1047.0, 1568.0})
        s.tone(f, f, 120, 0, 0.5, 7);
    return s;
}

Synth coins() { // the bonus is paid
    Synth s;
    for (int k = 0; k < 6; ++k) {
        s.tone(3200 - 140 * k, 2900 - 140 * k, 40, 0, 0.45, 30);
        s.noise(12, 0.3, 0.9, 120);
        s.silence(30 + 10 * (k % 2));
    }
    return s;
}

Synth drum_roll() { // an award is about to be named
    Synth s;
    for (int k = 0; k < 16; ++k) {
        s.noise(22, 0.4 + 0.03 * k, 0.35, 60);
        s.silence(14);
    }
    s.noise(80, 0.9, 0.5, 20);
    return s;
}

Synth fanfare() { // the champion
    Synth s;
    for (double f : {392.0, 523.0, 659.0})
        s.tone(f, f, 110, 2, 0.45, 4);
    s.tone(784, 784, 420, 2, 0.5, 3);
    return s;
}

Synth falling_horn() { // the month's unluckiest
    Synth s;
    for (double f : {392.0, 370.0, 349.0})
        s.tone(f, f, 200, 2, 0.45, 3);
    s.tone(330, 290, 520, 2, 0.45, 3);
    return s;
}

void build_settlement_sounds(DataBuilder& b) {
    ArchiveWriter& effects = builder_archive(b, "EFFECT.MKF");
    const Synth list[SETTLE_EFFECT_COUNT] = {chime(), coins(), drum_roll(), fanfare(),
                                             falling_horn()};
    for (int k = 0; k < SETTLE_EFFECT_COUNT; ++k)
        mkf_writer_add(effects, SETTLE_EFFECT_FIRST + k, wave_image_u8(list[k].u8(), 22050));
}

} // namespace

KARVO_DATA_GENERATOR(build_settlement_sounds);
