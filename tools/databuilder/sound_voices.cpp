// speaking.mkf: a voice clip for every voice number the game's lines name
// ("#NNNN" at the start of a line), the line's words spoken by espeak-ng's
// Mandarin voice with a pitch and pace of the speaker's own, stored as PCM
// WAVE (mono, 8-bit, 11025 Hz).
#include "builder.h"
#include "sound_synth.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Who speaks a line: 0 the jail's and hospital's staff, 1..12 the characters,
// 13 a freed friend.
struct SpeakerVoice {
    int pitch; // espeak-ng 0..100
    int pace;  // words a minute
};
constexpr SpeakerVoice speaker_voices[] = {
    {45, 165}, // staff
    {30, 160}, {70, 175}, {55, 190}, {25, 150}, {80, 185}, {40, 170}, {65, 200},
    {20, 140}, {75, 165}, {50, 180}, {35, 195}, {85, 155}, {60, 170}, // a freed friend
};

struct VoiceLine {
    int number;
    int speaker;
    const char8_t* words; // UTF-8, as the line reads after its "#NNNN"
};

// Every voice number the game's texts name. The reaction lines (1050 ..)
// and later tables add their rows here.
const VoiceLine voice_lines[] = {
    {2, 0, u8"抱歉！你的点数不足！"},
    {123, 13, u8"太感激了！我一定会报答你的！"},
    {124, 13, u8"谢谢你！你真是我的再生父母！"},
    {125, 13, u8"我先走了！大恩大德来日再报！"},
    {126, 13, u8"受人点水之恩，必当涌泉已报！"},
    {127, 0, u8"您好！请问您要替谁办理出院手续？"},
    {129, 0, u8"ＯＫ！您的朋友已经可以出院了！"},
    {130, 0, u8"要保重身体喔！"},
};

std::vector<int16_t>* g_samples = nullptr;

int collect(short* wav, int count, espeak_EVENT*) {
    if (wav && count > 0) g_samples->insert(g_samples->end(), wav, wav + count);
    return 0;
}

// espeak-ng speaks at 22050 Hz; the clips are kept at half that: each pair
// of samples averaged (a plain low-pass before dropping every other one).
std::vector<uint8_t> to_u8_half_rate(const std::vector<int16_t>& in) {
    std::vector<uint8_t> out;
    out.reserve(in.size() / 2);
    for (size_t i = 0; i + 1 < in.size(); i += 2) {
        int v = (in[i] + in[i + 1]) / 2;
        out.push_back(static_cast<uint8_t>(std::clamp(v / 256 + 128, 0, 255)));
    }
    return out;
}

void build_voices(DataBuilder& b) {
    int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
    if (rate <= 0) throw std::runtime_error("espeak-ng cannot start");
    if (espeak_SetVoiceByName("cmn") != EE_OK)
        throw std::runtime_error("espeak-ng has no Mandarin voice");
    std::vector<int16_t> samples;
    g_samples = &samples;
    espeak_SetSynthCallback(collect);
    ArchiveWriter& a = builder_archive(b, "speaking.mkf");
    for (const VoiceLine& line : voice_lines) {
        const SpeakerVoice& v = speaker_voices[line.speaker];
        espeak_SetParameter(espeakPITCH, v.pitch, 0);
        espeak_SetParameter(espeakRATE, v.pace, 0);
        samples.clear();
        const char* text = reinterpret_cast<const char*>(line.words);
        std::string words(text);
        if (espeak_Synth(words.c_str(), words.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8,
                         nullptr, nullptr) != EE_OK ||
            espeak_Synchronize() != EE_OK || samples.empty())
            throw std::runtime_error("espeak-ng could not speak voice " +
                                     std::to_string(line.number));
        if (rate != 22050) throw std::runtime_error("espeak-ng speaks at an unexpected rate");
        mkf_writer_add(a, line.number, wave_image_u8(to_u8_half_rate(samples), 11025));
    }
    espeak_Terminate();
    g_samples = nullptr;
}

} // namespace

KARVO_DATA_GENERATOR(build_voices);
