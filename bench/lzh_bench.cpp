// Decoding speed of packed archive entries, in MB/s of output, over the
// stand-in data's packed entries, beside memcpy of the same bytes and zlib's
// inflate of the same bytes packed at level 9. The ratios benchmark times all
// three in one pass and reports decoder/memcpy and decoder/inflate, over the
// whole data set and for each archive's entries alone.
#include "engine/lzh.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#ifdef KARVO_HAVE_ZLIB
#include <zlib.h>
#endif

namespace {

using Bytes = std::vector<uint8_t>;

struct PackedEntry {
    std::string archive; // the file it comes from
    Bytes packed;        // as stored in the archive
    Bytes plain;         // what it unpacks to
    Bytes deflated;      // the plain bytes packed by zlib at level 9
};

uint32_t le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

Bytes read_file(const std::filesystem::path& path) {
    Bytes b;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return b;
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        b.insert(b.end(), buf, buf + n);
    std::fclose(f);
    return b;
}

// Every packed entry of every archive in the data directory.
const std::vector<PackedEntry>& entries() {
    static const std::vector<PackedEntry> all = [] {
        std::vector<PackedEntry> list;
        std::error_code ec;
        for (const auto& file : std::filesystem::directory_iterator(KARVO_BENCH_DATA_DIR, ec)) {
            std::string ext = file.path().extension().string();
            if (ext != ".mkf" && ext != ".MKF") continue;
            Bytes a = read_file(file.path());
            if (a.size() < 4) continue;
            uint64_t index = le32(a.data());
            for (uint64_t i = index; i + 4 <= a.size(); i += 4) {
                uint64_t at = le32(&a[i]);
                if (at + 16 > a.size()) continue;
                uint32_t unpacked = le32(&a[at]), packed = le32(&a[at + 4]);
                if (packed == unpacked || at + 16 + packed > a.size()) continue;
                PackedEntry e;
                e.archive = file.path().filename().string();
                e.packed.assign(a.begin() + static_cast<long>(at + 16),
                                a.begin() + static_cast<long>(at + 16 + packed));
                e.plain.resize(unpacked);
                if (lzh_decode(e.plain.data(), unpacked, e.packed.data(), packed) != unpacked)
                    continue;
#ifdef KARVO_HAVE_ZLIB
                uLongf size = compressBound(unpacked);
                e.deflated.resize(size);
                compress2(e.deflated.data(), &size, e.plain.data(), unpacked, 9);
                e.deflated.resize(size);
#endif
                list.push_back(std::move(e));
            }
        }
        return list;
    }();
    return all;
}

// The archive the timed passes take (empty: every archive).
std::string only_archive;

bool taken(const PackedEntry& e) {
    return only_archive.empty() || e.archive == only_archive;
}

size_t total_output() {
    size_t n = 0;
    for (const PackedEntry& e : entries())
        if (taken(e)) n += e.plain.size();
    return n;
}

void decode_all(Bytes& out) {
    for (const PackedEntry& e : entries())
        if (taken(e))
            benchmark::DoNotOptimize(lzh_decode(out.data(), static_cast<uint32_t>(e.plain.size()),
                                                e.packed.data(),
                                                static_cast<uint32_t>(e.packed.size())));
}

void copy_all(Bytes& out) {
    for (const PackedEntry& e : entries()) {
        if (!taken(e)) continue;
        std::memcpy(out.data(), e.plain.data(), e.plain.size());
        benchmark::ClobberMemory();
    }
}

void inflate_all([[maybe_unused]] Bytes& out) {
#ifdef KARVO_HAVE_ZLIB
    for (const PackedEntry& e : entries()) {
        if (!taken(e)) continue;
        uLongf size = static_cast<uLongf>(e.plain.size());
        benchmark::DoNotOptimize(
            uncompress(out.data(), &size, e.deflated.data(), e.deflated.size()));
    }
#endif
}

Bytes output_block() {
    size_t largest = 1;
    for (const PackedEntry& e : entries())
        largest = std::max(largest, e.plain.size());
    return Bytes(largest);
}

template <void (*Run)(Bytes&)> void BM_entries(benchmark::State& state) {
    if (entries().empty()) {
        state.SkipWithError("no packed entries in the data directory");
        return;
    }
    Bytes out = output_block();
    for (auto _ : state)
        Run(out);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * total_output()));
}

void BM_lzh_decode(benchmark::State& state) {
    BM_entries<decode_all>(state);
}
void BM_memcpy(benchmark::State& state) {
    BM_entries<copy_all>(state);
}
void BM_zlib_inflate(benchmark::State& state) {
    BM_entries<inflate_all>(state);
}

// Seconds for one pass of `run`, the best of several, in processor time.
// The thread's own processor time: on a busy machine the wall clock also
// counts the time other programs ran, and the ratios would follow the load.
double thread_seconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

double best_pass(void (*run)(Bytes&), Bytes& out) {
    double best = 1e30;
    for (int rep = 0; rep < 15; ++rep) {
        const double t0 = thread_seconds();
        run(out);
        best = std::min(best, thread_seconds() - t0);
    }
    return best;
}

void BM_ratios(benchmark::State& state) {
    if (entries().empty()) {
        state.SkipWithError("no packed entries in the data directory");
        return;
    }
    Bytes out = output_block();
    double mb = static_cast<double>(total_output()) / 1e6;
    double lzh = 0, copy = 0, zlib = 0;
    for (auto _ : state) {
        lzh = mb / best_pass(decode_all, out);
        copy = mb / best_pass(copy_all, out);
        zlib = mb / best_pass(inflate_all, out);
    }
    state.counters["decode_MBps"] = lzh;
    state.counters["memcpy_MBps"] = copy;
    state.counters["decode_per_memcpy"] = lzh / copy;
#ifdef KARVO_HAVE_ZLIB
    state.counters["inflate_MBps"] = zlib;
    state.counters["decode_per_inflate"] = lzh / zlib;
#endif
    state.counters["entries"] = static_cast<double>(entries().size());
#ifdef KARVO_HAVE_ZLIB
    // Each archive's entries alone: pictures, maps, sounds and voices differ.
    std::vector<std::string> archives;
    for (const PackedEntry& e : entries())
        if (std::find(archives.begin(), archives.end(), e.archive) == archives.end())
            archives.push_back(e.archive);
    for (const std::string& a : archives) {
        only_archive = a;
        state.counters["decode_per_inflate_" + a] =
            best_pass(inflate_all, out) / best_pass(decode_all, out);
    }
    only_archive.clear();
#endif
}

} // namespace

BENCHMARK(BM_lzh_decode);
BENCHMARK(BM_memcpy);
#ifdef KARVO_HAVE_ZLIB
BENCHMARK(BM_zlib_inflate);
#endif
BENCHMARK(BM_ratios)->Iterations(1)->Unit(benchmark::kMillisecond);
