// The file layer's hot paths: LZSS expansion of archive members, and finding
// a member through the archives of enclosing folders.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "frame/file/File.h"
#include "frame/file/Lzss.h"
#include "platform/HostPath.h"
#include "tests/frame/file/ArchiveBuilder.h"

using namespace kivotasuGameKit;

namespace {

// Picture-like bytes: runs, repeats of the row above, a little noise.
std::vector<std::uint8_t> PictureLike(std::size_t size)
{
    std::mt19937 random(3);
    std::vector<std::uint8_t> bytes;
    while (bytes.size() < size) {
        const unsigned kind = random() % 3;
        if (kind == 0) bytes.insert(bytes.end(), 48, std::uint8_t(random()));
        else if (kind == 1 && bytes.size() >= 1920) bytes.insert(bytes.end(), bytes.end() - 1920, bytes.end() - 1872);
        else for (int i = 0; i < 48; ++i) bytes.push_back(std::uint8_t(random() % 8));
    }
    bytes.resize(size);
    return bytes;
}

void BM_LzssDecode(benchmark::State& state)
{
    const std::vector<std::uint8_t> plain = PictureLike(1 << 20);
    auto codec = std::make_unique<CLZSS>();
    std::vector<std::uint8_t> stream(plain.size());
    std::uint8_t* out = stream.data();
    std::uint32_t size = 0;
    if (codec->Encode(plain.data(), &out, std::uint32_t(plain.size()), &size, false) != 0) {
        state.SkipWithError("incompressible");
        return;
    }
    std::vector<std::uint8_t> expanded(plain.size());
    for (auto _ : state) {
        codec->DecodeInto(stream.data(), size, expanded.data(), std::uint32_t(expanded.size()));
        benchmark::DoNotOptimize(expanded.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(plain.size()));
    state.counters["ratio"] = double(size) / double(plain.size());
}
BENCHMARK(BM_LzssDecode)->Unit(benchmark::kMillisecond);

// Members name0..name(count-1) of 16 bytes each.
std::string Archive(const std::string& prefix, int count)
{
    ArchiveBuilder builder(ArchiveFormat::PackEx);
    for (int i = 0; i < count; ++i) builder.Add(prefix + std::to_string(i), std::string(16, 'm'));
    return builder.Build();
}

// Z:\...\g\data\bg\x.bmp lies in g.dat, the third archive the walk opens:
// data\bg.dat and data.dat exist with 200 other members each.
void BM_LookupThroughThreeArchives(benchmark::State& state)
{
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("quiltor-bench-" + std::to_string(std::random_device()()));
    fs::create_directories(root / "g/data");
    std::ofstream(root / "g/data/bg.dat", std::ios::binary) << Archive("other", 200);
    std::ofstream(root / "g/data.dat", std::ios::binary) << Archive("bg\\other", 200);
    std::ofstream(root / "g.dat", std::ios::binary) << Archive("data\\bg\\x", 200);
    const std::string name = platform::ToInternalPath(root.string()) + "\\g\\data\\bg\\X199";
    CFile file;
    for (auto _ : state) {
        if (file.Read(name, FileKind::Picture) != platform::ReadResult::Done) {
            state.SkipWithError("member not found");
            break;
        }
    }
    fs::remove_all(root);
}
BENCHMARK(BM_LookupThroughThreeArchives)->Unit(benchmark::kMicrosecond);

} // namespace
