#include "engine/lzh.h"

#include <array>
#include <bit>
#include <cstring>

namespace {

constexpr int SYMBOLS = 321;           // 256 literals, then match lengths 3..67
constexpr int NODES = 2 * SYMBOLS - 1; // 641; node 640 is the root
constexpr int ROOT = NODES - 1;
constexpr int LEAF = NODES; // son value of a leaf: LEAF + symbol
constexpr uint16_t RESCALE_AT = 0x8000;
constexpr int END_POSITION = 4095;
constexpr int LENGTH_BASE = 253; // length = symbol - 253

// Room after the sentinel for the run search's word-wide reads.
constexpr int FREQ_PAD = 8;

struct Tree {
    // freq[641] on are the 0xFFFF sentinel, which no count reaches: a run of
    // equal counts always ends before it.
    std::array<uint16_t, NODES + FREQ_PAD> freq;
    std::array<uint16_t, NODES> son;
    std::array<uint16_t, NODES + SYMBOLS> prnt;
};

constexpr Tree make_initial_tree() {
    Tree t{};
    for (int i = 0; i < SYMBOLS; ++i) {
        t.freq[i] = 1;
        t.son[i] = static_cast<uint16_t>(LEAF + i);
        t.prnt[LEAF + i] = static_cast<uint16_t>(i);
    }
    for (int i = 0, j = SYMBOLS; j < NODES; i += 2, ++j) {
        t.freq[j] = static_cast<uint16_t>(t.freq[i] + t.freq[i + 1]);
        t.son[j] = static_cast<uint16_t>(i);
        t.prnt[i] = t.prnt[i + 1] = static_cast<uint16_t>(j);
    }
    for (int i = NODES; i < NODES + FREQ_PAD; ++i)
        t.freq[i] = 0xFFFF;
    t.prnt[ROOT] = 0;
    return t;
}

// Copied in before each entry rather than built each time.
constexpr Tree initial_tree = make_initial_tree();

// The match position's upper 6 bits: code words in reading order (first bit
// read on the left).
constexpr std::array<const char*, 64> position_codes = {
    "111",      "1011",     "1101",     "1100",     "01111",    "10011",    "10101",    "10001",
    "01110",    "10010",    "10100",    "10000",    "010111",   "011011",   "010011",   "010101",
    "011001",   "010001",   "010110",   "011010",   "010010",   "010100",   "011000",   "010000",
    "0011111",  "0001111",  "0010111",  "0011011",  "0001011",  "0010011",  "0011101",  "0001101",
    "0010101",  "0011001",  "0001001",  "0010001",  "0011110",  "0001110",  "0010110",  "0011010",
    "0001010",  "0010010",  "0011100",  "0001100",  "0010100",  "0011000",  "0001000",  "0010000",
    "00001111", "00000111", "00001011", "00000011", "00001101", "00000101", "00001001", "00000001",
    "00001110", "00000110", "00001010", "00000010", "00001100", "00000100", "00001000", "00000000",
};

struct PositionTables {
    std::array<uint8_t, 256> length; // code word length for the next 8 bits
    std::array<uint8_t, 256> upper;  // its upper-bits value
};

constexpr PositionTables make_position_tables() {
    PositionTables t{};
    for (int u = 0; u < 64; ++u) {
        const char* code = position_codes[u];
        int len = 0;
        int low = 0;
        for (; code[len]; ++len)
            if (code[len] == '1') low |= 1 << len; // first bit read = bit 0 of the index
        for (int index = low; index < 256; index += 1 << len) {
            t.length[index] = static_cast<uint8_t>(len);
            t.upper[index] = static_cast<uint8_t>(u);
        }
    }
    return t;
}

constexpr PositionTables position_tables = make_position_tables();

// Least significant bit first within each byte, through a 64-bit buffer whose
// low bit is the next one. Reads past the end fail; a look-ahead past the end
// sees zeros, since no byte beyond the data is ever loaded.
struct BitReader {
    const uint8_t* next;
    const uint8_t* end;
    uint64_t buffer = 0;
    int available = 0;

