// The encoder keeps its own model of the adaptive code, built from the
// stream's description: a 641-node tree over 321 symbols kept in frequency
// order, counted after every symbol, halved in place once the root's count
// reaches 0x8000 (odd leaves counted once more first, the shape kept).
#include "mkfpack.h"

#include <array>
#include <cstring>

namespace {

constexpr int kSymbolCount = 321;
constexpr int kNodeCount = 641;
constexpr int kRootNode = 640;
constexpr int kLeafTag = 641;
constexpr int kMinMatch = 3;
constexpr int kMaxMatch = 67;
constexpr int kMaxDistance = 4095; // position 0..4094 is distance 1..4095
constexpr int kEndPosition = 4095;

struct Model {
    uint16_t count[kNodeCount + 1];
    uint16_t child[kNodeCount];
    uint16_t up[kNodeCount + kSymbolCount];

    Model() {
        for (int s = 0; s < kSymbolCount; ++s) {
            count[s] = 1;
            child[s] = static_cast<uint16_t>(kLeafTag + s);
            up[kLeafTag + s] = static_cast<uint16_t>(s);
        }
        int pair = 0;
        for (int node = kSymbolCount; node < kNodeCount; ++node, pair += 2) {
            count[node] = static_cast<uint16_t>(count[pair] + count[pair + 1]);
            child[node] = static_cast<uint16_t>(pair);
            up[pair] = static_cast<uint16_t>(node);
            up[pair + 1] = static_cast<uint16_t>(node);
        }
        count[kNodeCount] = 0xFFFF;
        up[kRootNode] = 0;
    }

    void relink(int node, int parent) {
        up[child[node]] = static_cast<uint16_t>(parent);
        if (child[node] < kLeafTag) up[child[node] + 1] = static_cast<uint16_t>(parent);
    }

    void bump_path(int node) {
        while (true) {
            uint16_t now = static_cast<uint16_t>(count[node] + 1);
            count[node] = now;
            if (now > count[node + 1]) {
                // Exchange with the highest node of the run it has overtaken.
                int target = node + 1;
                while (count[target + 1] == static_cast<uint16_t>(now - 1))
                    ++target;
                count[node] = count[target];
                count[target] = now;
                uint16_t a = child[node];
                uint16_t b = child[target];
                child[node] = b;
                child[target] = a;
                relink(node, node);
                relink(target, target);
                node = target;
            }
            node = up[node];
            if (node == 0) return;
        }
    }

    void count_symbol(int symbol) {
        if (count[kRootNode] == 0x8000) {
            for (int s = 0; s < kSymbolCount; ++s)
                if (count[up[kLeafTag + s]] % 2 == 1) bump_path(up[kLeafTag + s]);
            for (int n = 0; n < kNodeCount; ++n)
                count[n] = static_cast<uint16_t>(count[n] / 2);
        }
        bump_path(up[kLeafTag + symbol]);
    }
};

// Position prefix code, upper 6 bits: text in the order the bits go out.
constexpr const char* kPositionCode[64] = {
    "111",      "1011",     "1101",     "1100",     "01111",    "10011",    "10101",    "10001",
    "01110",    "10010",    "10100",    "10000",    "010111",   "011011",   "010011",   "010101",
    "011001",   "010001",   "010110",   "011010",   "010010",   "010100",   "011000",   "010000",
    "0011111",  "0001111",  "0010111",  "0011011",  "0001011",  "0010011",  "0011101",  "0001101",
    "0010101",  "0011001",  "0001001",  "0010001",  "0011110",  "0001110",  "0010110",  "0011010",
    "0001010",  "0010010",  "0011100",  "0001100",  "0010100",  "0011000",  "0001000",  "0010000",
    "00001111", "00000111", "00001011", "00000011", "00001101", "00000101", "00001001", "00000001",
    "00001110", "00000110", "00001010", "00000010", "00001100", "00000100", "00001000", "00000000",
};

} // namespace

struct MkfpackStream {
    Model model;
    std::vector<uint8_t> bytes;
    uint64_t bit_count = 0;

    void put_bit(int bit) {
        if (bit_count % 8 == 0) bytes.push_back(0);
        if (bit) bytes.back() = static_cast<uint8_t>(bytes.back() | (1u << (bit_count % 8)));
        ++bit_count;
    }

