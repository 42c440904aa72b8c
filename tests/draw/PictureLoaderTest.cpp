#include "draw/DIBSurface.h"
#include "draw/PictureLoader.h"
#include "platform/PictureEncoder.h"
#include "tests/draw/PictureFiles.h"
#include "tests/kit/TempFolder.h"

#include <gtest/gtest.h>

using namespace kivotasuGameKit;
using namespace picturekit;
using pixelkit::TestSurface;

namespace {

struct Loaded {
    explicit Loaded(Bytes bytes, const char* suffix = "bmp") : data(std::move(bytes))
    {
        ReadFromMemory(file, data, suffix);
        result = loader.Load(file);
    }
    Bytes data;
    CFile file;
    CPictureLoader loader;
    int result;
};

uint32_t Checker(int x, int y) { return (x + y) % 2 ? 0x00FF8040 : 0x002080C0; }

} // namespace

TEST(PictureLoader, Bmp24CopiesUprightIntoEveryType)
{
    Loaded bmp(MakeBmp(Bmp24(5, 3)));
    ASSERT_EQ(bmp.result, 0);
    EXPECT_FALSE(bmp.loader.HasAlpha());
    int w = 0, h = 0;
    ASSERT_EQ(bmp.loader.GetSize(&w, &h), 0);
    EXPECT_EQ(w, 5);
    EXPECT_EQ(h, 3);
    for (int32_t type : pixelkit::AllFormatsButPal8()) {
        TestSurface target(type, 5, 3);
        EXPECT_EQ(bmp.loader.CopyTo(&target.Info()), 0) << pixelkit::TypeName(type);
        EXPECT_TRUE(Shows(target, Gradient));
    }
}

TEST(PictureLoader, SixteenBitBmpIsRgb555)
{
    Bmp bmp{3, 2, 16, 0, {}, {}, Bytes(RowSize(3, 16) * 2, 0)};
    // Bottom row first: pure red, green, blue in 5 bits each; top row white.
    const uint16_t bottom[3] = {0x7C00, 0x03E0, 0x001F};
    for (int x = 0; x < 3; ++x) {
        Put16(bmp.rows, size_t(x) * 2, bottom[x]);
        Put16(bmp.rows, RowSize(3, 16) + size_t(x) * 2, 0x7FFF);
    }
    Loaded file(MakeBmp(bmp));
    TestSurface target(pixelkit::kXRGB8888, 3, 2);
    ASSERT_EQ(file.loader.CopyTo(&target.Info()), 0);
    EXPECT_TRUE(Shows(target, [](int x, int y) { return y == 0 ? 0xF8F8F8u : (0xF80000u >> (8 * x)); }));
}

TEST(PictureLoader, OtherDepthsAreRefusedByTheCopyAndDrawnInstead)
{
    const std::vector<uint32_t> palette{0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    auto index = [](int x, int y) { return uint32_t(x + 2 * y) % 5; };
    auto colour = [&](int x, int y) { return palette[index(x, y)]; };
    auto twoColour = [&](int x, int y) { return palette[uint32_t(x + y) % 2]; };

    Bmp bits32{3, 2, 32, 0, {}, {}, Bytes(3 * 2 * 4, 0)};
    Bmp fields565{3, 2, 16, 3, {}, {0xF800, 0x07E0, 0x001F}, Bytes(RowSize(3, 16) * 2, 0)};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            const uint32_t c = Gradient(x, y);
            Put32(bits32.rows, (size_t(1 - y) * 3 + x) * 4, c | 0xAB000000);
            const uint32_t word = ((c >> 8) & 0xF800) | ((c >> 5) & 0x07E0) | ((c >> 3) & 0x1F);
            Put16(fields565.rows, RowSize(3, 16) * (1 - y) + x * 2, word);
        }
    // Run-length: the bottom row "1 1 2" as two runs, the top row "3 0 4" as
    // a literal run padded to a word, then the end mark.
    Bmp rle8{3, 2, 8, 1, palette, {}, {2, 1, 1, 2, 0, 0, 0, 3, 3, 0, 4, 0, 0, 1}};
    Bmp rle4{3, 2, 4, 2, palette, {}, {2, 0x11, 1, 0x20, 0, 0, 0, 3, 0x30, 0x40, 0, 1}};
    auto runs = [&](int x, int y) { return palette[y == 1 ? (x < 2 ? 1 : 2) : (x == 0 ? 3 : x == 1 ? 0 : 4)]; };
    const struct {
        const char* name;
        Bmp bmp;
        int copy;
        Pattern shown;
    } cases[] = {
        {"1 bit", IndexedBmp(3, 2, 1, palette, [](int x, int y) { return uint32_t(x + y) % 2; }), 3, twoColour},
        {"4 bits", IndexedBmp(3, 2, 4, palette, index), 3, colour},
        {"8 bits", IndexedBmp(3, 2, 8, palette, index), 3, colour},
        {"32 bits", bits32, 3, Gradient},
        {"bit fields 565", fields565, 2, [](int x, int y) { return Expected(pixelkit::kRGB565, Gradient(x, y)); }},
        {"RLE8", rle8, 2, runs},
        {"RLE4", rle4, 2, runs},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Loaded file(MakeBmp(c.bmp));
        ASSERT_EQ(file.result, 0);
        TestSurface copied(pixelkit::kRGB888, 3, 2);
        EXPECT_EQ(file.loader.CopyTo(&copied.Info()), c.copy);
        TestSurface drawn(pixelkit::kRGB888, 3, 2);
        ASSERT_EQ(file.loader.Render(&drawn.Info()), 0);
        EXPECT_TRUE(Shows(drawn, c.shown));
    }
}