    void refill() {
        while (available <= 56 && next < end) {
            buffer |= static_cast<uint64_t>(*next++) << available;
            available += 8;
        }
    }
    bool bit(int& b) {
        if (available == 0) {
            refill();
            if (available == 0) return false;
        }
        b = static_cast<int>(buffer & 1);
        buffer >>= 1;
        --available;
        return true;
    }
    unsigned peek8() {
        if (available < 8) refill();
        return static_cast<unsigned>(buffer & 0xFF);
    }
    bool bits(int count, unsigned& v) {
        if (available < count) {
            refill();
            if (available < count) return false;
        }
        v = static_cast<unsigned>(buffer & ((uint64_t{1} << count) - 1));
        buffer >>= count;
        available -= count;
        return true;
    }
};

// The last node of the run of counts equal to `count` that starts at
// `first`, four counts at a time (the sentinel ends every run): the first
// count that differs is the lowest set lane of the difference.
static_assert(std::endian::native == std::endian::little, "counts are read four to a word");
int end_of_run(const Tree& t, int first, uint16_t count) {
    const uint64_t all = uint64_t{count} * 0x0001000100010001u;
    int l = first;
    for (;;) {
        uint64_t four;
        std::memcpy(&four, &t.freq[l + 1], sizeof four);
        const uint64_t differ = four ^ all;
        if (differ != 0) return l + (__builtin_ctzll(differ) >> 4);
        l += 4;
    }
}

// Increments every node from c up to the root, keeping the frequencies in
// order by swapping a node past the run of nodes it has outgrown.
void lzh_update_walk(Tree& t, int c) {
    do {
        uint16_t k = ++t.freq[c];
        if (k > t.freq[c + 1]) {
            const int l = end_of_run(t, c + 1, static_cast<uint16_t>(k - 1));
            t.freq[c] = static_cast<uint16_t>(k - 1);
            t.freq[l] = k;
            int i = t.son[c];
            t.prnt[i] = static_cast<uint16_t>(l);
            if (i < LEAF) t.prnt[i + 1] = static_cast<uint16_t>(l);
            int j = t.son[l];
            t.prnt[j] = static_cast<uint16_t>(c);
            if (j < LEAF) t.prnt[j + 1] = static_cast<uint16_t>(c);
            t.son[c] = static_cast<uint16_t>(j);
            t.son[l] = static_cast<uint16_t>(i);
            c = l;
        }
        c = t.prnt[c];
    } while (c != 0);
}

// Halves the frequencies without rebuilding the tree: every leaf with an odd
// count is first counted once more, so that all halves are exact.
void lzh_rescale(Tree& t) {
    for (int s = 0; s < SYMBOLS; ++s) {
        int node = t.prnt[LEAF + s];
        if (t.freq[node] & 1) lzh_update_walk(t, node);
    }
    for (int i = 0; i < NODES; ++i)
        t.freq[i] = static_cast<uint16_t>(t.freq[i] >> 1);
}

void lzh_update(Tree& t, int symbol) {
    if (t.freq[ROOT] == RESCALE_AT) lzh_rescale(t);
    lzh_update_walk(t, t.prnt[LEAF + symbol]);
}

// The next symbol, or -1 when the stream ends inside its code.
int lzh_decode_symbol(Tree& t, BitReader& in) {
    int c = t.son[ROOT];
    while (c < LEAF) {
        int b;
        if (!in.bit(b)) return -1;
        c = t.son[c + b];
    }
    int symbol = c - LEAF;
    lzh_update(t, symbol);
    return symbol;
}

} // namespace

int64_t lzh_decode(void* out_block, uint32_t out_size, const void* in_block, uint32_t in_size) {
    Tree tree = initial_tree;
    const uint8_t* in_bytes = static_cast<const uint8_t*>(in_block);
    BitReader in{in_bytes, in_bytes + in_size};
    uint8_t* out = static_cast<uint8_t*>(out_block);
    uint32_t written = 0;
    for (;;) {
        int s = lzh_decode_symbol(tree, in);
        if (s < 0) return -1;
        if (s < 256) {
            if (written >= out_size) return -1;
            out[written++] = static_cast<uint8_t>(s);
            continue;
        }
        // The next 8 bits pick the code word; only its own length is consumed.
        unsigned index = in.peek8();
        unsigned upper = position_tables.upper[index];
        unsigned code_word, low;
        if (!in.bits(position_tables.length[index], code_word)) return -1;
        if (!in.bits(6, low)) return -1;
        unsigned p = upper * 64 + low;
        if (p == END_POSITION) return written;
        uint32_t length = static_cast<uint32_t>(s - LENGTH_BASE);
        if (p >= written || length > out_size - written) return -1;
        // Byte by byte: a source that overlaps the bytes being written repeats them.
        const uint8_t* src = out + written - 1 - p;
        uint8_t* dst = out + written;
        for (uint32_t i = 0; i < length; ++i)
            dst[i] = src[i];
        written += length;
    }
}
