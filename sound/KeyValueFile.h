#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "frame/Serialize.h"
#include "frame/TextString.h"
#include "platform/FileSystem.h"

namespace kivotasuGameKit {

// Keys to values, both byte strings, in byte order of the keys.
class IKeyValueFile {
public:
    using Map = std::map<std::string, std::string>;

    virtual void SetInt(const CTextString& key, std::int64_t value) = 0;
    // Inserts, or replaces the value of an existing key.
    virtual void Add(const CTextString& key, const CTextString& value) = 0;
    // Inserts, or appends to the value of an existing key.
    virtual void Append(const CTextString& key, const CTextString& value) = 0;
    // 0 and the number; non-zero (value 0) when the key is missing or holds no digit.
    virtual int GetIntValue(const CTextString& key, std::int64_t& value) = 0;
    // 0 and the value; -1 and an empty value when the key is missing.
    virtual int Get(const CTextString& key, CTextString& value) = 0;
    // The value when present and not empty, else the default.
    virtual CTextString GetString(const CTextString& key, const CTextString& defaultValue) = 0;
    virtual std::int32_t GetInt(const CTextString& key, std::int32_t defaultValue) = 0;
    virtual std::int64_t GetInt64(const CTextString& key, std::int64_t defaultValue) = 0;
    // True when something was removed.
    virtual bool Erase(const CTextString& key) = 0;
    virtual void Clear() = 0;
    // How the read of the file ended: the map is unchanged unless Done.
    virtual platform::ReadResult Load(const CTextString& fileName) = 0;
    // 1 when the file cannot be opened, else 0.
    virtual int Save(const CTextString& fileName) = 0;
    // Every key in the text, in key order, by its value (letters without case).
    virtual void ReplaceAll(CTextString& text, bool exact) = 0;
    virtual const Map& GetMap() = 0;
    virtual ~IKeyValueFile() = default;
};

// The list in a text file, one entry a line: "#", the key, blanks, the value
// (one token each, anything behind ignored); "//" lines are comments and every
// other line is skipped.
class CKeyValueFile : public IKeyValueFile, public ISerialize {
public:
    void SetInt(const CTextString& key, std::int64_t value) override;
    void Add(const CTextString& key, const CTextString& value) override;
    void Append(const CTextString& key, const CTextString& value) override;
    int GetIntValue(const CTextString& key, std::int64_t& value) override;
    int Get(const CTextString& key, CTextString& value) override;
    CTextString GetString(const CTextString& key, const CTextString& defaultValue) override;
    std::int32_t GetInt(const CTextString& key, std::int32_t defaultValue) override;
    std::int64_t GetInt64(const CTextString& key, std::int64_t defaultValue) override;
    bool Erase(const CTextString& key) override;
    void Clear() override;
    platform::ReadResult Load(const CTextString& fileName) override;
    int Save(const CTextString& fileName) override;
    void ReplaceAll(CTextString& text, bool exact) override;
    const Map& GetMap() override { return m_map; }
    // The count, then each key and value; loading keeps a repeated key's first value.
    void Serialize(IArchive& archive) override;

private:
    Map m_map;
};

} // namespace kivotasuGameKit
