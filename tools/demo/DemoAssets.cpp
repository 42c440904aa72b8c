// Builds the demo game's data from the repository: the scripts, kept in UTF-8,
// become the Shift-JIS files the player reads, and the pictures are drawn
// here, so the demo ships no third-party art.
//
//   quiltor-demo-assets <demo source folder> <game folder>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "platform/TextCodec.h"

namespace fs = std::filesystem;

namespace {

struct Colour {
    std::uint8_t red, green, blue;
};

using Painter = std::function<Colour(int x, int y)>;

void WriteFile(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void PutLittle(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A 24-bit bottom-up BMP.
void WriteBmp(const fs::path& path, int width, int height, const Painter& paint)
{
    const std::uint32_t row = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    std::string bmp = "BM";
    PutLittle(bmp, 54 + row * height, 4);
    PutLittle(bmp, 0, 4);
    PutLittle(bmp, 54, 4);
    PutLittle(bmp, 40, 4);
    PutLittle(bmp, static_cast<std::uint32_t>(width), 4);
    PutLittle(bmp, static_cast<std::uint32_t>(height), 4);
    PutLittle(bmp, 1, 2);
    PutLittle(bmp, 24, 2);
    for (int i = 0; i < 6; ++i) PutLittle(bmp, 0, 4);
    for (int y = height - 1; y >= 0; --y) {
        std::string line;
        for (int x = 0; x < width; ++x) {
            Colour c = paint(x, y);
            line += static_cast<char>(c.blue);
            line += static_cast<char>(c.green);
            line += static_cast<char>(c.red);
        }
        line.resize(row, '\0');
        bmp += line;
    }
    WriteFile(path, bmp);
}

std::uint8_t Channel(double value)
{
    return static_cast<std::uint8_t>(std::lround(std::fmin(255.0, std::fmax(0.0, value))));
}

// The three end pictures: a sky at dusk, night and dawn with concentric
// rings. The player recognises pictures by their content, so these BMPs
// serve under the JPEG names the end screen asks for.
void EndPictures(const fs::path& folder)
{
    const Colour tops[3] = {{250, 170, 110}, {30, 40, 90}, {150, 200, 250}};
    const Colour bottoms[3] = {{120, 60, 120}, {5, 5, 20}, {250, 240, 200}};
    for (int n = 0; n < 3; ++n) {
        WriteBmp(folder / ("Quiltor0" + std::to_string(n + 1) + ".jpg"), 640, 480, [&](int x, int y) {
            const double t = y / 479.0;
            const double ring = std::sin(std::hypot(x - 320.0, y - 240.0) / 12.0) * 12.0;
            return Colour{Channel(tops[n].red * (1 - t) + bottoms[n].red * t + ring),
                          Channel(tops[n].green * (1 - t) + bottoms[n].green * t + ring),
                          Channel(tops[n].blue * (1 - t) + bottoms[n].blue * t + ring)};
        });
    }
}

// Every file of the folder's tree, converted from UTF-8 to Shift-JIS.
void ConvertScripts(const fs::path& from, const fs::path& to)
{
    if (!fs::is_directory(from)) return;
    for (const auto& entry : fs::recursive_directory_iterator(from)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string utf8((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        WriteFile(to / fs::relative(entry.path(), from), platform::Utf8ToCp932(utf8));
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <demo source folder> <game folder>\n", argv[0]);
        return 2;
    }
    const fs::path source = argv[1];
    const fs::path game = argv[2];
    ConvertScripts(source / "data", game / "data");
    ConvertScripts(source / "system", game / "system");
    EndPictures(game / "data" / "Element");
    return 0;
}