TEST(PictureLoader, DamagedBmpIsTakenButNeverSizedCopiedOrDrawn)
{
    auto damaged = [](auto change, int64_t offset = -1) {
        Bmp bmp = Bmp24(4, 3);
        change(bmp);
        return MakeBmp(bmp, offset);
    };
    auto truncate = [](Bytes file, size_t by) { return file.resize(file.size() - by), file; };
    const struct {
        const char* name;
        Bytes file;
    } cases[] = {
        {"top-down height", damaged([](Bmp& b) { b.height = -3; })},
        {"zero width", damaged([](Bmp& b) { b.width = 0; })},
        {"huge width", damaged([](Bmp& b) { b.width = 1 << 30; })},
        {"huge height", damaged([](Bmp& b) { b.height = 0x7FFFFFFF; })},
        {"more pixels than accepted", damaged([](Bmp& b) { b.width = 16384, b.height = 16384; })},
        {"rows beyond the file", truncate(MakeBmp(Bmp24(4, 3)), 1)},
        {"offset beyond the file", damaged([](Bmp&) {}, 1 << 20)},
        {"offset near the end", damaged([](Bmp&) {}, 54 + 12)},
        {"colour table beyond the file", MakeBmp(Bmp{4, 1, 8, 0, {}, {}, Bytes(4, 0)})},
        {"bit fields on 24 bits", damaged([](Bmp& b) { b.compression = 3; })},
        {"unknown depth", damaged([](Bmp& b) { b.bits = 7; })},
        {"embedded JPEG", damaged([](Bmp& b) { b.compression = 4; })},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Loaded file(c.file);
        EXPECT_EQ(file.result, 0);
        int w = 0, h = 0;
        EXPECT_EQ(file.loader.GetSize(&w, &h), 1);
        TestSurface target(pixelkit::kXRGB8888, 4, 3);
        EXPECT_EQ(file.loader.CopyTo(&target.Info()), 3);
        EXPECT_EQ(file.loader.Render(&target.Info()), 1);
        EXPECT_TRUE(Shows(target, [](int, int) { return 0u; }));
    }
}

TEST(PictureLoader, BmpNeedsItsMagicAndFiftyFourBytes)
{
    Bytes file = MakeBmp(Bmp24(1, 1));
    file.resize(53);
    EXPECT_EQ(Loaded(file).result, 1);
    // A JPEG stream behind "BM" is taken for a BMP, whose header is then unusable.
    std::vector<uint8_t> jpeg;
    ASSERT_TRUE(platform::EncodeJpeg({8, 8, Bytes(8 * 8 * 3, 0x80)}, 90, jpeg));
    Bytes marked(jpeg.begin(), jpeg.end());
    marked.insert(marked.begin(), {'B', 'M'});
    Loaded bm(marked);
    EXPECT_EQ(bm.result, 0);
    int w, h;
    EXPECT_EQ(bm.loader.GetSize(&w, &h), 1);
}

