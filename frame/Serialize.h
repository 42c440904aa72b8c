#pragma once

#include <cstdint>

#include "frame/TextString.h"

namespace kivotasuGameKit {

// A store that objects write themselves into or read themselves back from;
// each exchange writes the value when storing and fills it when loading.
class IArchive {
public:
    virtual ~IArchive() = default;
    virtual bool IsStoring() const = 0;
    virtual void Exchange(std::int32_t& value) = 0;
    virtual void Exchange(CTextString& value) = 0;
};

class ISerialize {
public:
    virtual void Serialize(IArchive& archive) = 0;
    virtual ~ISerialize() = default;
};

} // namespace kivotasuGameKit
