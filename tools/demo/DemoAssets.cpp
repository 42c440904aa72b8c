// Builds the demo game's data from the repository: the scripts, kept in UTF-8,
// become the Shift-JIS files the player reads, and the pictures and sounds
// are made here, so the demo ships no third-party art.
//
//   quiltor-demo-assets <demo source folder> <game folder>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <numbers>
#include <string>
#include <vector>

#include "platform/AudioEncoder.h"
#include "platform/PictureEncoder.h"
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

void WriteJpeg(const fs::path& path, int width, int height, const Painter& paint)
{
    platform::DecodedPicture picture;
    picture.width = width;
    picture.height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Colour c = paint(x, y);
            picture.rows.insert(picture.rows.end(), {c.blue, c.green, c.red});
        }
    std::vector<std::uint8_t> bytes;
    if (platform::EncodeJpeg(picture, 90, bytes)) WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

// The pictures of the story chapter: a JPEG sky, characters as a keyed BMP
// (magenta around the figure) and as a JPEG, a sign, a sheet of marks to cut
// from, a full-screen picture, a curtain for the transitions and a glowing
// wait cursor.
void StoryPictures(const fs::path& folder)
{
    const Colour magenta{255, 0, 255};
    WriteJpeg(folder / "sky.jpg", 640, 480, [](int x, int y) {
        return Colour{Channel(60 + y / 4.0), Channel(90 + y / 3.0), Channel(200 - x / 8.0)};
    });
    WriteBmp(folder / "mina.bmp", 200, 360, [&](int x, int y) {
        const double dx = (x - 100) / 90.0, dy = (y - 200) / 160.0;
        if (dx * dx + dy * dy > 1) return magenta;
        return y < 110 ? Colour{240, 208, 176} : y / 40 % 2 ? Colour{80, 112, 192} : Colour{48, 80, 160};
    });
    WriteJpeg(folder / "ren.jpg", 160, 300, [](int x, int y) {
        const double dx = (x - 80) / 70.0, dy = (y - 170) / 130.0;
        const bool figure = dx * dx + dy * dy <= 1 || std::hypot(x - 80.0, y - 45.0) < 36;
        return figure ? Colour{Channel(120 + x / 2.0), Channel(60 + y / 4.0), 80} : Colour{200, 220, 235};
    });
    WriteBmp(folder / "sign.bmp", 140, 80, [](int x, int y) {
        return x < 4 || y < 4 || x >= 136 || y >= 76 ? Colour{80, 48, 16} : Colour{232, 216, 160};
    });
    const Colour marks[4] = {{208, 32, 32}, {32, 160, 32}, {32, 64, 208}, {208, 160, 32}};
    WriteBmp(folder / "sheet.bmp", 128, 32, [&](int x, int y) {
        const int cx = x % 32 - 16, cy = y - 16;
        return cx * cx + cy * cy > 144 ? magenta : marks[x / 32];
    });
    // A night sky for the choices: dark enough that the grey of an item not
    // chosen stands out in the window darkened over it.
    WriteJpeg(folder / "night.jpg", 640, 480, [](int x, int y) {
        const bool star = ((unsigned(x) * 73856093u) ^ (unsigned(y) * 19349663u)) % 997 == 0 && y < 260;
        return star ? Colour{230, 230, 250} : Colour{Channel(10 + y / 24.0), Channel(14 + y / 20.0), Channel(60 - x / 32.0)};
    });
    // Two more frames of the message window, in the window's place, a border
    // around a keyed magenta inside: the demo gives the window one, then the other.
    const Colour borders[2] = {{120, 170, 230}, {230, 190, 90}};
    for (int n = 0; n < 2; ++n) {
        WriteBmp(folder / ("frame" + std::to_string(n + 1) + ".bmp"), 608, 176, [&](int x, int y) {
            const int edge = std::min({x, y, 607 - x, 175 - y});
            const bool corner = std::min(x, 607 - x) < 8 && std::min(y, 175 - y) < 8 &&
                                std::hypot(8.0 - std::min(x, 607 - x), 8.0 - std::min(y, 175 - y)) > 8;
            return corner || edge >= 3 + n ? magenta : borders[n];
        });
    }
    WriteBmp(folder / "full.bmp", 640, 480, [](int x, int y) {
        return (x / 40 + y / 40) % 2 ? Colour{16, 24, 32} : Colour{64, 96, 128};
    });
    // Drapes and a valance with rounded top corners around a magenta stage:
    // the picture an EFFECT names, keyed by its top-left colour and drawn
    // over the new scene.
    WriteBmp(folder / "curtain.bmp", 640, 480, [&](int x, int y) {
        const int side = std::min(x, 639 - x);
        if (y >= 48 && side >= 72) return magenta;
        if (side < 24 && y < 24 && std::hypot(24.0 - side, 24.0 - y) > 24) return magenta;
        const double fold = 0.6 + 0.4 * std::cos((y < 48 ? x : side) / 6.0);
        return Colour{Channel(150 * fold + 40), Channel(20 * fold), Channel(40 * fold)};
    });
    // A wait cursor of light, four 48 x 48 frames of a warm glow that swells
    // and fades to black at its rim: added to the screen, black adds nothing.
    WriteBmp(folder / "glow.bmp", 192, 48, [](int x, int y) {
        const double radius = 12 + 3 * (x / 48), fall = std::max(0.0, 1 - std::hypot(x % 48 - 23.5, y - 23.5) / radius);
        return Colour{Channel(255 * fall * fall), Channel(200 * fall * fall), Channel(120 * fall * fall)};
    });
}

