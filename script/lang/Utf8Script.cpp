#include "script/lang/Utf8Script.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <optional>

#include "platform/HostPath.h"
#include "platform/MessageBox.h"
#include "platform/StderrLines.h"
#include "platform/TextCodec.h"
#include "platform/Utf8Characters.h"

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

// Fewer Japanese characters agree with a Shift-JIS reading too often to tell.
constexpr std::size_t LeastJapanese = 2;

// Shift-JIS bytes decode to a lone ideograph often, to two side by side that
// Shift-JIS has as well seldom: kanji this close are a UTF-8 word.
constexpr std::size_t LeastKanjiRun = 2;
// Nearly every run of kanji in Japanese has a Shift-JIS form; a text whose
// first runs lack one is no Japanese, and converting all its runs would cost
// a call each.
constexpr std::size_t MostKanjiRunsTried = 16;

unsigned ByteAt(std::string_view text, std::size_t at) { return static_cast<unsigned char>(text[at]); }

struct Utf8Reading {
    std::size_t japanese = 0; // kana, kanji, Japanese punctuation, full-width forms
    std::size_t kana = 0;     // of them kana, punctuation and full-width forms
    bool kanjiRun = false;    // LeastKanjiRun kanji side by side, each in Shift-JIS
};

bool IsKanji(char32_t code) { return code >= 0x4E00 && code <= 0x9FFF; }

// Two thirds of the ideographs have no Shift-JIS form: Shift-JIS bytes read
// as UTF-8 often land on them, a word an author can convert never does. The
// converter marks what it cannot convert with "?", which no kanji is.
bool AllInShiftJis(std::string_view kanji) { return platform::Utf8ToCp932(kanji).find('?') == std::string::npos; }

// Nothing when the text is no strict UTF-8. Runs of kanji are converted until
// one holds, MostKanjiRunsTried at most.
std::optional<Utf8Reading> ReadAsUtf8(std::string_view text)
{
    Utf8Reading reading;
    std::size_t runStart = 0;
    std::size_t runLength = 0;
    std::size_t runsTried = 0;
    const auto endRun = [&](std::size_t at) {
        if (!reading.kanjiRun && runLength >= LeastKanjiRun && runsTried++ < MostKanjiRunsTried)
            reading.kanjiRun = AllInShiftJis(text.substr(runStart, at - runStart));
        runLength = 0;
    };
    for (std::size_t at = 0; at < text.size();) {
        const platform::Utf8Character decoded = platform::Utf8CharacterAt(text, at);
        if (decoded.length == 0) return std::nullopt;
        const char32_t code = decoded.code;
        const bool kana = (code >= 0x3000 && code <= 0x30FF) || (code >= 0xFF00 && code <= 0xFFEF);
        reading.kana += kana;
        reading.japanese += kana || IsKanji(code);
        if (!IsKanji(code)) endRun(at);
        else if (runLength++ == 0) runStart = at;
        at += decoded.length;
    }
    endRun(text.size());
    return reading;
}

// The rows of the Shift-JIS table (as Windows extends it) that hold characters.
bool IsShiftJisLead(unsigned byte)
{
    return (byte >= 0x81 && byte <= 0x84) || (byte >= 0x87 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xEA) ||
           byte == 0xED || byte == 0xEE || (byte >= 0xFA && byte <= 0xFC);
}

bool IsShiftJisTrail(unsigned byte) { return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC); }

// Punctuation, full-width letters and kana: rows a UTF-8 text read as
// Shift-JIS seldom lands on, as their lead bytes are UTF-8 continuation bytes.
bool IsShiftJisKana(unsigned lead, unsigned trail)
{
    return (lead == 0x81 && trail <= 0xAC) || lead == 0x82 || (lead == 0x83 && trail <= 0x96);
}

// Rare kanji: the rows UTF-8 lead bytes fall on.
bool IsRareKanji(unsigned lead, unsigned trail) { return lead >= 0x99 || (lead == 0x98 && trail >= 0x9F); }

