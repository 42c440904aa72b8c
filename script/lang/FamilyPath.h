#pragma once

#include "frame/TextString.h"

// A name a tag gives for a family with a PATH (pictures, music, cuts,
// scripts). Saves write names with the PATH in front, so a name that already
// starts with it stands as it is, as does one that holds ":"; any other name
// goes on from PATH.
inline kivotasuGameKit::CTextString InFamilyPath(const kivotasuGameKit::CTextString& path,
                                                 const kivotasuGameKit::CTextString& name)
{
    if (name.Find(':') >= 0 || name.GetStr().starts_with(path.GetStr())) return name;
    return path + name;
}
