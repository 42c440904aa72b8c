#pragma once

#include <cstdint>

#include "frame/SmartPtr.h"

namespace kivotasuGameKit {

// A codec of byte streams. Decode results: 0 done, 1 nothing to expand (an
// expanded size of 0), 2 the stream ended before the output was full (the
// rest of the output is zero-filled). Encode results: 0 done, 1 refused.
class ICodec {
public:
    virtual ~ICodec() = default;

    // Into the element that out designates, or into a new owned array of the
    // expanded size when out is empty.
    virtual int Decode(const std::uint8_t* source, std::uint32_t sourceSize, CSmartPtr<std::uint8_t>& out,
                       std::uint32_t expandedSize) = 0;
    // With allocate set, *out receives a new[] buffer of the expanded size first.
    virtual int Decode(const std::uint8_t* source, std::uint32_t sourceSize, std::uint8_t** out,
                       std::uint32_t expandedSize, bool allocate) = 0;
    virtual int Encode(const std::uint8_t* source, CSmartPtr<std::uint8_t>& out, std::uint32_t sourceSize,
                       std::uint32_t* compressedSize) = 0;
    // The output needs sourceSize - 8 bytes; with allocate set it is new[]ed
    // here and freed again (and *out nulled) when encoding is refused.
    virtual int Encode(const std::uint8_t* source, std::uint8_t** out, std::uint32_t sourceSize,
                       std::uint32_t* compressedSize, bool allocate) = 0;
};

// LZSS over a 4096-byte ring with 18-byte look-ahead: the codec of archive
// members and compressed surfaces. One object per coding run (about 30 KB of
// ring and search tree, so keep it off small stacks); not shared between threads.
class CLZSS : public ICodec {
public:
    static constexpr int RingSize = 4096;
    static constexpr int LookAhead = 18;
    static constexpr int Threshold = 2;
    static constexpr std::uint32_t MinimumSource = 17;

    int Decode(const std::uint8_t* source, std::uint32_t sourceSize, CSmartPtr<std::uint8_t>& out,
               std::uint32_t expandedSize) override;
    int Decode(const std::uint8_t* source, std::uint32_t sourceSize, std::uint8_t** out, std::uint32_t expandedSize,
               bool allocate) override;
    int Encode(const std::uint8_t* source, CSmartPtr<std::uint8_t>& out, std::uint32_t sourceSize,
               std::uint32_t* compressedSize) override;
    int Encode(const std::uint8_t* source, std::uint8_t** out, std::uint32_t sourceSize,
               std::uint32_t* compressedSize, bool allocate) override;

    // The most a stream of n bytes can expand to: eight 18-byte references per
    // 17 bytes. A larger claimed size is a corrupt header.
    static std::uint64_t MaxExpandedSize(std::uint64_t storedSize) { return storedSize * 144 / 17 + 144; }

    int DecodeInto(const std::uint8_t* source, std::uint32_t sourceSize, std::uint8_t* out, std::uint32_t expandedSize);
    int EncodeInto(const std::uint8_t* source, std::uint32_t sourceSize, std::uint8_t* out,
                   std::uint32_t* compressedSize);

private:
    static constexpr int None = RingSize;

    void InitTree();
    void InsertNode(int r);
    void DeleteNode(int p);

    std::uint8_t m_ring[RingSize + LookAhead - 1];
    std::int16_t m_left[RingSize + 1];
    std::int16_t m_right[RingSize + 257];
    std::int16_t m_parent[RingSize + 1];
    int m_matchPosition = 0;
    int m_matchLength = 0;
};

} // namespace kivotasuGameKit
