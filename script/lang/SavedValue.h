#pragma once
// Values in save text. The lexer has no escapes: a value ends at the next
// double quote, a tag at an unbalanced "]", and a read value is expanded and
// evaluated again. Save writers put every text and path through here, so a
// save either reads back whole or is not written.

#include "frame/EScript.h"
#include "frame/TextString.h"

// A save refused because a value in it could not be read back.
class EUnsavable : public EScript {
public:
    using EScript::EScript;
};

// The program's folder, while the scripts leave KARUTEMI as the variable
// store defines it, else empty. A writer of many values looks it up once.
kivotasuGameKit::CTextString SavedFolder();

// That folder at the start of the value is written as {KARUTEMI}, which also
// carries a folder whose name the lexer could not read. EUnsavable when the
// value has no form that reads back as itself.
kivotasuGameKit::CTextString SavedValue(const kivotasuGameKit::CTextString& value,
                                        const kivotasuGameKit::CTextString& folder = SavedFolder());

// A blank, the key, "=" and the saved value in double quotes.
void AppendSavedAttribute(kivotasuGameKit::CTextString& line, const char* key, const kivotasuGameKit::CTextString& value,
                          const kivotasuGameKit::CTextString& folder = SavedFolder());
