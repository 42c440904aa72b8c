#pragma once

#include "frame/TextString.h"
#include "script/lang/TagTables.h"

class CTagAttributes;

// A transition as a tag chose it. A picture laid over the scene is known by
// its name alone, so a default keeps the name beside the kind: the tag that
// falls back on it, and a save that writes it back, need both.
struct EffectChoice {
    EffectKind kind = EffectKind::Blend;
    kivotasuGameKit::CTextString picture; // the EFFECT text when kind is Named

    // From the record's EFFECT; unchanged when the record names none.
    void Parse(const CTagAttributes& record);
    // The EFFECT value that chooses it again: its keyword or the picture's name.
    kivotasuGameKit::CTextString Text() const;
};