// A 56 x 20 button of the function bar with its icon, in its OFF and ON
// looks (<stem>_off.bmp, <stem>_on.bmp); rounded corners are magenta, to be
// keyed out.
void BarButton(const fs::path& stem, const std::function<bool(int, int)>& icon, bool rounded)
{
    for (bool on : {false, true}) {
        WriteBmp(stem.string() + (on ? "_on.bmp" : "_off.bmp"), 56, 20, [&](int x, int y) {
            const int cx = std::min(x, 55 - x), cy = std::min(y, 19 - y);
            if (rounded && cx < 3 && cy < 3 && std::hypot(3.0 - cx, 3.0 - cy) > 3) return Colour{255, 0, 255};
            if (cx == 0 || cy == 0) return on ? Colour{255, 240, 200} : Colour{120, 120, 140};
            if (icon(x, y)) return on ? Colour{255, 255, 255} : Colour{170, 170, 190};
            return on ? Colour{70, 90, 160} : Colour{30, 34, 52};
        });
    }
}

// The pictures of the choice chapter: a wait cursor of four frames (a dot
// going round, on a keyed magenta ground), the function bar's buttons and
// the quick save and load buttons in their OFF and ON looks, and a sun and a
// moon to choose between, each OFF, ON and PUSH.
void ChoicePictures(const fs::path& folder)
{
    const Colour magenta{255, 0, 255};
    WriteBmp(folder / "wait.bmp", 64, 16, [&](int x, int y) {
        const double angle = std::numbers::pi / 2 * (x / 16);
        const double cx = 8 + 5 * std::cos(angle), cy = 8 + 5 * std::sin(angle);
        return std::hypot(x % 16 + 0.5 - cx, y + 0.5 - cy) < 3.2 ? Colour{255, 230, 120} : magenta;
    });
    // Icons: lines of text (back-log), an eye (hide), two arrows (skip).
    const std::function<bool(int, int)> icons[3] = {
        [](int x, int y) { return y >= 5 && y <= 15 && y % 4 == 1 && x >= 16 && x < 40 - (y == 13) * 8; },
        [](int x, int y) {
            const double dx = (x - 28) / 11.0, dy = (y - 10) / 6.0;
            return std::abs(dx * dx + dy * dy - 1) < 0.25 || std::hypot(x - 28.0, y - 10.0) < 2.5;
        },
        [](int x, int y) { return x >= 16 && x < 40 && std::abs(y - 10) <= 6 - (x - 16) % 12 / 2 && (x - 16) % 12 < 12; }};
    const char* names[3] = {"log", "hide", "skip"};
    for (int n = 0; n < 3; ++n) BarButton(folder / names[n], icons[n], false);
    // The quick save and load buttons: an arrow into and out of a tray.
    const auto tray = [](int x, int y) { return y >= 13 && y <= 15 && x >= 18 && x < 38; };
    const std::function<bool(int, int)> quick[2] = {
        [&](int x, int y) {
            return tray(x, y) || (std::abs(x - 28) <= 1 && y >= 3 && y < 9) || (y >= 8 && y < 12 && std::abs(x - 28) <= 11 - y);
        },
        [&](int x, int y) {
            return tray(x, y) || (std::abs(x - 28) <= 1 && y >= 7 && y < 12) || (y >= 3 && y < 8 && std::abs(x - 28) <= y - 3);
        }};
    const char* quickNames[2] = {"qsave", "qload"};
    for (int n = 0; n < 2; ++n) BarButton(folder / quickNames[n], quick[n], true);
    // PUSH: the ON look pressed a pixel down and darker.
    const char* states[3] = {"off", "on", "push"};
    for (int state = 0; state < 3; ++state) {
        const double light = state == 0 ? 0.55 : state == 1 ? 1.0 : 0.8;
        const int sink = state == 2 ? 2 : 0;
        WriteBmp(folder / ("sun_" + std::string(states[state]) + ".bmp"), 120, 120, [&](int x, int y) {
            const double r = std::hypot(x - 60.0, y - 60.0 - sink);
            const double ray = std::cos(std::atan2(y - 60.0 - sink, x - 60.0) * 12);
            if (r < 30) return Colour{Channel(255 * light), Channel(200 * light), Channel(60 * light)};
            if (r < 48 + 8 * ray) return Colour{Channel(250 * light), Channel(150 * light), Channel(40 * light)};
            return Colour{Channel(40 + 60 * light), Channel(60 + 60 * light), Channel(120 + 60 * light)};
        });
        WriteBmp(folder / ("moon_" + std::string(states[state]) + ".bmp"), 120, 120, [&](int x, int y) {
            const bool moon = std::hypot(x - 60.0, y - 60.0 - sink) < 40 && std::hypot(x - 78.0, y - 48.0 - sink) >= 34;
            if (moon) return Colour{Channel(250 * light), Channel(245 * light), Channel(200 * light)};
            const bool star = (x * 7 + y * 13) % 97 == 0;
            return star ? Colour{Channel(200 * light), Channel(200 * light), Channel(220 * light)}
                        : Colour{Channel(10 + 20 * light), Channel(16 + 20 * light), Channel(50 + 40 * light)};
        });
    }
}

