// Values in save text, decided by the reader: a value is written when its SET
// line reads back as the value itself, and refused only when no form does.
#include "tests/script/ScriptTestKit.h"

#include <optional>
#include <random>

#include "frame/file/FileWriter.h"
#include "script/lang/SavedValue.h"
#include "script/lang/ScriptReader.h"
#include "tests/kit/WallSeconds.h"
#include "tests/script/ScriptFiles.h"

namespace {

class SavedValueTest : public ScriptTest {
protected:
    // The value the lexer reads from a SET line holding written, or nothing
    // when the line is no whole tag or its reading raises.
    static std::optional<std::string> ReadBack(const std::string& written)
    {
        const std::string line = "[SET VARIABLE=\"v\" ENTITY=\"" + written + "\"]";
        std::size_t pos = 0;
        CTagAttributes record;
        try {
            if (CTagLexer(line, pos, LexFaults::Raised).ReadTag(record) != TagRead || pos != line.size()) return std::nullopt;
        } catch (const EScript&) {
            return std::nullopt;
        }
        return record.GetValue(TagAttributeKey::Entity).GetStr();
    }

    // The saved form of the value, or nothing when the save is refused.
    static std::optional<std::string> Saved(const std::string& value, const kivotasuGameKit::CTextString& folder = SavedFolder())
    {
        try {
            return SavedValue(kivotasuGameKit::CTextString(value), folder).GetStr();
        } catch (const EUnsavable&) {
            return std::nullopt;
        }
    }

    // Written as the save writer writes the variables, and read back as a
    // load reads them: the value, or nothing when the save was refused.
    std::optional<std::string> RoundTrip(const std::string& value)
    {
        CSet& set = CSet::GetInstance();
        set.Clear();
        set.Set("v", value);
        try {
            kivotasuGameKit::CTextFileWriter writer(m_files.Name("save"));
            set.WriteLocals(writer);
        } catch (const EUnsavable&) {
            return std::nullopt;
        }
        set.Clear();
        CScriptReader reader;
        EXPECT_EQ(reader.Read(m_files.Name("save")), platform::ReadResult::Done);
        CTagAttributes record;
        std::optional<std::string> read;
        while (reader.ReadTag(record) == TagRead)
            if (record.GetValue(TagAttributeKey::Variable).GetStr() == "v") read = record.GetValue(TagAttributeKey::Entity).GetStr();
        return read;
    }

    ScriptFiles m_files;
};

// What the scripts' own tags give reads back through the save writer and a
// load; what no tag could hold is refused. The decision is the reader's own:
// of random values made of the characters that matter, every one saved reads
// back as itself, and every one refused would have read back as something else.
TEST_F(SavedValueTest, AValueReadsBackAsItselfOrTheSaveIsRefused)
{
    const std::pair<const char*, bool> rows[] = {
        {"やった!", true},          {"ゆう@うち", true},    {"ドキドキ!学園", true}, {"a!b@c", true},
        {"-1!", true},              {"[2]", true},          {"[[4]x]", true},       {"}", true},
        {"!x", false},              {"@6", false},          {"=!", false},          {"a,b", false},
        {"a,b,+", false},           {"say \"yes\"", false}, {"a]b", false},         {"]a[", false},
        {"{v}", false},             {"x!\x81", false},
    };
    for (const auto& [value, reads] : rows) {
        SCOPED_TRACE(value);
        EXPECT_EQ(RoundTrip(value), reads ? std::optional<std::string>(value) : std::nullopt);
    }
    static const char* const pieces[] = {"a", "0", "あ", "!", "@", ",", "-", "+", "=", "<", "[", "]", "\"", "{", "}", "\x81", " "};
    std::mt19937 random(61);
    CSet::GetInstance().Set("a", "A");
    for (int n = 0; n < 3000; ++n) {
        std::string value;
        for (std::size_t length = random() % 6 + 1; length > 0; --length) value += pieces[random() % std::size(pieces)];
        SCOPED_TRACE(value);
        const std::optional<std::string> saved = Saved(value);
        EXPECT_EQ(ReadBack(saved.value_or(value)) == value, saved.has_value()) << "saved as " << saved.value_or("nothing");
    }
    // A path in a program folder holding "{" is refused: written as
    // {KARUTEMI}, the load would expand the folder's "{" in turn. In "ボ" the
    // byte is a second byte, no brace.
    const std::pair<std::string, std::optional<std::string>> folders[] = {{"Z:/a{b}/", std::nullopt}, {"Z:/ボ/", "{KARUTEMI}data/x.bmp"}};
    for (const auto& [folder, form] : folders) {
        SCOPED_TRACE(folder);
        CSet::GetInstance().Set("KARUTEMI", folder);
        const std::string value = folder + "data/x.bmp";
        const std::optional<std::string> saved = Saved(value, kivotasuGameKit::CTextString(folder));
        EXPECT_EQ(saved, form);
        EXPECT_EQ(ReadBack(saved.value_or(value)) == value, saved.has_value());
    }
}

// One pass over a value: a save of a long value with signs in it costs a few
// walks over its characters, which no part of the save shares.
TEST_F(SavedValueTest, ALongValueIsCheckedInOnePass)
{
    std::string value;
    while (value.size() < (std::size_t{256} << 10)) value += "ゆう@うち!";
    // The walk's count, kept so that the walk is made.
    volatile std::size_t characters = 0;
    const auto [seconds, walk] = testkit::LeastInTurns(
        [&] { return testkit::ThreadSeconds([&] { EXPECT_EQ(Saved(value), value); }, 1); },
        [&] {
            return testkit::ThreadSeconds([&] {
                std::size_t counted = 0;
                for (std::size_t pos = 0; pos < value.size(); pos += kivotasuGameKit::CharLengthAt(value, pos)) ++counted;
                characters = counted;
            }, 1);
        });
    EXPECT_TRUE(testkit::CostsAtMost(20, seconds, walk));
}

} // namespace
