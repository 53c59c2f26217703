// speaking.mkf: a voice clip for every voice number the game's lines name
// ("#NNNN" at the start of a line), the line's words spoken by espeak-ng's
// Mandarin voice with a pitch and pace of the speaker's own, stored as PCM
// WAVE (mono, 8-bit, 11025 Hz).
#include "builder.h"
#include "finance_voices.h"
#include "sound_synth.h"

#include "cards/fate.h"
#include "cards/news.h"
#include "data/card_speech_lines.h"
#include "data/characters.h"
#include "data/item_speech_lines.h"
#include "data/speech_lines.h"
#include "finance/settlement.h"

#include <espeak-ng/speak_lib.h>
#include <iconv.h>

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

// Voice numbers named by lines that live inside their rules (the jail's and
// the hospital's); the tables of lines the game keeps as data are read from
// the game itself below.
const VoiceLine voice_lines[] = {
    {2, 0, u8"抱歉！你的点数不足！"},
    {123, 13, u8"太感激了！我一定会报答你的！"},
    {124, 13, u8"谢谢你！你真是我的再生父母！"},
    {125, 13, u8"我先走了！大恩大德来日再报！"},
    {126, 13, u8"受人点水之恩，必当涌泉已报！"},
    {127, 0, u8"您好！请问您要替谁办理出院手续？"},
    {129, 0, u8"ＯＫ！您的朋友已经可以出院了！"},
    {130, 0, u8"要保重身体喔！"},
    // The points shop's clerks and the magic house's host.
    {0, 0, u8"有什么我能为你服务的吗？"},
    {1, 0, u8"请挑选你想要兑换的卡片。"},
    {3, 0, u8"对不起！您的卡片栏已满！"},
    {4, 0, u8"欢迎下次再来！"},
    {5, 0, u8"欢迎光临道具店！"},
    {6, 0, u8"您要兑换什么道具？"},
    {7, 0, u8"对不起，您的点卷不够！"},
    {8, 0, u8"很抱歉！您的道具栏已满！"},
    {10, 0, u8"谢谢惠顾！"},
    {37, 0, u8"进来魔法屋，就得完全照我的指示！"},
    {38, 0, u8"我选出符合条件的人。"},
    {39, 0, u8"你来决定他们的命运"},
    {40, 0, u8"嘿，轮到你了！"},
    {41, 0, u8"天灵灵地灵灵"},
    {42, 0, u8"你想召唤死神，为你复仇吗？"},
    {43, 0, u8"你要死神附身在谁身上？"},
    {46, 0, u8"财产最多的人"},
    {47, 0, u8"土地最多的人"},
    {48, 0, u8"房屋最多的人"},
    {49, 0, u8"现金最多的人"},
    {50, 0, u8"存款最多的人"},
    {51, 0, u8"点卷最多的人"},
    {52, 0, u8"走路的人"},
    {53, 0, u8"骑摩托车的人"},
    {54, 0, u8"开汽车的人"},
    {55, 0, u8"神明附身的人"},
    {56, 0, u8"所有男生"},
    {57, 0, u8"所有女生"},
    // The month-end settlement's host.
    {92, 0, u8"各位客户辛苦了！又到了每月银行结算的日子。"},
    {93, 0, u8"卡尔沃银行将根据您的存款，加发百分之十的储金利息。"},
    {95, 0, u8"本月悲情人物是"},
    {108, 0, u8"别灰心，再加油喔！"},
    {109, 0, u8"本月冠军是"},
    {122, 0, u8"其他人还要更努力喔！"},
};

// The game's own texts are GBK; espeak-ng reads UTF-8.
std::string gbk_to_utf8(const char* gbk) {
    iconv_t cd = iconv_open("UTF-8", "GBK");
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no GBK conversion");
    std::string in(gbk), out(in.size() * 3 + 4, '\0');
    char* src = in.data();
    char* dst = out.data();
    size_t src_left = in.size(), dst_left = out.size();
    size_t r = iconv(cd, &src, &src_left, &dst, &dst_left);
    iconv_close(cd);
    if (r == static_cast<size_t>(-1)) throw std::runtime_error("a line is not GBK: " + in);
    out.resize(out.size() - dst_left);
    return out;
}

struct Clip {
    int number;
    int speaker;
    std::string words; // UTF-8
};

