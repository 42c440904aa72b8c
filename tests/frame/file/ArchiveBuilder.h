#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "frame/file/Archive.h"
#include "frame/file/Lzss.h"

// Builds archive files byte by byte as the format describes them, so the
// reader is tested against the layout rather than against itself.
class ArchiveBuilder {
public:
    explicit ArchiveBuilder(kivotasuGameKit::ArchiveFormat format) : m_format(format) {}

    // Stored LZSS-compressed in the two later formats when asked and when
    // the codec takes it.
    ArchiveBuilder& Add(const std::string& name, const std::string& bytes, bool compress = false)
    {
        Member member{name, bytes, bytes, std::uint32_t(bytes.size())};
        if (compress && m_format != kivotasuGameKit::ArchiveFormat::Pack) {
            auto codec = std::make_unique<kivotasuGameKit::CLZSS>();
            std::vector<std::uint8_t> out(bytes.size());
            std::uint8_t* p = out.data();
            std::uint32_t size = 0;
            if (codec->Encode(reinterpret_cast<const std::uint8_t*>(bytes.data()), &p, std::uint32_t(bytes.size()),
                              &size, false) == 0)
                member.stored.assign(reinterpret_cast<const char*>(out.data()), size);
        }
        m_members.push_back(std::move(member));
        return *this;
    }
    // An entry whose fields are given as they are, data appended as stored.
    ArchiveBuilder& AddRaw(const std::string& name, std::uint32_t size, const std::string& stored)
    {
        m_members.push_back(Member{name, std::string(), stored, size});
        return *this;
    }

    std::string Build(std::uint32_t claimedCount = UINT32_MAX) const
    {
        static const char* const magics[] = {"kivopack", "kivopkEx", "kivopkDx"};
        const std::size_t entrySize = kivotasuGameKit::CArchive::EntrySize(m_format);
        const std::size_t nameSize = m_format == kivotasuGameKit::ArchiveFormat::PackDx ? 256 : 32;
        std::string out = magics[int(m_format)];
        Word(out, claimedCount == UINT32_MAX ? std::uint32_t(m_members.size()) : claimedCount);
        std::size_t offset = 12 + entrySize * m_members.size();
        for (const Member& member : m_members) {
            std::string name = member.name.substr(0, nameSize);
            name.resize(nameSize, '\0');
            out += name;
            Word(out, std::uint32_t(offset));
            Word(out, member.size);
            if (m_format != kivotasuGameKit::ArchiveFormat::Pack) Word(out, std::uint32_t(member.stored.size()));
            offset += member.stored.size();
        }
        for (const Member& member : m_members) out += member.stored;
        return out;
    }

    static std::string Scrambled(const std::string& plain)
    {
        std::string out = "KPK1";
        for (char c : plain) {
            const std::uint8_t x = std::uint8_t(c) ^ 0xD3;
            out += char((x >> 4) | (x << 4));
        }
        return out;
    }

private:
    struct Member {
        std::string name;
        std::string plain;
        std::string stored;
        std::uint32_t size;
    };

    static void Word(std::string& out, std::uint32_t value)
    {
        for (int i = 0; i < 4; ++i) out += char(value >> (8 * i));
    }

    kivotasuGameKit::ArchiveFormat m_format;
    std::vector<Member> m_members;
};