// An animated mouse cursor (RIFF "ACON"): a 32 x 32 hourglass whose sand
// runs down in four frames, each a one-entry cursor file of 32-bit pixels
// with straight alpha, shown for 10 jiffies (1/60 s).
void WaitCursor(const fs::path& path)
{
    auto chunk = [](const char* id, const std::string& data) {
        std::string out(id, 4);
        PutLittle(out, std::uint32_t(data.size()), 4);
        return out + data + (data.size() % 2 ? std::string(1, '\0') : std::string());
    };
    std::string frames = "fram";
    for (int frame = 0; frame < 4; ++frame) {
        // The bitmap header: 32 wide, twice 32 high (colours and mask), 1 plane, 32 bits.
        std::string image;
        PutLittle(image, 40, 4), PutLittle(image, 32, 4), PutLittle(image, 64, 4), PutLittle(image, 1, 2), PutLittle(image, 32, 2);
        image.resize(40, '\0');
        for (int y = 31; y >= 0; --y)
            for (int x = 0; x < 32; ++x) {
                const int half = y < 16 ? 15 - y : y - 16, inside = std::abs(x - 16) <= half + 1;
                const bool frameLine = y < 2 || y > 29 || (inside && std::abs(x - 16) == half + 1);
                const bool sand = inside && (y < 16 ? y >= 4 + frame * 3 : y >= 28 - frame * 3);
                const std::uint32_t argb = frameLine ? 0xFF302010u : sand ? 0xFFE0B040u : inside ? 0x60FFFFFFu : 0u;
                PutLittle(image, argb, 4);
            }
        image += std::string(32 * 4, '\0'); // the AND mask: the alpha decides
        // One directory entry: 32 x 32, the hotspot at the centre, the image behind.
        std::string file;
        PutLittle(file, 0, 2), PutLittle(file, 2, 2), PutLittle(file, 1, 2);
        PutLittle(file, 32, 1), PutLittle(file, 32, 1), PutLittle(file, 0, 2), PutLittle(file, 16, 2), PutLittle(file, 16, 2);
        PutLittle(file, std::uint32_t(image.size()), 4), PutLittle(file, 22, 4);
        frames += chunk("icon", file + image);
    }
    std::string header;
    for (std::uint32_t value : {36u, 4u, 4u, 0u, 0u, 0u, 0u, 10u, 1u}) PutLittle(header, value, 4);
    WriteFile(path, chunk("RIFF", "ACON" + chunk("anih", header) + chunk("LIST", frames)));
}

using Voice = std::function<double(double t)>;

