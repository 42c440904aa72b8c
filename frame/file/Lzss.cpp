#include "frame/file/Lzss.h"

#include <cstring>
#include <memory>

namespace kivotasuGameKit {

namespace {

constexpr unsigned RingMask = CLZSS::RingSize - 1;
constexpr unsigned StartPosition = CLZSS::RingSize - CLZSS::LookAhead;

// The writable bytes from the element that out designates; the dereference
// checks null and index.
std::uint8_t* ElementWithRoom(CSmartPtr<std::uint8_t>& out, std::uint32_t bytes)
{
    std::uint8_t* element = &*out;
    const CSmartHolder* holder = out.GetHolder();
    std::uint64_t room = std::uint64_t(holder->GetElementCount() - out.GetIndex()) * holder->GetElementSize();
    if (room < bytes) throw KTL::CIndexOutOfBoundsException();
    return element;
}

} // namespace

int CLZSS::DecodeInto(const std::uint8_t* source, std::uint32_t sourceSize, std::uint8_t* out,
                      std::uint32_t expandedSize)
{
    std::memset(m_ring, 0, sizeof m_ring);
    const std::uint8_t* in = source;
    const std::uint8_t* const inEnd = source + sourceSize;
    std::uint8_t* const outEnd = out + expandedSize;
    unsigned r = StartPosition;
    unsigned flags = 0;

    while (out < outEnd) {
        flags >>= 1;
        if ((flags & 0x100) == 0) {
            if (in == inEnd) break;
            flags = *in++ | 0xFF00u;
        }
        if (flags & 1) {
            if (in == inEnd) break;
            const std::uint8_t c = *in++;
            *out++ = c;
            m_ring[r] = c;
            r = (r + 1) & RingMask;
            continue;
        }
        if (inEnd - in < 2) break;
        const unsigned position = in[0] | ((in[1] & 0xF0u) << 4);
        unsigned length = (in[1] & 0x0Fu) + Threshold + 1;
        in += 2;
        if (length > std::size_t(outEnd - out)) length = unsigned(outEnd - out);
        for (unsigned k = 0; k < length; ++k) {
            const std::uint8_t c = m_ring[(position + k) & RingMask];
            out[k] = c;
            m_ring[r] = c;
            r = (r + 1) & RingMask;
        }
        out += length;
    }
    if (out == outEnd) return expandedSize == 0 ? 1 : 0;
    std::memset(out, 0, std::size_t(outEnd - out));
    return 2;
}

int CLZSS::Decode(const std::uint8_t* source, std::uint32_t sourceSize, CSmartPtr<std::uint8_t>& out,
                  std::uint32_t expandedSize)
{
    if (out.IsNull()) {
        out.AllocArray(expandedSize);
        if (expandedSize == 0) return 1;
    }
    return DecodeInto(source, sourceSize, ElementWithRoom(out, expandedSize), expandedSize);
}

int CLZSS::Decode(const std::uint8_t* source, std::uint32_t sourceSize, std::uint8_t** out,
                  std::uint32_t expandedSize, bool allocate)
{
    if (expandedSize == 0) return 1;
    if (allocate) *out = new std::uint8_t[expandedSize];
    return DecodeInto(source, sourceSize, *out, expandedSize);
}

int CLZSS::Encode(const std::uint8_t* source, CSmartPtr<std::uint8_t>& out, std::uint32_t sourceSize,
                  std::uint32_t* compressedSize)
{
    if (sourceSize < MinimumSource) return 1;
    if (out.IsNull()) out.AllocArray(sourceSize - 8);
    return EncodeInto(source, sourceSize, ElementWithRoom(out, sourceSize - 8), compressedSize);
}

int CLZSS::Encode(const std::uint8_t* source, std::uint8_t** out, std::uint32_t sourceSize,
                  std::uint32_t* compressedSize, bool allocate)
{
    if (sourceSize < MinimumSource) return 1;
    if (!allocate) return EncodeInto(source, sourceSize, *out, compressedSize);
    std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[sourceSize - 8]);
    const int result = EncodeInto(source, sourceSize, buffer.get(), compressedSize);
    *out = result == 0 ? buffer.release() : nullptr;
    return result;
}

void CLZSS::InitTree()
{
    for (int i = RingSize + 1; i <= RingSize + 256; ++i) m_right[i] = None;
    for (int i = 0; i < RingSize; ++i) m_parent[i] = None;
}

