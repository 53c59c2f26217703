// The entry decoder against streams made by the separate encoder and by hand.
#include "engine/lzh.h"

#include "mkfpack.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// Decodes from an input block of exactly the stream's size, so that any read
// past its end is caught by the address sanitizer.
int64_t decode(const Bytes& packed, Bytes& out, size_t out_size) {
    std::unique_ptr<uint8_t[]> in(new uint8_t[packed.size() ? packed.size() : 1]);
    if (!packed.empty()) std::memcpy(in.get(), packed.data(), packed.size());
    std::unique_ptr<uint8_t[]> dst(new uint8_t[out_size ? out_size : 1]);
    int64_t n = lzh_decode(dst.get(), static_cast<uint32_t>(out_size), in.get(),
                           static_cast<uint32_t>(packed.size()));
    out.assign(dst.get(), dst.get() + (n > 0 ? n : 0));
    return n;
}

Bytes round_trip(const Bytes& data) {
    Bytes packed = mkfpack_compress(data.data(), data.size());
    Bytes out;
    EXPECT_EQ(decode(packed, out, data.size()), static_cast<int64_t>(data.size()));
    return out;
}

Bytes skewed_bytes(size_t n, uint32_t seed) {
    Bytes b(n);
    for (auto& c : b) {
        seed = seed * 1103515245u + 12345u;
        uint32_t r = (seed >> 16) & 0x7FFF;
        // Mostly a few common bytes, sometimes any byte: the tree reshapes often.
        c = static_cast<uint8_t>(r % 4 != 0 ? "etaoin"[r % 6] : r >> 7);
    }
    return b;
}

TEST(LzhDecode, FirstSymbolLengthThenEndMarkGivesEmptyOutput) {
    for (int end_length : {3, 40, 67}) {
        MkfpackStream* s = mkfpack_stream_new();
        Bytes packed = mkfpack_stream_finish(s, end_length);
        Bytes out;
        EXPECT_EQ(decode(packed, out, 0), 0) << end_length;
        EXPECT_EQ(decode(packed, out, 16), 0) << end_length;
    }
}

TEST(LzhDecode, StreamsAssembledBitByBitFromTheInitialTree) {
    // Worked out by hand from the initial tree, independently of both coders:
    // bits go least significant first; the end mark is the code word 00000000
    // for upper bits 63 and six 1 bits.
    struct Case {
        const char* what;
        Bytes packed;
        std::string plain;
    };
    const std::vector<Case> cases = {
        // Symbol 320 sits at depth 8 under root child 639: 1,0,1,1,1,1,1,0.
        {"length 67 then end mark", {0x7D, 0x00, 0x3F}, ""},
        // Symbol 256 sits under root child 638: 0,1,1,1,1,1,1,0.
        {"length 3 then end mark", {0x7E, 0x00, 0x3F}, ""},
        // 'A' is read at depth 9 (1,1,0,1,1,1,1,1,1); its count of 2 moves it
        // past the run of leaves to node 320, so the second 'A' is read with
        // the 8 bits that led to symbol 320 before; symbol 256's path is
        // untouched by both updates.
        {"two literals across a swap", {0xFB, 0xFB, 0xFC, 0x00, 0x7E}, "AA"},
    };
    for (const Case& c : cases) {
        Bytes out;
        EXPECT_EQ(decode(c.packed, out, 8), static_cast<int64_t>(c.plain.size())) << c.what;
        EXPECT_EQ(std::string(out.begin(), out.end()), c.plain) << c.what;
    }
    // The encoder writes the very same bits.
    EXPECT_EQ(mkfpack_stream_finish(mkfpack_stream_new(), 67), cases[0].packed);
    EXPECT_EQ(mkfpack_stream_finish(mkfpack_stream_new(), 3), cases[1].packed);
    MkfpackStream* s = mkfpack_stream_new();
    mkfpack_stream_literal(s, 'A');
    mkfpack_stream_literal(s, 'A');
    EXPECT_EQ(mkfpack_stream_finish(s, 3), cases[2].packed);
}

TEST(LzhDecode, ShortestAndLongestMatchRepeatTheLastByte) {
    // Symbols 256 and 320: lengths 3 and 67; position 0 is the byte just written.
    MkfpackStream* s = mkfpack_stream_new();
    mkfpack_stream_literal(s, 'x');
    mkfpack_stream_match(s, 3, 0);
    mkfpack_stream_literal(s, 'y');
    mkfpack_stream_match(s, 67, 0);
    Bytes packed = mkfpack_stream_finish(s);
    Bytes out;
    ASSERT_EQ(decode(packed, out, 72), 72);
    EXPECT_EQ(std::string(out.begin(), out.end()), std::string(4, 'x') + std::string(68, 'y'));
}

TEST(LzhDecode, OverlappingMatchRepeatsWhatItWrites) {
    MkfpackStream* s = mkfpack_stream_new();
    for (char c : std::string("abc"))
        mkfpack_stream_literal(s, static_cast<uint8_t>(c));
    mkfpack_stream_match(s, 10, 2); // source starts 3 back and runs into its own output
    Bytes packed = mkfpack_stream_finish(s);
    Bytes out;
    ASSERT_EQ(decode(packed, out, 13), 13);
    EXPECT_EQ(std::string(out.begin(), out.end()), "abcabcabcabca");
}