// seconds of a mono signal in both channels at rate.
platform::PcmSound Synthesize(int rate, double seconds, const Voice& voice)
{
    platform::PcmSound sound{rate, 2, {}};
    const int frames = static_cast<int>(rate * seconds);
    for (int i = 0; i < frames; ++i) {
        const auto sample = static_cast<std::int16_t>(std::lround(std::fmax(-1.0, std::fmin(1.0, voice(double(i) / rate))) * 32767));
        sound.samples.insert(sound.samples.end(), {sample, sample});
    }
    return sound;
}

// How a sound file is written: PCM, 24-bit extensible or IMA ADPCM WAVE, or
// MP3 at a constant or a variable bit rate.
enum class SoundFile { Pcm, Extensible24, Adpcm, Mp3, VariableMp3 };

void WriteSound(const fs::path& path, const platform::PcmSound& sound, SoundFile kind)
{
    std::vector<std::uint8_t> bytes;
    bool made = false;
    switch (kind) {
    case SoundFile::Pcm: made = platform::EncodeWave(sound, platform::WaveEncoding::Pcm16, bytes); break;
    case SoundFile::Extensible24: made = platform::EncodeWave(sound, platform::WaveEncoding::ExtensiblePcm24, bytes); break;
    case SoundFile::Adpcm: made = platform::EncodeWave(sound, platform::WaveEncoding::ImaAdpcm, bytes); break;
    case SoundFile::Mp3: made = platform::EncodeMp3(sound, platform::Mp3Bitrate::Constant, 0.3, bytes); break;
    case SoundFile::VariableMp3: made = platform::EncodeMp3(sound, platform::Mp3Bitrate::Variable, 0.3, bytes); break;
    }
    if (made) WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

// A bell struck once: inharmonic partials that die away.
double Bell(double t, double pitch)
{
    double value = 0;
    const double partials[4][2] = {{1.0, 0.5}, {2.76, 0.25}, {5.4, 0.12}, {8.93, 0.06}};
    for (const auto& partial : partials)
        value += partial[1] * std::exp(-t * 3 * partial[0]) * std::sin(2 * std::numbers::pi * pitch * partial[0] * t);
    return value;
}

// Three syllables of a voice: a buzz through two vowel-like resonances, its
// pitch gliding like speech.
double Syllables(double t)
{
    const double syllable = std::fmod(t, 0.4);
    const double envelope = std::sin(std::numbers::pi * std::fmin(1.0, syllable / 0.32));
    const double pitch = 220 * (1 + 0.15 * std::sin(2 * std::numbers::pi * 1.3 * t));
    double value = 0;
    for (int harmonic = 1; harmonic <= 12; ++harmonic) {
        const double hz = pitch * harmonic;
        const double formant = std::exp(-std::pow((hz - 700) / 250, 2)) + 0.6 * std::exp(-std::pow((hz - 1200) / 300, 2));
        value += (0.08 + formant) / harmonic * std::sin(2 * std::numbers::pi * pitch * harmonic * t);
    }
    return t < 1.2 ? 0.5 * envelope * value : 0;
}

// The effects and voices of the sound scene, and the volume page's sample:
// each kind of file the readers serve.
void Sounds(const fs::path& folder)
{
    WriteSound(folder / "chime.wav", Synthesize(44100, 1.5, [](double t) { return Bell(t, 660); }),
               SoundFile::Extensible24);
    WriteSound(folder / "drop.wav", Synthesize(22050, 0.6, [](double t) {
        return 0.6 * std::exp(-t * 8) * std::sin(2 * std::numbers::pi * (900 - 600 * t) * t);
    }), SoundFile::Adpcm);
    WriteSound(folder / "voice.mp3", Synthesize(44100, 1.3, Syllables), SoundFile::VariableMp3);
    // The volume page's sample at the level of the music it sets.
    WriteSound(folder / u8"ほてぴら.mp3", Synthesize(44100, 1.2, [](double t) {
        const double notes[4] = {523.25, 659.25, 783.99, 1046.5};
        return 0.45 * Bell(std::fmod(t, 0.3), notes[std::min(3, static_cast<int>(t / 0.3))]);
    }), SoundFile::Mp3);
}

// Background music long enough to be streamed through a ring of three seconds
// several times over: 24 bells, half a second each, looping on the bar.
void StreamedMusic(const fs::path& folder)
{
    WriteSound(folder / "river.wav", Synthesize(44100, 12.0, [](double t) {
        const double notes[8] = {261.63, 329.63, 392.0, 523.25, 440.0, 392.0, 329.63, 293.66};
        const int beat = static_cast<int>(t / 0.5);
        return 0.4 * Bell(t - 0.5 * beat, notes[(beat * 3) % 8]) + 0.1 * std::sin(2 * std::numbers::pi * 130.81 * t);
    }), SoundFile::Pcm);
}

// A tune looping every bar: notes (Hz, 0 a rest) a beat each, rung on soft
// bells over a quiet drone of the first note an octave down.
double Tune(double t, const std::vector<double>& notes, double beat)
{
    const double bar = beat * static_cast<double>(notes.size());
    const double inBar = std::fmod(t, bar);
    const auto index = std::min(notes.size() - 1, static_cast<std::size_t>(inBar / beat));
    const double note = notes[index];
    const double rung = note > 0 ? 0.5 * Bell(inBar - beat * static_cast<double>(index), note) : 0;
    return rung + 0.12 * std::sin(2 * std::numbers::pi * notes[0] / 2 * t);
}

// Two pieces of background music, whole bars so that they loop smoothly.
void Music(const fs::path& folder)
{
    WriteSound(folder / "walk.wav", Synthesize(22050, 3.2, [](double t) {
        return Tune(t, {392.0, 493.88, 587.33, 493.88, 440.0, 523.25, 659.25, 523.25}, 0.4);
    }), SoundFile::Pcm);
    WriteSound(folder / "night.mp3", Synthesize(44100, 4.8, [](double t) {
        return Tune(t, {329.63, 0, 392.0, 440.0, 0, 392.0, 293.66, 0}, 0.6);
    }), SoundFile::Mp3);
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

// The title music, a Standard MIDI File (format 0): vibraphone over strings
// and a bass, four bars at 100 bpm that loop, as full and loud as the WAVE
// music.
void TitleMusic(const fs::path& folder)
{
    constexpr std::uint32_t Beat = 96;
    struct Event {
        std::uint32_t tick;
        std::string bytes;
    };
    std::vector<Event> events{{0, {'\xFF', '\x51', '\x03', '\x09', '\x27', '\xC0'}}, // 600000 us a quarter
                              {0, {'\xC0', 11}},
                              {0, {'\xC1', 32}},
                              {0, {'\xC2', 48}}};
    auto note = [&](int channel, std::uint32_t beat, std::uint32_t beats, int key, int velocity) {
        events.push_back({beat * Beat, {static_cast<char>(0x90 | channel), static_cast<char>(key), static_cast<char>(velocity)}});
        events.push_back({(beat + beats) * Beat - 4, {static_cast<char>(0x80 | channel), static_cast<char>(key), 0}});
    };
    const int melody[16] = {72, 76, 79, 76, 74, 77, 81, 77, 72, 76, 79, 84, 83, 79, 74, 0};
    for (std::uint32_t beat = 0; beat < 16; ++beat)
        if (melody[beat]) note(0, beat, 1, melody[beat], 100);
    const int bass[4] = {48, 50, 45, 43};
    const int chords[4][3] = {{60, 64, 67}, {62, 65, 69}, {57, 60, 64}, {55, 59, 62}};
    for (std::uint32_t bar = 0; bar < 4; ++bar) {
        note(1, bar * 4, 4, bass[bar], 100);
        for (int key : chords[bar]) note(2, bar * 4, 4, key, 72);
    }
    events.push_back({16 * Beat, {'\xFF', '\x2F', '\x00'}});
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.tick < b.tick; });

    std::string track;
    std::uint32_t last = 0;
    for (const Event& event : events) {
        std::uint32_t delta = event.tick - last;
        std::string number(1, static_cast<char>(delta & 0x7F));
        while (delta >>= 7) number.insert(number.begin(), static_cast<char>(0x80 | (delta & 0x7F)));
        track += number + event.bytes;
        last = event.tick;
    }
    auto big = [](std::uint32_t value, int bytes) {
        std::string out;
        for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
        return out;
    };
    WriteFile(folder / "title.mid", "MThd" + big(6, 4) + big(0, 2) + big(1, 2) + big(Beat, 2) + "MTrk" +
                                        big(static_cast<std::uint32_t>(track.size()), 4) + track);
}

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
    StoryPictures(game / "data" / "pictures");
    ChoicePictures(game / "data" / "choice");
    WaitCursor(game / "data" / "choice" / "wait.ani");
    Sounds(game / "data" / "sound");
    StreamedMusic(game / "data" / "bgm");
    Music(game / "data" / "bgm");
    TitleMusic(game / "data" / "bgm");
    return 0;
}