TEST(PictureLoader, CompressedSurfaceFileKeepsItsAlphaRawOrCoded)
{
    // Tiles repeat, so that the coder has something to shorten.
    auto argb = [](int x, int y) { return (uint32_t(x % 4 * 60 + y % 2 * 5) << 24) | Gradient(x % 4, y % 2); };
    for (bool compress : {false, true}) {
        SCOPED_TRACE(compress ? "LZSS" : "raw");
        Loaded file(MakeOvk(16, 6, argb, compress), "ovk");
        ASSERT_EQ(file.result, 0);
        EXPECT_TRUE(file.loader.HasAlpha());
        for (int32_t type : pixelkit::AllFormatsButPal8()) {
            TestSurface target(type, 16, 6);
            EXPECT_EQ(file.loader.CopyTo(&target.Info()), 0);
            EXPECT_TRUE(Shows(target, argb, true));
        }
        // A packed ARGB8888 record takes the expanded pixels as they are.
        std::vector<uint8_t> packed(16 * 6 * 4);
        CSurfaceInfo record;
        const SIZE size{16, 6};
        record.Init(packed.data(), 16 * 4, &size, ARGB8888);
        ASSERT_EQ(file.loader.CopyTo(&record), 0);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 16; ++x) {
                uint32_t pixel;
                record.GetPixel(x, y, &pixel);
                EXPECT_EQ(pixel, argb(x, y));
            }
    }
    EXPECT_EQ(Loaded(MakeOvk(2, 2, argb, false), "OVK").result, 0);
}

TEST(PictureLoader, DamagedCompressedSurfaceFileGivesFailure)
{
    auto tiles = [](int x, int y) { return Gradient(x % 2, y % 2); };
    auto with = [&](bool compress, auto change) {
        Bytes file = MakeOvk(6, 5, tiles, compress);
        change(file);
        return file;
    };
    const struct {
        const char* name;
        Bytes file;
    } cases[] = {
        {"raw size not width x height x 4", with(false, [](Bytes& f) { Put32(f, 16, 6 * 5 * 4 - 4); })},
        {"stored size beyond the file", with(false, [](Bytes& f) { Put32(f, 20, 6 * 5 * 4 + 1); })},
        {"raw data shorter than the picture", with(false, [](Bytes& f) { f.resize(f.size() - 8), Put32(f, 20, 6 * 5 * 4 - 8); })},
        {"size overflowing 32 bits", with(false, [](Bytes& f) { Put32(f, 4, 0x10000), Put32(f, 8, 0x10000), Put32(f, 16, 0); })},
        {"header cut short", Bytes{'o', 'v', 'k', 0, 2, 0, 0, 0, 2, 0, 0, 0, 0}},
        {"coded size beyond what the data can expand to",
         with(true, [](Bytes& f) { Put32(f, 4, 4000), Put32(f, 8, 4000), Put32(f, 16, 4000 * 4000 * 4); })},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Loaded file(c.file, "ovk");
        int w, h;
        EXPECT_EQ(file.loader.GetSize(&w, &h), 1);
        TestSurface target(pixelkit::kARGB8888, 6, 5);
        EXPECT_EQ(file.loader.CopyTo(&target.Info()), -1);
        EXPECT_TRUE(Shows(target, [](int, int) { return 0u; }, true));
    }
    // Coded data that ends before the picture is full.
    Bytes cut = MakeOvk(6, 5, tiles, true);
    ASSERT_GT(cut.size(), 34u);
    cut.resize(cut.size() - 10);
    Put32(cut, 20, uint32_t(cut.size() - 24));
    Loaded file(cut, "ovk");
    TestSurface target(pixelkit::kRGB565, 6, 5);
    EXPECT_EQ(file.loader.CopyTo(&target.Info()), 3);
}

