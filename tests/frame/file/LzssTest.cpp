#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "frame/Exceptions.h"
#include "frame/file/Lzss.h"

using namespace kivotasuGameKit;
using Bytes = std::vector<std::uint8_t>;

namespace {

// Encodes with the allocating form; empty when the encoder refuses.
Bytes Compress(const Bytes& source)
{
    auto codec = std::make_unique<CLZSS>();
    std::uint8_t* out = nullptr;
    std::uint32_t size = 0;
    if (codec->Encode(source.data(), &out, std::uint32_t(source.size()), &size, true) != 0) {
        EXPECT_EQ(out, nullptr);
        return {};
    }
    Bytes result(out, out + size);
    delete[] out;
    return result;
}

// Decodes into a heap block of exactly the expanded size, so any overrun is caught.
Bytes Expand(const Bytes& stream, std::uint32_t expandedSize, int* result = nullptr)
{
    auto codec = std::make_unique<CLZSS>();
    auto source = std::make_unique<std::uint8_t[]>(stream.size());
    std::copy(stream.begin(), stream.end(), source.get());
    std::uint8_t* out = nullptr;
    const int r = codec->Decode(source.get(), std::uint32_t(stream.size()), &out, expandedSize, true);
    if (result) *result = r;
    Bytes expanded(out, out + expandedSize);
    delete[] out;
    return expanded;
}

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

void ExpectRoundTrip(const Bytes& source, const char* what)
{
    const Bytes stream = Compress(source);
    ASSERT_FALSE(stream.empty()) << what;
    EXPECT_LT(stream.size(), source.size() - 8) << what;
    int result = -1;
    EXPECT_EQ(Expand(stream, std::uint32_t(source.size()), &result), source) << what;
    EXPECT_EQ(result, 0) << what;
}

TEST(LzssTest, RoundTripsOverVariedData)
{
    std::mt19937 random(7);
    Bytes runs;
    for (int i = 0; i < 300; ++i) runs.insert(runs.end(), std::size_t(random() % 40 + 1), std::uint8_t(random()));
    std::string text;
    for (int i = 0; i < 200; ++i) text += "[TEXT BODY=\"line " + std::to_string(i) + "\"]\r\n";
    Bytes fewSymbols(5000);
    for (auto& b : fewSymbols) b = std::uint8_t("ab\x00\xff"[random() % 4]);
    // Picture-like rows: runs, repeats of an earlier row, a little noise.
    Bytes big;
    while (big.size() < (1u << 20)) {
        const std::size_t kind = random() % 4;
        if (kind == 0) big.insert(big.end(), 64, std::uint8_t(random()));
        else if (kind == 1 && big.size() >= 640) big.insert(big.end(), big.end() - 640, big.end() - 576);
        else if (kind == 2) big.insert(big.end(), text.begin(), text.begin() + 64);
        else for (int i = 0; i < 64; ++i) big.push_back(std::uint8_t(random() % 16));
    }
    big.resize(1u << 20);

    ExpectRoundTrip(Bytes(17, 'a'), "the shortest source");
    ExpectRoundTrip(Bytes(4096, 0), "zeros");
    ExpectRoundTrip(runs, "runs");
    ExpectRoundTrip(Text(text), "text");
    ExpectRoundTrip(fewSymbols, "random over few symbols");
    ExpectRoundTrip(big, "1 MiB");
}

TEST(LzssTest, SeventeenEqualBytesAreOneLiteralAndOneReference)
{
    // The literal lands at ring position 4078; the reference copies 16 bytes
    // from there, overlapping what it writes.
    EXPECT_EQ(Compress(Bytes(17, 'a')), (Bytes{0x01, 'a', 0xEE, 0xF0 | (16 - 3)}));
}

TEST(LzssTest, ZerosMatchTheClearedRingFromTheStart)
{
    const Bytes stream = Compress(Bytes(4096, 0));
    ASSERT_FALSE(stream.empty());
    // 18 bytes a reference, 8 references a 17-byte group.
    EXPECT_LE(stream.size(), 4096u / 18 / 8 * 17 + 17 + 17);
}

TEST(LzssTest, EncoderRefusesShortOrIncompressibleSources)
{
    EXPECT_TRUE(Compress(Bytes(16, 'a')).empty());
    std::mt19937 random(1);
    Bytes noise(1000);
    for (auto& b : noise) b = std::uint8_t(random());
    EXPECT_TRUE(Compress(noise).empty());

    // The caller's own buffer of source size - 8 bytes.
    auto codec = std::make_unique<CLZSS>();
    Bytes buffer(noise.size() - 8);
    std::uint8_t* out = buffer.data();
    std::uint32_t size = 0;
    EXPECT_EQ(codec->Encode(noise.data(), &out, std::uint32_t(noise.size()), &size, false), 1);
}

TEST(LzssTest, HandMadeStreamsReadTheZeroFilledRing)
{
    // All references: position 0 (zeros), lengths 3 and 18.
    EXPECT_EQ(Expand({0x00, 0x00, 0x00, 0x00, 0x0F}, 21), Bytes(21, 0));
    // A literal, then a reference to it at 4078 that overlaps its own output.
    EXPECT_EQ(Expand({0x01, 'A', 0xEE, 0xF2}, 6), Text("AAAAAA"));
    // A reference to the far end of the ring, still zeros.
    EXPECT_EQ(Expand({0x02, 0xFF, 0xF0, 'z'}, 4), (Bytes{0, 0, 0, 'z'}));
}

TEST(LzssTest, DecodingStopsAtTheExpandedSize)
{
    int result = -1;
    EXPECT_EQ(Expand({0x00, 0x00, 0x0F}, 5, &result), Bytes(5, 0)) << "inside a reference";
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Expand({0xFF, 'a', 'b', 'c'}, 2, &result), Text("ab"));
    EXPECT_EQ(result, 0);
}

