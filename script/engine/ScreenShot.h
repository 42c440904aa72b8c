#pragma once
// A copy of the screen that writes itself as a "PDT10" picture: a 32-byte
// head, then per eight pixels a 0xFF byte and the pixels as blue, green, red.

#include "draw/FastPlane.h"
#include "frame/TextString.h"

class CScreenShot : public kivotasuGameKit::Draw::CFastPlane {
public:
    // A plane of the screen size holding the plane's pixels converted from
    // its own format; 1 when no surface can be made.
    int Capture(kivotasuGameKit::Draw::CPlaneBase& screen);
    void Save(const kivotasuGameKit::CTextString& name) { SavePDT10(name); }
    // The file in one piece: std::bad_alloc when the block cannot be had,
    // EScript when the plane is not the screen's size or the file cannot be
    // written (the old file then stays).
    void SavePDT10(const kivotasuGameKit::CTextString& name);
};