TEST(PictureLoader, SystemDecodersReadJpegPngAndGif)
{
    platform::DecodedPicture flat{16, 16, Bytes(16 * 16 * 3)};
    for (size_t i = 0; i < flat.rows.size(); i += 3) flat.rows[i] = 0x30, flat.rows[i + 1] = 0x60, flat.rows[i + 2] = 0xC0;
    Bytes jpeg, png;
    ASSERT_TRUE(platform::EncodeJpeg(flat, 95, jpeg));
    platform::DecodedPicture checker{4, 3, Bytes(4 * 3 * 3)};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            const uint32_t c = Checker(x, y);
            uint8_t* cell = checker.rows.data() + (y * 4 + x) * 3;
            cell[0] = uint8_t(c), cell[1] = uint8_t(c >> 8), cell[2] = uint8_t(c >> 16);
        }
    ASSERT_TRUE(platform::EncodePng(checker, png));
    // One red pixel: a two-colour table and the LZW codes clear, 0, end.
    const Bytes gif{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0xFF, 0, 0, 0, 0, 0, 0x2C, 0, 0,
                    0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 1, 0, 0x3B};

    Loaded fromJpeg(jpeg, "jpg"), fromPng(png, "ovk"), fromGif(gif, "gif");
    ASSERT_EQ(fromJpeg.result, 0);
    ASSERT_EQ(fromPng.result, 0); // the suffix is "ovk", the magic is not
    ASSERT_EQ(fromGif.result, 0);
    EXPECT_FALSE(fromPng.loader.HasAlpha());

    TestSurface target(pixelkit::kXRGB8888, 16, 16);
    EXPECT_EQ(fromJpeg.loader.CopyTo(&target.Info()), -1);
    ASSERT_EQ(fromJpeg.loader.Render(&target.Info()), 0);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const uint32_t v = pixelkit::RefValue(pixelkit::kXRGB8888, target.Cell(x, y));
            EXPECT_NEAR(int(v >> 16), 0xC0, 3);
            EXPECT_NEAR(int((v >> 8) & 0xFF), 0x60, 3);
            EXPECT_NEAR(int(v & 0xFF), 0x30, 3);
        }
    for (int32_t type : pixelkit::AllFormatsButPal8()) {
        TestSurface exact(type, 4, 3);
        ASSERT_EQ(fromPng.loader.Render(&exact.Info()), 0);
        EXPECT_TRUE(Shows(exact, Checker));
    }
    TestSurface one(pixelkit::kRGB888, 1, 1);
    ASSERT_EQ(fromGif.loader.Render(&one.Info()), 0);
    EXPECT_TRUE(Shows(one, [](int, int) { return 0xFF0000u; }));

    // A JPEG cut inside its header is a decoding error, not the end of the process.
    EXPECT_EQ(Loaded(Bytes(jpeg.begin(), jpeg.begin() + 40), "jpg").result, 1);

    Loaded nothing(Bytes(100, 0x55), "png");
    EXPECT_EQ(nothing.result, 1);
    int w, h;
    EXPECT_EQ(nothing.loader.GetSize(&w, &h), 1);
}

TEST(PictureLoader, PictureClaimingMoreThanTheAcceptedSizeIsNeverDecoded)
{
    // The PNG header's checksum is made right, so that only the size can refuse it.
    Bytes png;
    ASSERT_TRUE(platform::EncodePng({1, 1, Bytes(3, 0)}, png));
    for (size_t at : {16u, 20u}) png[at] = 0, png[at + 1] = 0x0F, png[at + 2] = 0x42, png[at + 3] = 0x40;
    uint32_t crc = 0xFFFFFFFF;
    for (size_t i = 12; i < 29; ++i) {
        crc ^= png[i];
        for (int bit = 0; bit < 8; ++bit) crc = crc >> 1 ^ (crc & 1 ? 0xEDB88320u : 0);
    }
    crc = ~crc;
    for (int i = 0; i < 4; ++i) png[29 + i] = uint8_t(crc >> (24 - 8 * i));
    // Screen 1 x 1, an extension, then an image of 65535 x 65535.
    const Bytes gif{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x21, 0xF9, 4, 0, 0, 0, 0, 0,
                    0x2C, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 2, 2, 0x44, 1, 0, 0x3B};
    EXPECT_EQ(Loaded(png, "png").result, 1);
    EXPECT_EQ(Loaded(gif, "gif").result, 1);
}

