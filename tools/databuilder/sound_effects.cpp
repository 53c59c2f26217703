// EFFECT.MKF: the interface sounds, the board's sounds and the animations'
// sounds, each a short synthesised PCM WAVE (mono, 8-bit, 22050 Hz).
#include "builder.h"
#include "sound_synth.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

struct EffectRecipe {
    int entry;
    const char* use;
    std::function<void(Synth&)> make;
};

// Chimes: notes of ms each, sine with a bell's fade.
void notes(Synth& s, std::initializer_list<double> freqs, int ms, double decay) {
    for (double f : freqs)
        s.tone(f, f, ms, 0, 0.7, decay);
}

// A ticking pattern: `count` clicks of `freq` every `period` ms.
void ticks(Synth& s, int count, int period, double freq, int shape) {
    for (int i = 0; i < count; ++i) {
        s.tone(freq, freq * 0.9, 12, shape, 0.7, 60);
        s.silence(period - 12);
    }
}

const std::vector<EffectRecipe>& recipes() {
    static const std::vector<EffectRecipe> list = {
        // The dialogs' list.
        {0, "hover tick", [](Synth& s) { s.tone(2400, 2200, 18, 0, 0.4, 80); }},
        {1, "press click",
         [](Synth& s) {
             s.noise(10, 0.8, 0.6, 200);
             s.tone(900, 600, 25, 1, 0.5, 60);
         }},
        {2, "confirm chime",
         [](Synth& s) {
             notes(s, {784, 1047, 1319}, 90, 6);
         }},
        {3, "refusal buzz", [](Synth& s) { s.tone(140, 130, 260, 1, 0.6, 2); }},
        {4, "cancel", [](Synth& s) { s.tone(700, 350, 140, 2, 0.5, 8); }},
        // The board's list, in its order.
        {7, "board: dice roll",
         [](Synth& s) {
             for (int i = 0; i < 5; ++i) {
                 s.noise(20, 0.8, 0.7, 90);
                 s.silence(30 + 8 * i);
             }
         }},
        {9, "board: dice lands",
         [](Synth& s) {
             s.noise(30, 0.9, 0.5, 60);
             s.tone(300, 220, 60, 0, 0.5, 30);
         }},
        {10, "board: step", [](Synth& s) { s.noise(25, 0.6, 0.25, 80); }},
        {32, "board: bomb ticking (looped)", [](Synth& s) { ticks(s, 2, 250, 1800, 1); }},
        {33, "board: card drawn", [](Synth& s) { s.noise(90, 0.5, 0.9, 25); }},
        {34, "board: an object put down",
         [](Synth& s) {
             s.tone(110, 60, 140, 0, 0.9, 12);
             s.noise(60, 0.5, 0.08, 40);
         }},
        {35, "board: gift found",
         [](Synth& s) {
             notes(s, {1047, 1319, 1568, 2093}, 70, 10);
         }},
        {36, "board: treasure chest",
         [](Synth& s) {
             s.noise(60, 0.5, 0.3, 20);
             notes(s, {659, 880, 1175}, 110, 5);
         }},
        {37, "board: turning around",
         [](Synth& s) {
             s.tone(400, 900, 90, 2, 0.5, 6);
             s.tone(900, 400, 90, 2, 0.5, 6);
         }},
        {38, "board: robot doll walking (looped)",
         [](Synth& s) {
             for (int i = 0; i < 2; ++i) {
                 s.tone(1200, 1200, 40, 1, 0.4, 20);
                 s.silence(60);
                 s.tone(800, 800, 40, 1, 0.4, 20);
                 s.silence(60);
             }
         }},
        {43, "board: landing",
         [](Synth& s) {
             s.tone(523, 523, 60, 0, 0.6, 12);
             s.tone(784, 784, 90, 0, 0.6, 12);
         }},
        {44, "board: walking (looped)",
         [](Synth& s) {
             for (int i = 0; i < 2; ++i) {
                 s.noise(30, 0.6, 0.2, 60);
                 s.silence(220);
             }
         }},
        {45, "board: riding a bicycle (looped)",
         [](Synth& s) {
             for (int i = 0; i < 4; ++i) {
                 s.tone(1500, 1500, 15, 0, 0.3, 50);
                 s.noise(40, 0.15, 0.1, 10);
                 s.silence(70);
             }
         }},
        {46, "board: motorbike (looped)",
         [](Synth& s) {
             s.tone(95, 105, 250, 1, 0.45, 0);
             s.tone(105, 95, 250, 1, 0.45, 0);
         }},
        {53, "board: car (looped)",
         [](Synth& s) {
             s.tone(60, 66, 250, 2, 0.55, 0);
             s.tone(66, 60, 250, 2, 0.55, 0);
         }},
        {47, "board: walking indoors (looped)",
         [](Synth& s) {
             for (int i = 0; i < 2; ++i) {
                 s.tone(250, 200, 30, 0, 0.5, 60);
                 s.silence(200);
             }
         }},
        {48, "board: landing on a special square",
         [](Synth& s) {
             notes(s, {880, 660}, 100, 8);
         }},
        {49, "board: land bought",
         [](Synth& s) {
             s.noise(20, 0.6, 0.9, 100);
             notes(s, {1568, 2093}, 120, 9);
         }},
        {50, "board: building raised",
         [](Synth& s) {
             for (int i = 0; i < 3; ++i) {
                 s.tone(200, 150, 50, 1, 0.6, 30);
                 s.silence(40);
             }
         }},
        {54, "board: fee paid",
         [](Synth& s) {
             s.tone(1800, 1800, 40, 0, 0.5, 30);
             s.tone(2400, 2400, 60, 0, 0.5, 30);
         }},
        {55, "board: toll paid",
         [](Synth& s) {
             for (int i = 0; i < 4; ++i)
                 s.tone(2000 + 150 * i, 2000 + 150 * i, 35, 0, 0.5, 40);
         }},
        {56, "board: money received",
         [](Synth& s) {
             notes(s, {1319, 1568, 1760, 2093}, 55, 12);
         }},
        {15, "board: warning",
         [](Synth& s) {
             s.tone(880, 880, 120, 1, 0.5, 0);
             s.silence(60);
             s.tone(880, 880, 120, 1, 0.5, 0);
         }},
        {62, "board: a god flies off",
         [](Synth& s) {
             s.noise(80, 0.3, 0.15, 2);
             s.tone(500, 1600, 260, 0, 0.5, 3);
             s.tone(1600, 2400, 140, 0, 0.35, 8);
         }},
        // The animations' sounds.
        {80, "monster stamping",
         [](Synth& s) {
             for (int k = 0; k < 3; ++k) {
                 s.noise(160, 1.0, 0.08, 6);
                 s.silence(120);
             }
         }},
        {97, "wrecking ball",
         [](Synth& s) {
             s.tone(180, 90, 300, 0, 0.6, 2);
             s.noise(500, 0.9, 0.2, 5);
         }},
        {82, "explosion", [](Synth& s) { s.noise(700, 1.0, 0.15, 4); }},
        {84, "sleeping",
         [](Synth& s) {
             s.noise(500, 0.3, 0.05, 0);
             s.silence(150);
             s.noise(400, 0.25, 0.04, 0);
         }},
        {85, "riding away", [](Synth& s) { s.tone(120, 220, 600, 1, 0.5, 1.5); }},
        {86, "flying saucer",
         [](Synth& s) {
             s.tone(300, 1400, 500, 0, 0.5, 8);
             s.tone(1400, 300, 500, 0, 0.5, 8);
         }},
        {87, "gas blast",
         [](Synth& s) {
             s.noise(120, 1.0, 0.9, 2);
             s.noise(600, 0.6, 0.2, 5);
         }},
        {88, "tornado", [](Synth& s) { s.noise(1200, 0.5, 0.4, 1); }},
        {89, "typhoon",
         [](Synth& s) {
             s.noise(900, 0.4, 0.3, 1);
             s.tone(90, 60, 600, 1, 0.3, 2);
         }},
        {90, "fireworks",
         [](Synth& s) {
             s.tone(400, 2000, 300, 0, 0.4, 1);
             s.noise(400, 0.9, 0.5, 6);
         }},
        {92, "ambulance",
         [](Synth& s) {
             for (int i = 0; i < 2; ++i) {
                 s.tone(960, 960, 250, 0, 0.5, 0);
                 s.tone(770, 770, 250, 0, 0.5, 0);
             }
         }},
        {93, "dog bite",
         [](Synth& s) {
             for (int i = 0; i < 2; ++i) {
                 s.tone(450, 300, 90, 2, 0.7, 10);
                 s.noise(40, 0.5, 0.5, 40);
                 s.silence(90);
             }
         }},
        {94, "jail door",
         [](Synth& s) {
             s.tone(180, 90, 120, 1, 0.7, 6);
             s.noise(300, 0.7, 0.3, 10);
         }},
        {95, "demolition",
         [](Synth& s) {
             s.noise(250, 0.9, 0.1, 3);
             s.tone(70, 40, 400, 2, 0.6, 3);
         }},
        {96, "stumbling",
         [](Synth& s) {
             s.tone(600, 150, 300, 0, 0.6, 3);
             s.noise(80, 0.7, 0.3, 30);
         }},
        {98, "flag planted",
         [](Synth& s) {
             s.noise(60, 0.6, 0.4, 30);
             notes(s, {523, 659, 784}, 80, 8);
         }},
        {99, "house built",
         [](Synth& s) {
             for (int i = 0; i < 4; ++i) {
                 s.tone(320, 260, 40, 1, 0.6, 40);
                 s.silence(70);
             }
         }},
        {101, "the cheer after a continued stage",
         [](Synth& s) {
             s.noise(120, 0.6, 0.5, 12);
             notes(s, {523, 659, 784, 1047}, 90, 6);
             s.tone(1047, 1047, 250, 0, 0.5, 4);
         }},
        {102, "little fortune god",
         [](Synth& s) {
             notes(s, {1568, 1760, 2093}, 80, 10);
         }},
        {103, "fortune god",
         [](Synth& s) {
             notes(s, {784, 988, 1175, 1568}, 120, 5);
         }},
        {104, "little lucky god",
         [](Synth& s) {
             notes(s, {2093, 2349, 2637}, 70, 12);
         }},
        {105, "lucky god",
         [](Synth& s) {
             notes(s, {659, 784, 988, 1319}, 130, 4);
         }},
        {106, "poverty god", [](Synth& s) { s.tone(300, 150, 500, 2, 0.6, 2); }},
        {107, "little poverty god", [](Synth& s) { s.tone(600, 300, 300, 2, 0.5, 3); }},
        {108, "little misfortune god",
         [](Synth& s) {
             notes(s, {494, 466, 440}, 110, 6);
         }},
        {109, "misfortune god",
         [](Synth& s) {
             notes(s, {247, 233, 220, 208}, 150, 4);
         }},
        {110, "angel",
         [](Synth& s) {
             s.tone(1319, 1319, 250, 0, 0.4, 2);
             s.tone(1760, 1760, 350, 0, 0.4, 2);
         }},
        {111, "land god",
         [](Synth& s) {
             notes(s, {392, 523, 659}, 150, 4);
         }},
        {112, "devil",
         [](Synth& s) {
             s.tone(90, 80, 400, 2, 0.6, 1);
             s.noise(200, 0.4, 0.2, 5);
         }},
        {113, "god of death", [](Synth& s) { s.tone(110, 55, 700, 0, 0.7, 1.5); }},
        {114, "bells",
         [](Synth& s) {
             notes(s, {1175, 988, 880, 784}, 160, 3);
         }},
    };
    return list;
}