// A line "#NNNN..." of a game table: its clip and words, line breaks dropped.
bool clip_of_line(const char* line, int speaker, Clip* out) {
    if (!line || line[0] != '#') return false;
    int n = 0;
    for (int i = 1; i <= 4; ++i) {
        if (line[i] < '0' || line[i] > '9') return false;
        n = n * 10 + (line[i] - '0');
    }
    std::string words = gbk_to_utf8(line + 5);
    std::replace(words.begin(), words.end(), '\n', ' ');
    *out = Clip{n, speaker, words};
    return true;
}

std::vector<Clip> all_clips() {
    std::vector<Clip> clips;
    for (const VoiceLine& v : voice_lines)
        clips.push_back({v.number, v.speaker, reinterpret_cast<const char*>(v.words)});
    for (const FinanceVoice& v : finance_voice_lines())
        clips.push_back({v.number, 0, v.words});
    // The settlement's name lines: each character's name, in the host's voice.
    for (int c = 0; c < SPEECH_CHARACTERS; ++c) {
        const std::string name = gbk_to_utf8(character_name(c));
        clips.push_back({SETTLE_UNLUCKY_VOICE + c, 0, name});
        clips.push_back({SETTLE_CHAMPION_VOICE + c, 0, name});
    }
    // The characters' reaction lines, each in its character's voice.
    for (int c = 0; c < SPEECH_CHARACTERS; ++c) {
        for (int r = 0; r < SPEECH_ROWS; ++r) {
            Clip clip;
            if (clip_of_line(speech_lines[c][r], c + 1, &clip)) clips.push_back(clip);
        }
    }
    // The characters' card lines, likewise.
    for (int c = 0; c < SPEECH_CHARACTERS; ++c) {
        for (int e = 0; e < CARD_SPEECH_ENTRIES; ++e) {
            Clip clip;
            if (clip_of_line(card_speech_lines[c][e], c + 1, &clip)) clips.push_back(clip);
        }
    }
    // The news and fate texts, read by the staff's voice without their
    // placeholders.
    for (const auto* table : {news_text_table.data(), fate_text_table.data()}) {
        const int count = table == news_text_table.data() ? NEWS_EVENT_COUNT : FATE_ROW_COUNT;
        for (int i = 0; i < count; ++i) {
            Clip clip;
            if (!clip_of_line(table[i], 0, &clip)) continue;
            std::string words;
            for (size_t k = 0; k < clip.words.size(); ++k) {
                const bool mark = clip.words[k] == '%' && k + 1 < clip.words.size() &&
                                  (clip.words[k + 1] == 's' || clip.words[k + 1] == 'd');
                words += mark ? ' ' : clip.words[k];
                k += mark ? 1 : 0;
            }
            clip.words = words;
            // A voice shared by several lines is spoken once.
            bool known = false;
            for (const Clip& c : clips)
                known = known || c.number == clip.number;
            if (!known) clips.push_back(clip);
        }
    }
    // The items' lines, each in its character's voice too.
    for (int c = 0; c < ITEM_SPEECH_CHARACTERS; ++c) {
        for (int r = 0; r < ITEM_SPEECH_ROWS; ++r) {
            Clip clip;
            if (clip_of_line(item_speech_lines[c][r], c + 1, &clip)) clips.push_back(clip);
        }
    }
    return clips;
}

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
    for (const Clip& clip : all_clips()) {
        const SpeakerVoice& v = speaker_voices[clip.speaker];
        espeak_SetParameter(espeakPITCH, v.pitch, 0);
        espeak_SetParameter(espeakRATE, v.pace, 0);
        samples.clear();
        if (espeak_Synth(clip.words.c_str(), clip.words.size() + 1, 0, POS_CHARACTER, 0,
                         espeakCHARS_UTF8, nullptr, nullptr) != EE_OK ||
            espeak_Synchronize() != EE_OK || samples.empty())
            throw std::runtime_error("espeak-ng could not speak voice " +
                                     std::to_string(clip.number));
        if (rate != 22050) throw std::runtime_error("espeak-ng speaks at an unexpected rate");
        mkf_writer_add(a, clip.number, wave_image_u8(to_u8_half_rate(samples), 11025));
    }
    espeak_Terminate();
    g_samples = nullptr;
}

} // namespace

KARVO_DATA_GENERATOR(build_voices);