TEST(LzssTest, TruncatedStreamsStopAtTheirEnd)
{
    int result = -1;
    EXPECT_EQ(Expand({0x03, 'a', 'b'}, 6, &result), (Bytes{'a', 'b', 0, 0, 0, 0}));
    EXPECT_EQ(result, 2);
    EXPECT_EQ(Expand({0x01, 'a', 0xEE}, 4, &result), (Bytes{'a', 0, 0, 0})) << "half a reference";
    EXPECT_EQ(result, 2);
    EXPECT_EQ(Expand({}, 3, &result), Bytes(3, 0));
    EXPECT_EQ(result, 2);
    Expand({0x01, 'a'}, 0, &result);
    EXPECT_EQ(result, 1);
}

TEST(LzssTest, CountedArraysAreMadeOrMustHoldTheOutput)
{
    const Bytes source = Text(std::string(100, 'q') + "tail");
    auto codec = std::make_unique<CLZSS>();
    CSmartPtr<std::uint8_t> stream;
    std::uint32_t size = 0;
    ASSERT_EQ(codec->Encode(source.data(), stream, std::uint32_t(source.size()), &size), 0);
    EXPECT_EQ(stream.GetHolder()->GetElementCount(), source.size() - 8);

    CSmartPtr<std::uint8_t> expanded;
    EXPECT_EQ(codec->Decode(stream.Get(), size, expanded, std::uint32_t(source.size())), 0);
    EXPECT_EQ(Bytes(expanded.Get(), expanded.Get() + source.size()), source);

    // Into element 10 of an array that has room for the output only from 0.
    CSmartPtr<std::uint8_t> tight;
    tight.AllocArray(std::uint32_t(source.size()));
    tight.SetIndex(10);
    EXPECT_THROW(codec->Decode(stream.Get(), size, tight, std::uint32_t(source.size())),
                 KTL::CIndexOutOfBoundsException);
    tight.SetIndex(0);
    EXPECT_EQ(codec->Decode(stream.Get(), size, tight, std::uint32_t(source.size())), 0);
}

TEST(LzssTest, ExpansionBoundCoversTheDensestStream)
{
    // Every item a full 18-byte reference: 17 stream bytes give 144.
    Bytes stream;
    for (int group = 0; group < 10; ++group) {
        stream.push_back(0x00);
        for (int i = 0; i < 8; ++i) stream.insert(stream.end(), {0x00, 0x0F});
    }
    const std::uint64_t most = CLZSS::MaxExpandedSize(stream.size());
    EXPECT_GE(most, 1440u);
    int result = -1;
    Expand(stream, 1440, &result);
    EXPECT_EQ(result, 0);
}

} // namespace