void build_effects(DataBuilder& b) {
    ArchiveWriter& a = builder_archive(b, "EFFECT.MKF");
    for (const EffectRecipe& r : recipes()) {
        Synth s;
        r.make(s);
        mkf_writer_add(a, r.entry, wave_image_u8(s.u8(), 22050));
    }
}

void write_seed(const std::string& path, const Bytes& bytes) {
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
}

} // namespace

KARVO_DATA_GENERATOR(build_effects);

void builder_write_wave_seeds(const std::string& seed_dir) {
    std::string dir = seed_dir + "/wave";
    std::filesystem::create_directories(dir);
    Synth s;
    recipes()[2].make(s);
    Bytes good = wave_image_u8(s.u8(), 22050);
    write_seed(dir + "/mono8.wav", good);
    // 16-bit stereo at 44100 Hz with a chunk of odd size before the sound.
    Bytes stereo(good.begin(), good.begin() + 36);
    stereo[22] = 2;
    stereo[24] = 0x44, stereo[25] = 0xAC, stereo[26] = 0, stereo[27] = 0;
    stereo[32] = 4;
    stereo[34] = 16;
    const char list[] = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    stereo.insert(stereo.end(), list, list + sizeof list);
    const char data[] = {'d', 'a', 't', 'a', 16, 0, 0, 0};
    stereo.insert(stereo.end(), data, data + sizeof data);
    for (int i = 0; i < 16; ++i)
        stereo.push_back(static_cast<uint8_t>(i * 37));
    write_seed(dir + "/stereo16.wav", stereo);
    // Its "data" size claims more than the image holds.
    Bytes truncated(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
    write_seed(dir + "/truncated.wav", truncated);
}