// How well a text reads as Shift-JIS: its kana less its rare kanji and
// half-width katakana, of which a UTF-8 text read so is made. Nothing when
// some byte is no Shift-JIS.
std::optional<std::ptrdiff_t> ShiftJisScore(std::string_view text)
{
    std::ptrdiff_t score = 0;
    for (std::size_t at = 0; at < text.size();) {
        const unsigned lead = ByteAt(text, at);
        if (lead < 0x80 || (lead >= 0xA1 && lead <= 0xDF)) {
            score -= lead >= 0x80;
            ++at;
            continue;
        }
        if (!IsShiftJisLead(lead) || at + 1 == text.size()) return std::nullopt;
        const unsigned trail = ByteAt(text, at + 1);
        if (!IsShiftJisTrail(trail)) return std::nullopt;
        score += IsShiftJisKana(lead, trail) ? 1 : IsRareKanji(lead, trail) ? -1 : 0;
        at += 2;
    }
    return score;
}

// Whether a reader can type the character as the notice shows it, on a
// terminal or in a box, whose text passes through Shift-JIS: a control
// character would drive the terminal, a byte of no character shows as
// another, and a character without a Shift-JIS form shows as "?" or, as "¥"
// does, as another (a backslash).
bool IsTypable(std::string_view bytes, platform::Utf8Character character)
{
    if (character.length == 0 || platform::IsControlCharacter(character.code)) return false;
    return character.length == 1 || platform::Cp932ToUtf8(platform::Utf8ToCp932(bytes)) == bytes;
}

// One word to a POSIX shell, every byte of the name kept. A name with a
// character a reader cannot type as shown takes the $'...' form with its
// bytes spelled out.
std::string ShellWord(std::string_view text)
{
    std::string spelled = "$'";
    bool plain = true;
    for (std::size_t at = 0; at < text.size();) {
        const platform::Utf8Character character = platform::Utf8CharacterAt(text, at);
        const std::size_t length = std::max<std::size_t>(character.length, 1);
        const std::string_view bytes = text.substr(at, length);
        if (!IsTypable(bytes, character)) {
            plain = false;
            for (const char c : bytes) {
                char escaped[5];
                std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
                spelled += escaped;
            }
        } else {
            if (text[at] == '\'' || text[at] == '\\') spelled += '\\';
            spelled.append(bytes);
        }
        at += length;
    }
    if (!plain) return spelled + "'";
    std::string quoted = "'";
    for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace

bool IsJapaneseUtf8(std::string_view text)
{
    const std::optional<Utf8Reading> utf8 = ReadAsUtf8(text);
    // Kanji standing apart, each between ASCII, is what short Shift-JIS text
    // read as UTF-8 makes.
    if (!utf8 || utf8->japanese < LeastJapanese || (utf8->kana == 0 && !utf8->kanjiRun)) return false;
    const std::optional<std::ptrdiff_t> shiftJis = ShiftJisScore(text);
    return !shiftJis || *shiftJis < static_cast<std::ptrdiff_t>(utf8->japanese);
}

std::string Utf8ScriptNotice(std::string_view name, std::string_view text)
{
    const std::string shown = platform::ShownPath(name);
    const std::string path = ShellWord(shown);
    const std::string converted = ShellWord(shown + ".sjis");
    // iconv refuses the byte-order mark some editors write first.
    const std::string source = text.starts_with(ByteOrderMark) ? "tail -c +4 " + path + " | iconv -f UTF-8 -t CP932"
                                                                : "iconv -f UTF-8 -t CP932 " + path;
    return platform::NamedControls(shown) + " is UTF-8, but scripts are read as Shift-JIS; convert it with: " +
           source + " > " + converted + " && mv " + converted + " " + path;
}

void SayUtf8Script(std::string_view name, std::string_view text)
{
    platform::Stderr().Say("quiltor: " + Utf8ScriptNotice(name, text));
}

void ShowUtf8Script(std::string_view name, std::string_view text)
{
    platform::MessageBoxes().Show("quiltor", platform::Utf8ToCp932(Utf8ScriptNotice(name, text)),
                                  platform::MessageBoxStyle::Ok, true);
}