// Inserts the string at r and leaves the longest earlier match in
// m_matchPosition / m_matchLength; a full match replaces the older node.
void CLZSS::InsertNode(int r)
{
    const std::uint8_t* key = &m_ring[r];
    int p = RingSize + 1 + key[0];
    int cmp = 1;
    m_right[r] = m_left[r] = None;
    m_matchLength = 0;
    for (;;) {
        if (cmp >= 0) {
            if (m_right[p] != None) {
                p = m_right[p];
            } else {
                m_right[p] = std::int16_t(r);
                m_parent[r] = std::int16_t(p);
                return;
            }
        } else {
            if (m_left[p] != None) {
                p = m_left[p];
            } else {
                m_left[p] = std::int16_t(r);
                m_parent[r] = std::int16_t(p);
                return;
            }
        }
        int i = 1;
        for (; i < LookAhead; ++i) {
            cmp = key[i] - m_ring[p + i];
            if (cmp != 0) break;
        }
        if (i > m_matchLength) {
            m_matchPosition = p;
            m_matchLength = i;
            if (i >= LookAhead) break;
        }
    }
    m_parent[r] = m_parent[p];
    m_left[r] = m_left[p];
    m_right[r] = m_right[p];
    m_parent[m_left[p]] = std::int16_t(r);
    m_parent[m_right[p]] = std::int16_t(r);
    if (m_right[m_parent[p]] == p) m_right[m_parent[p]] = std::int16_t(r);
    else m_left[m_parent[p]] = std::int16_t(r);
    m_parent[p] = None;
}

void CLZSS::DeleteNode(int p)
{
    if (m_parent[p] == None) return;
    int q;
    if (m_right[p] == None) {
        q = m_left[p];
    } else if (m_left[p] == None) {
        q = m_right[p];
    } else {
        q = m_left[p];
        if (m_right[q] != None) {
            do q = m_right[q];
            while (m_right[q] != None);
            m_right[m_parent[q]] = m_left[q];
            m_parent[m_left[q]] = m_parent[q];
            m_left[q] = m_left[p];
            m_parent[m_left[p]] = std::int16_t(q);
        }
        m_right[q] = m_right[p];
        m_parent[m_right[p]] = std::int16_t(q);
    }
    m_parent[q] = m_parent[p];
    if (m_right[m_parent[p]] == p) m_right[m_parent[p]] = std::int16_t(q);
    else m_left[m_parent[p]] = std::int16_t(q);
    m_parent[p] = None;
}

int CLZSS::EncodeInto(const std::uint8_t* source, std::uint32_t sourceSize, std::uint8_t* out,
                      std::uint32_t* compressedSize)
{
    if (sourceSize < MinimumSource) return 1;
    const std::uint32_t limit = sourceSize - 8;
    const std::uint8_t* in = source;
    const std::uint8_t* const inEnd = source + sourceSize;

    InitTree();
    // The whole ring, overflow copy included, starts as zeros: the decoder's
    // cleared ring is matchable from the first byte on.
    std::memset(m_ring, 0, sizeof m_ring);
    int s = 0;
    int r = int(StartPosition);
    int len = 0;
    for (; len < LookAhead && in < inEnd; ++len) m_ring[r + len] = *in++;
    if (len == 0) return 1;
    for (int i = 1; i <= LookAhead; ++i) InsertNode(r - i);
    InsertNode(r);

    std::uint8_t group[1 + 8 * 2];
    group[0] = 0;
    int groupLength = 1;
    std::uint8_t mask = 1;
    std::uint32_t written = 0;
    do {
        if (m_matchLength > len) m_matchLength = len;
        if (m_matchLength <= Threshold) {
            m_matchLength = 1;
            group[0] |= mask;
            group[groupLength++] = m_ring[r];
        } else {
            group[groupLength++] = std::uint8_t(m_matchPosition);
            group[groupLength++] =
                std::uint8_t(((m_matchPosition >> 4) & 0xF0) | (m_matchLength - (Threshold + 1)));
        }
        mask = std::uint8_t(mask << 1);
        if (mask == 0) {
            if (written + std::uint32_t(groupLength) >= limit) return 1;
            std::memcpy(out + written, group, std::size_t(groupLength));
            written += std::uint32_t(groupLength);
            group[0] = 0;
            groupLength = 1;
            mask = 1;
        }
        const int lastMatchLength = m_matchLength;
        int i = 0;
        for (; i < lastMatchLength && in < inEnd; ++i) {
            DeleteNode(s);
            const std::uint8_t c = *in++;
            m_ring[s] = c;
            if (s < LookAhead - 1) m_ring[s + RingSize] = c;
            s = (s + 1) & int(RingMask);
            r = (r + 1) & int(RingMask);
            InsertNode(r);
        }
        for (; i < lastMatchLength; ++i) {
            DeleteNode(s);
            s = (s + 1) & int(RingMask);
            r = (r + 1) & int(RingMask);
            if (--len) InsertNode(r);
        }
    } while (len > 0);

    // A partial last group belongs to the stream: it must fit as well.
    if (groupLength > 1) {
        if (written + std::uint32_t(groupLength) >= limit) return 1;
        std::memcpy(out + written, group, std::size_t(groupLength));
        written += std::uint32_t(groupLength);
    }
    *compressedSize = written;
    return 0;
}

} // namespace kivotasuGameKit
