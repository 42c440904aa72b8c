#pragma once
// The colour effects of element pictures that the one-surface effects do not
// offer. They work on pictures of 32-bit alpha cells (the element pictures are
// ARGB8888) and leave planes of other types alone.

#include <cstdint>

namespace kivotasuGameKit::Draw { class CPlaneBase; }

namespace DIB {

using kivotasuGameKit::Draw::CPlaneBase;

// DEEP: grey = (r + g + b) / 3, then each channel grey x colour's channel / 256.
void TintMonochrome(CPlaneBase& plane, std::uint32_t colour);
// PRISM: each channel x colour's channel / 128, at most 255 (0x80 keeps it).
void ScaleChannels(CPlaneBase& plane, std::uint32_t colour);
// FLIP: the rows upside down.
void FlipRows(CPlaneBase& plane);
// NEGA: the colour complemented, the alpha kept.
void NegateColours(CPlaneBase& plane);
// The transparency of a picture drawn by its own alpha: alpha 0 where the
// colour equals the key's colour, 255 elsewhere; every alpha 255 without a key.
void KeyToAlpha(CPlaneBase& plane, bool keyed, std::uint32_t key);

} // namespace DIB