TEST(LzhDecode, EveryPositionCodeDecodes) {
    // 4095 distinct-enough bytes, then a 3-byte match at every position 0..4094.
    Bytes plain;
    MkfpackStream* s = mkfpack_stream_new();
    for (int i = 0; i < 4095; ++i) {
        uint8_t b = static_cast<uint8_t>((i * 7 + i / 256) & 0xFF);
        plain.push_back(b);
        mkfpack_stream_literal(s, b);
    }
    for (int p = 0; p < 4095; ++p) {
        mkfpack_stream_match(s, 3, p);
        for (int k = 0; k < 3; ++k)
            plain.push_back(plain[plain.size() - 1 - static_cast<size_t>(p)]);
    }
    Bytes packed = mkfpack_stream_finish(s);
    Bytes out;
    ASSERT_EQ(decode(packed, out, plain.size()), static_cast<int64_t>(plain.size()));
    EXPECT_EQ(out, plain);
}

TEST(LzhDecode, SurvivesManyRescales) {
    // Far more than 32768 symbols, all literals, so that the root reaches
    // 0x8000 several times; the tree keeps the shape the walks leave, and a
    // decoder that rebuilt it would read different codes from then on.
    Bytes plain = skewed_bytes(150000, 1);
    MkfpackStream* s = mkfpack_stream_new();
    for (uint8_t b : plain)
        mkfpack_stream_literal(s, b);
    Bytes packed = mkfpack_stream_finish(s);
    Bytes out;
    ASSERT_EQ(decode(packed, out, plain.size()), static_cast<int64_t>(plain.size()));
    EXPECT_EQ(out, plain);
}

TEST(LzhDecode, RoundTripsThroughTheEncoder) {
    std::vector<Bytes> cases;
    cases.push_back({});
    cases.push_back({42});
    cases.push_back(Bytes(100000, 0));        // long runs of one byte
    cases.push_back(skewed_bytes(70000, 99)); // matches and literals across rescales
    Bytes text;
    for (int i = 0; i < 3000; ++i) {
        std::string line = "row " + std::to_string(i % 97) + " of the table, value " +
                           std::to_string(i * i) + "\n";
        text.insert(text.end(), line.begin(), line.end());
    }
    cases.push_back(text);
    Bytes noise(20000);
    uint32_t seed = 5;
    for (auto& c : noise)
        c = static_cast<uint8_t>((seed = seed * 1664525u + 1013904223u) >> 24);
    cases.push_back(noise);
    for (const Bytes& c : cases)
        EXPECT_EQ(round_trip(c), c) << c.size();
}

TEST(LzhDecode, EntriesDecodeIndependently) {
    Bytes a = skewed_bytes(40000, 3), b = skewed_bytes(5000, 4);
    Bytes pa = mkfpack_compress(a.data(), a.size()), pb = mkfpack_compress(b.data(), b.size());
    Bytes out_a1, out_b, out_a2;
    decode(pa, out_a1, a.size());
    decode(pb, out_b, b.size());
    decode(pa, out_a2, a.size());
    EXPECT_EQ(out_a1, a);
    EXPECT_EQ(out_b, b);
    EXPECT_EQ(out_a2, a);
}

TEST(LzhDecode, StreamsBreakingTheLimitsStopWithMinusOne) {
    Bytes plain = skewed_bytes(3000, 8);
    Bytes packed = mkfpack_compress(plain.data(), plain.size());
    Bytes out;
    // Output block too small by one byte.
    EXPECT_EQ(decode(packed, out, plain.size() - 1), -1);
    // Stream cut short at several places: the end mark is never reached.
    for (size_t cut : {size_t{0}, size_t{1}, packed.size() / 2, packed.size() - 1}) {
        Bytes shorter(packed.begin(), packed.begin() + static_cast<long>(cut));
        EXPECT_EQ(decode(shorter, out, plain.size()), -1) << cut;
    }
    // A match reaching before the first byte written.
    MkfpackStream* s = mkfpack_stream_new();
    mkfpack_stream_literal(s, 1);
    mkfpack_stream_match(s, 3, 1);
    EXPECT_EQ(decode(mkfpack_stream_finish(s), out, 100), -1);
    // A match as the very first symbol.
    s = mkfpack_stream_new();
    mkfpack_stream_match(s, 5, 0);
    EXPECT_EQ(decode(mkfpack_stream_finish(s), out, 100), -1);
}

TEST(LzhDecode, EndMarkInTheLastBitsNeedsNoBytesBeyond) {
    // The position look-ahead near the end must not read past the data: the
    // end mark's 14 bits land at the very end for some literal counts.
    for (int n = 0; n < 16; ++n) {
        MkfpackStream* s = mkfpack_stream_new();
        Bytes plain;
        for (int i = 0; i < n; ++i) {
            plain.push_back(static_cast<uint8_t>(i));
            mkfpack_stream_literal(s, static_cast<uint8_t>(i));
        }
        Bytes out;
        EXPECT_EQ(decode(mkfpack_stream_finish(s), out, plain.size()), n);
        EXPECT_EQ(out, plain);
    }
}

} // namespace
