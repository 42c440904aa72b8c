// Loading a 640 x 480 JPEG and a 640 x 480 24-bit BMP into an ARGB8888 plane,
// side by side with SDL2_image's IMG_Load of the same files; and one present
// of a 640 x 480 frame through the SDL display (SDL's dummy video driver when
// there is no X display).
#include <benchmark/benchmark.h>

#include <SDL.h>
#include <SDL_image.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "draw/FastPlane.h"
#include "platform/Display.h"
#include "platform/HostPath.h"
#include "platform/PictureEncoder.h"
#include "platform/WindowSystem.h"

namespace {

constexpr int Width = 640, Height = 480;

// A picture with smooth areas and edges, as backgrounds have.
platform::DecodedPicture Scene()
{
    platform::DecodedPicture picture{Width, Height, std::vector<uint8_t>(size_t(Width) * Height * 3)};
    std::mt19937 noise(7);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            uint8_t* cell = picture.rows.data() + (size_t(y) * Width + x) * 3;
            const bool edge = ((x / 40) + (y / 40)) % 2 == 0;
            cell[0] = uint8_t(x * 255 / Width + (noise() & 7));
            cell[1] = uint8_t(edge ? 200 : y * 255 / Height);
            cell[2] = uint8_t((x ^ y) & 0xFF);
        }
    return picture;
}

std::vector<uint8_t> Bmp24(const platform::DecodedPicture& picture)
{
    const size_t row = size_t(Width) * 3, size = 54 + row * Height;
    std::vector<uint8_t> file(size, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) file[at + i] = uint8_t(v >> (8 * i));
    };
    file[0] = 'B', file[1] = 'M';
    put32(2, uint32_t(size));
    put32(10, 54);
    put32(14, 40);
    put32(18, Width);
    put32(22, Height);
    file[26] = 1, file[28] = 24;
    for (int y = 0; y < Height; ++y)
        std::copy_n(picture.rows.begin() + ptrdiff_t(row * y), row, file.begin() + ptrdiff_t(54 + row * (Height - 1 - y)));
    return file;
}

struct Files {
    Files()
    {
        const platform::DecodedPicture scene = Scene();
        std::vector<uint8_t> jpeg;
        platform::EncodeJpeg(scene, 90, jpeg);
        folder = std::filesystem::temp_directory_path() / ("quiltor-bench-" + std::to_string(std::random_device()()));
        std::filesystem::create_directories(folder);
        Write("scene.jpg", jpeg);
        Write("scene.bmp", Bmp24(scene));
    }
    ~Files() { std::filesystem::remove_all(folder); }

    void Write(const char* name, const std::vector<uint8_t>& bytes)
    {
        std::ofstream(folder / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    std::string Host(const char* name) const { return (folder / name).string(); }
    std::string Internal(const char* name) const { return platform::ToInternalPath(Host(name)); }

    std::filesystem::path folder;
};

Files& TheFiles()
{
    static Files files;
    return files;
}

void LoadIntoPlane(benchmark::State& state, const char* name)
{
    const std::string file = TheFiles().Internal(name);
    kivotasuGameKit::Draw::CFastPlane plane;
    for (auto _ : state) {
        if (plane.LoadPicture(file, kivotasuGameKit::ARGB8888) != 0) state.SkipWithError("not loaded");
        benchmark::DoNotOptimize(plane.GetSurfaceInfoPtr()->GetPixels());
    }
    state.SetItemsProcessed(state.iterations() * Width * Height);
}

void ImgLoad(benchmark::State& state, const char* name)
{
    const std::string file = TheFiles().Host(name);
    for (auto _ : state) {
        SDL_Surface* surface = IMG_Load(file.c_str());
        if (!surface) state.SkipWithError("not loaded");
        benchmark::DoNotOptimize(surface);
        SDL_FreeSurface(surface);
    }
    state.SetItemsProcessed(state.iterations() * Width * Height);
}

void BM_JpegIntoArgb8888Plane(benchmark::State& state) { LoadIntoPlane(state, "scene.jpg"); }
void BM_JpegImgLoad(benchmark::State& state) { ImgLoad(state, "scene.jpg"); }
void BM_Bmp24IntoArgb8888Plane(benchmark::State& state) { LoadIntoPlane(state, "scene.bmp"); }
void BM_Bmp24ImgLoad(benchmark::State& state) { ImgLoad(state, "scene.bmp"); }

BENCHMARK(BM_JpegIntoArgb8888Plane)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegImgLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bmp24IntoArgb8888Plane)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bmp24ImgLoad)->Unit(benchmark::kMillisecond);

void BM_PresentFrame(benchmark::State& state)
{
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) setenv("SDL_VIDEODRIVER", "dummy", 0);
    auto windows = platform::MakeSdlWindowSystem();
    platform::WindowSpec request;
    request.captionSjis = "bench";
    const platform::WindowHandle window = windows->CreateWindow(request);
    auto display = platform::MakeSdlDisplaySystem()->CreateDisplay();
    std::unique_ptr<platform::IDisplaySurface> primary;
    if (window && display && display->Initialize(true) && display->SetCooperativeLevel(window, false))
        primary = display->CreatePrimary(Width, Height);
    if (!primary) {
        state.SkipWithError("no SDL display");
        return;
    }
    std::vector<uint8_t> frame(size_t(Width) * Height * 4, 0x5A);
    const platform::PixelSource source{frame.data(), Width * 4, Width, Height, platform::FormatXRGB8888};
    for (auto _ : state) {
        if (!primary->Blt(0, 0, source, {0, 0, Width, Height})) state.SkipWithError("present failed");
        frame[size_t(state.iterations() % frame.size())] ^= 1;
    }
    primary.reset();
    display.reset();
    windows->DestroyWindow(window);
}

BENCHMARK(BM_PresentFrame)->Unit(benchmark::kMillisecond);

} // namespace