    void put_symbol(int symbol) {
        // The path is found from the leaf upward and sent from the root down.
        uint8_t path[kNodeCount];
        int depth = 0;
        int node = model.up[kLeafTag + symbol];
        while (node != kRootNode) {
            int parent = model.up[node];
            path[depth++] = static_cast<uint8_t>(node - model.child[parent]);
            node = parent;
        }
        while (depth > 0)
            put_bit(path[--depth]);
        model.count_symbol(symbol);
    }

    void put_position(int position) {
        for (const char* c = kPositionCode[position >> 6]; *c; ++c)
            put_bit(*c == '1');
        for (int i = 0; i < 6; ++i)
            put_bit((position >> i) & 1);
    }
};

MkfpackStream* mkfpack_stream_new() {
    return new MkfpackStream();
}

void mkfpack_stream_literal(MkfpackStream* s, uint8_t byte) {
    s->put_symbol(byte);
}

void mkfpack_stream_match(MkfpackStream* s, int length, int position) {
    s->put_symbol(253 + length);
    s->put_position(position);
}

std::vector<uint8_t> mkfpack_stream_finish(MkfpackStream* s, int end_length) {
    s->put_symbol(253 + end_length);
    s->put_position(kEndPosition);
    std::vector<uint8_t> out = std::move(s->bytes);
    delete s;
    return out;
}

std::vector<uint8_t> mkfpack_compress(const uint8_t* data, size_t size) {
    // Greedy matching with one step of look-ahead, over hash chains of
    // three-byte prefixes within the 4095-byte reach.
    constexpr int kHashBits = 14;
    constexpr int kChainLimit = 96;
    std::vector<int32_t> head(size_t{1} << kHashBits, -1);
    std::vector<int32_t> previous(size, -1);
    auto hash_at = [&](size_t i) {
        uint32_t h = (static_cast<uint32_t>(data[i]) << 16) |
                     (static_cast<uint32_t>(data[i + 1]) << 8) | data[i + 2];
        return (h * 2654435761u) >> (32 - kHashBits);
    };
    auto insert = [&](size_t i) {
        if (i + 2 >= size) return;
        uint32_t h = hash_at(i);
        previous[i] = head[h];
        head[h] = static_cast<int32_t>(i);
    };
    auto longest = [&](size_t i, int& best_distance) {
        int best = 0;
        if (i + kMinMatch > size) return 0;
        size_t limit =
            size - i < static_cast<size_t>(kMaxMatch) ? size - i : static_cast<size_t>(kMaxMatch);
        int32_t candidate = head[hash_at(i)];
        for (int steps = 0; candidate >= 0 && steps < kChainLimit;
             ++steps, candidate = previous[candidate]) {
            size_t distance = i - static_cast<size_t>(candidate);
            if (distance > static_cast<size_t>(kMaxDistance)) break;
            size_t n = 0;
            while (n < limit && data[static_cast<size_t>(candidate) + n] == data[i + n])
                ++n;
            if (static_cast<int>(n) > best) {
                best = static_cast<int>(n);
                best_distance = static_cast<int>(distance);
                if (n == limit) break;
            }
        }
        return best >= kMinMatch ? best : 0;
    };

    MkfpackStream* s = mkfpack_stream_new();
    size_t i = 0;
    while (i < size) {
        int distance = 0;
        int length = longest(i, distance);
        if (length > 0 && length < kMaxMatch && i + 1 < size) {
            insert(i);
            int next_distance = 0;
            int next = longest(i + 1, next_distance);
            if (next > length + 1) {
                mkfpack_stream_literal(s, data[i]);
                ++i;
                continue; // the longer match is taken on the next round
            }
            mkfpack_stream_match(s, length, distance - 1);
            for (size_t k = 1; k < static_cast<size_t>(length); ++k)
                insert(i + k);
            i += static_cast<size_t>(length);
            continue;
        }
        if (length > 0) {
            mkfpack_stream_match(s, length, distance - 1);
            for (size_t k = 0; k < static_cast<size_t>(length); ++k)
                insert(i + k);
            i += static_cast<size_t>(length);
        } else {
            mkfpack_stream_literal(s, data[i]);
            insert(i);
            ++i;
        }
    }
    return mkfpack_stream_finish(s);
}
