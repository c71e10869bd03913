// Taking one 1 MiB file out of a 100 MiB archive, as a picture or sound missing on disk is: the
// reader must skip the other members rather than read through them (goal: under 20 ms).
#include "interp/Engine.h"
#include "media/PackedFiles.h"
#include "platform/headless/HeadlessPlatform.h"

#include <archive.h>
#include <archive_entry.h>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// 100 members of 1 MiB of noise (it does not compress, so the archive really is 100 MiB).
void writeArchive(const fs::path& path, const char* format) {
    archive* a = archive_write_new();
    if (std::string(format) == "zip") {
        archive_write_set_format_zip(a);
        archive_write_set_format_option(a, "zip", "compression", "store");
    } else {
        archive_write_set_format_pax_restricted(a);
    }
    archive_write_open_filename(a, path.c_str());
    std::mt19937 rng(7);
    std::vector<uint32_t> block((1 << 20) / 4);
    for (int i = 0; i < 100; ++i) {
        for (uint32_t& v : block) v = rng();
        archive_entry* e = archive_entry_new();
        archive_entry_set_pathname(e, ("data/member" + std::to_string(i) + ".bin").c_str());
        archive_entry_set_size(e, 1 << 20);
        archive_entry_set_filetype(e, AE_IFREG);
        archive_entry_set_perm(e, 0644);
        archive_write_header(a, e);
        archive_write_data(a, block.data(), 1 << 20);
        archive_entry_free(e);
    }
    archive_write_close(a);
    archive_write_free(a);
}

void extractLast(benchmark::State& state, const char* format) {
    const fs::path dir =
        fs::temp_directory_path() / ("orvane-bench-archive-" + std::string(format));
    fs::create_directories(dir / "tmp");
    const std::string name = std::string("big.") + format;
    writeArchive(dir / name, format);
    orv::HeadlessPlatform platform({}, {});
    orv::Engine engine(platform, dir);
    engine.tempDirectory = dir / "tmp";
    engine.packed.archives = {name + "|a.dll"};
    for (auto _ : state) {
        auto path = orv::extractFromArchive(engine, "data\\member99.bin");
        if (!path || fs::file_size(*path) != (1u << 20)) state.SkipWithError("not extracted");
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
}

void BM_ExtractLastMemberOfZip(benchmark::State& state) {
    extractLast(state, "zip");
}
BENCHMARK(BM_ExtractLastMemberOfZip)->Unit(benchmark::kMillisecond);

void BM_ExtractLastMemberOfTar(benchmark::State& state) {
    extractLast(state, "tar");
}
BENCHMARK(BM_ExtractLastMemberOfTar)->Unit(benchmark::kMillisecond);

} // namespace