TEST(PictureLoader, PaletteHasTheStaticColoursAndTheBmpsOwn)
{
    std::vector<uint32_t> colours(256);
    for (int i = 0; i < 256; ++i) colours[i] = uint32_t(i) << 16 | uint32_t(255 - i);
    Loaded eight(MakeBmp(IndexedBmp(2, 2, 8, colours, [](int, int) { return 0u; })));
    PALETTEENTRY table[256];
    ASSERT_EQ(eight.loader.GetPalette(table), 0);
    EXPECT_EQ(table[3].peRed, 3);
    EXPECT_EQ(table[3].peFlags, PC_EXPLICIT);
    EXPECT_EQ(table[252].peRed, 252);
    EXPECT_EQ(table[252].peFlags, PC_EXPLICIT);
    EXPECT_EQ(table[10].peRed, 0);
    EXPECT_EQ(table[10].peBlue, 255);
    EXPECT_EQ(table[10].peFlags, PC_RESERVED | PC_NOCOLLAPSE);
    EXPECT_EQ(table[245].peRed, 235);
    EXPECT_EQ(table[245].peFlags, PC_RESERVED | PC_NOCOLLAPSE);

    Loaded deep(MakeBmp(Bmp24(2, 2)));
    ASSERT_EQ(deep.loader.GetPalette(table), 0);
    EXPECT_EQ(table[10].peFlags, 0);
    EXPECT_EQ(table[245].peFlags, 0);
    Loaded ovk(MakeOvk(1, 1, Gradient, false), "ovk");
    EXPECT_EQ(ovk.loader.GetPalette(table), 1);
}

TEST(DIBSurface, DepthGivesTypeAndAlignedPitch)
{
    CDIBSurface dib;
    ASSERT_EQ(dib.Create(3, 2, 24, true), 0);
    EXPECT_EQ(dib.GetSurfaceInfo()->GetType(), ARGB8888);
    EXPECT_EQ(dib.GetSurfaceInfo()->GetPitch(), 12);
    ASSERT_EQ(dib.Create(3, 2, 15, false), 0);
    EXPECT_EQ(dib.GetSurfaceInfo()->GetType(), RGB555);
    EXPECT_EQ(dib.GetSurfaceInfo()->GetPitch(), 8);
    ASSERT_EQ(dib.Create(3, 2, 4, false), 0);
    EXPECT_EQ(dib.GetSurfaceInfo()->GetType(), SurfaceType(0));
    EXPECT_EQ(dib.GetSurfaceInfo()->GetPitch(), 0);
    EXPECT_EQ(dib.Create(3, 2, 12, false), 1);
    ASSERT_EQ(dib.Create(3, 2, 24, false), 0);
    EXPECT_EQ(dib.GetSurfaceInfo()->GetPitch(), 12);
    int w, h;
    EXPECT_EQ(dib.GetSize(&w, &h), 0);
    EXPECT_EQ(dib.Create(0, 2, 24, false), 1);
    EXPECT_EQ(dib.GetSize(&w, &h), 1);
    EXPECT_EQ(dib.GetDC(), nullptr);
    EXPECT_FALSE(dib.GetSurfaceInfo()->IsCreated());
}

TEST(DIBSurface, LoadReportsEachFailedStep)
{
    TempFolder folder;
    const Bytes good = MakeBmp(Bmp24(4, 3));
    folder.Put("good.bmp", std::string(good.begin(), good.end()));
    Bytes damaged = good;
    Put32(damaged, 22, uint32_t(-3));
    folder.Put("damaged.bmp", std::string(damaged.begin(), damaged.end()));
    folder.Put("text.bmp", "not a picture at all");

    CDIBSurface dib;
    EXPECT_EQ(dib.Load(folder.Name("missing.bmp"), 24), 1);
    EXPECT_EQ(dib.Load(folder.Name("text.bmp"), 24), 1);
    EXPECT_EQ(dib.Load(folder.Name("damaged.bmp"), 24), 2);
    EXPECT_EQ(dib.Load(folder.Name("good.bmp"), 7), 3);
    EXPECT_EQ(dib.Load(folder.Name("good.bmp"), 8), 4); // nothing draws into Pal8
    ASSERT_EQ(dib.Load(folder.Name("good.bmp"), 32), 0);
    uint32_t pixel;
    dib.GetSurfaceInfo()->GetPixel(2, 1, &pixel);
    EXPECT_EQ(pixel, Gradient(2, 1));

    CDIBSurface copy;
    const RECT part{1, 1, 4, 3};
    ASSERT_EQ(copy.CreateFromDC(dib.GetDC(), &part, 16), 0);
    copy.GetSurfaceInfo()->GetPixel(1, 0, &pixel);
    EXPECT_EQ(pixel, Expected(pixelkit::kRGB555, Gradient(2, 1)));
    EXPECT_EQ(copy.CreateFromDC(dib.GetDC(), nullptr, 16), 1);
}
