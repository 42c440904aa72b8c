#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <mutex>
#include <string>

#include "platform/Fonts.h"
#include "platform/FreeTypeFace.h"
#include "platform/TextCodec.h"

namespace platform {
namespace {

std::mutex g_fontconfigLock;

// fontconfig's configuration, loaded on first use and freed at exit.
bool Initialised()
{
    struct Session {
        bool ready = FcInit();
        ~Session()
        {
            if (ready) FcFini();
        }
    };
    static Session session;
    return session.ready;
}

// The family names of a pattern by index, with the Japanese one where the
// pattern gives one.
std::string PreferredFamily(FcPattern* pattern)
{
    FcChar8* family = nullptr;
    FcChar8* lang = nullptr;
    std::string first;
    for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &family) == FcResultMatch; ++i) {
        if (i == 0) first = reinterpret_cast<const char*>(family);
        if (FcPatternGetString(pattern, FC_FAMILYLANG, i, &lang) == FcResultMatch &&
            std::string_view(reinterpret_cast<const char*>(lang)) == "ja")
            return reinterpret_cast<const char*>(family);
    }
    return first;
}

bool HasFamily(FcPattern* pattern, const std::string& wanted)
{
    FcChar8* family = nullptr;
    for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &family) == FcResultMatch; ++i)
        if (FcStrCmpIgnoreCase(family, reinterpret_cast<const FcChar8*>(wanted.c_str())) == 0) return true;
    return false;
}

// The file of the best match for a family; empty when fontconfig offers only
// a substitute of another family.
std::string FileOfFamily(const std::string& familyUtf8)
{
    std::lock_guard guard(g_fontconfigLock);
    if (!Initialised()) return {};
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(familyUtf8.c_str()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    std::string file;
    FcChar8* path = nullptr;
    if (match && HasFamily(match, familyUtf8) && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch)
        file = reinterpret_cast<const char*>(path);
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return file;
}

} // namespace

std::string FontFileOfFamily(std::string_view familyUtf8)
{
    return FileOfFamily(std::string(familyUtf8));
}

std::vector<std::string> FontconfigFonts::ListJapaneseFamilies()
{
    std::vector<std::string> families;
    std::lock_guard guard(g_fontconfigLock);
    if (!Initialised()) return families;
    FcPattern* pattern = FcPatternCreate();
    FcLangSet* langs = FcLangSetCreate();
    FcLangSetAdd(langs, reinterpret_cast<const FcChar8*>("ja"));
    FcPatternAddLangSet(pattern, FC_LANG, langs);
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, FC_FILE, nullptr);
    std::string defaultFamily;
    if (FcFontSet* set = FcFontList(nullptr, pattern, objects)) {
        for (int i = 0; i < set->nfont; ++i) {
            std::string name = PreferredFamily(set->fonts[i]);
            if (name.empty()) continue;
            families.push_back(Utf8ToCp932(name));
            FcChar8* file = nullptr;
            if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) == FcResultMatch
                && std::string_view(reinterpret_cast<const char*>(file)) == DefaultFontFile)
                defaultFamily = families.back();
        }
        FcFontSetDestroy(set);
    }
    FcObjectSetDestroy(objects);
    FcLangSetDestroy(langs);
    FcPatternDestroy(pattern);
    std::sort(families.begin(), families.end());
    families.erase(std::unique(families.begin(), families.end()), families.end());
    // The default face's family first: the story keeps its face until the
    // reader picks another (the font list starts at the first).
    const auto first = std::find(families.begin(), families.end(), defaultFamily);
    if (first != families.end()) std::rotate(families.begin(), first, first + 1);
    return families;
}

std::unique_ptr<IFontFace> FontconfigFonts::OpenFace(std::string_view familySjis, int cellHeight)
{
    if (!familySjis.empty()) {
        const std::string file = FileOfFamily(Cp932ToUtf8(familySjis));
        if (!file.empty())
            if (auto face = OpenFreeTypeFace(file, cellHeight, false)) return face;
    }
    return OpenFreeTypeFace(DefaultFontFile, cellHeight, !familySjis.empty());
}

} // namespace platform
