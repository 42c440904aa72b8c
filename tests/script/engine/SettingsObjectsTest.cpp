// The engine's small settings objects: LOCK counting, the SELECT block, sound
// effects, the music's file and the global settings.
#include <gtest/gtest.h>

#include "frame/EScript.h"
#include "frame/file/FileWriter.h"
#include "script/engine/BgmPlayer.h"
#include "script/engine/GlobalSettings.h"
#include "script/lang/TagAttributes.h"
#include "script/tag/ButtonManager.h"
#include "script/tag/Lock.h"
#include "script/tag/Select.h"
#include "script/tag/Sound.h"
#include "tests/kit/TempFolder.h"
#include "tests/script/ScriptTestKit.h"

namespace {

// What a writer puts in a file.
template <class Write>
std::string Written(Write write)
{
    TempFolder folder;
    {
        kivotasuGameKit::CTextFileWriter writer(folder.Internal("out"));
        write(writer);
    }
    std::ifstream in(folder.Host("out"), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

CTagAttributes Tag(std::initializer_list<std::pair<TagAttributeKey, const char*>> values)
{
    CTagAttributes record;
    for (const auto& [key, value] : values) record.SetValue(key, value);
    return record;
}

} // namespace

TEST(Lock, CountsNestingAndRefusesAnUnlockWithoutLock)
{
    TAG::CLock lock;
    EXPECT_EQ(lock.Unlock(), 1);
    EXPECT_EQ(lock.Lock(), 1);
    EXPECT_EQ(lock.Lock(), 2);
    EXPECT_EQ(lock.Unlock(), 0);
    EXPECT_TRUE(lock.IsLocked());
    EXPECT_EQ(lock.GetCount(), 1);
    // A release ends every LOCK at once, as a reset does.
    EXPECT_EQ(lock.Lock(), 2);
    lock.Release();
    EXPECT_FALSE(lock.IsLocked());
    EXPECT_EQ(lock.Lock(), 1);
    lock.Reset();
    EXPECT_FALSE(lock.IsLocked());
}

TEST(Lock, DefaultEffectIsBlendAndDefaultLockSetsIt)
{
    TAG::CLock lock;
    EXPECT_EQ(Written([&](auto& w) { lock.WriteDefault(w); }), "\n[DEFAULTLOCK EFFECT=\"BLEND\"]\n");
    lock.ParseDefault(Tag({{TagAttributeKey::Effect, "WAVE"}}));
    EXPECT_EQ(lock.GetEffect().kind, EffectKind::Wave);
    lock.ParseDefault(Tag({}));
    EXPECT_EQ(lock.GetEffect().kind, EffectKind::Wave);
    // A picture keeps its name, also in the save.
    lock.ParseDefault(Tag({{TagAttributeKey::Effect, "data/wipe.bmp"}}));
    lock.ParseDefault(Tag({}));
    EXPECT_EQ(lock.GetEffect().kind, EffectKind::Named);
    EXPECT_EQ(lock.GetEffect().picture.GetStr(), "data/wipe.bmp");
    EXPECT_EQ(Written([&](auto& w) { lock.WriteDefault(w); }), "\n[DEFAULTLOCK EFFECT=\"data/wipe.bmp\"]\n");
    lock.ParseDefault(Tag({{TagAttributeKey::Effect, "NONE"}}));
    lock.Lock();
    lock.Release();
    EXPECT_EQ(Written([&](auto& w) { lock.WriteDefault(w); }), "\n[DEFAULTLOCK EFFECT=\"NONE\"]\n") << "a release keeps it";
    lock.Reset();
    EXPECT_EQ(lock.GetEffect().kind, EffectKind::Blend);
}

TEST(Select, BlockErrorsAndItemsWrittenBack)
{
    TAG::CSelect select;
    TAG::CButtonManager buttons;
    EXPECT_EQ(ScriptErrorOf([&] { select.End(); }), "対応するSELECTのないENDSELECTが現れました。");
    EXPECT_EQ(Written([&](auto& w) { select.Write(w, buttons); }), "[JUMP");
    select.Begin();
    EXPECT_EQ(ScriptErrorOf([&] { select.Begin(); }), "SELECTがネストしています。");
    EXPECT_EQ(ScriptErrorOf([&] { select.End(); }), "選択すべき項目がひとつもありません。");
    select.AddItem(Tag({{TagAttributeKey::Body, "はい"}, {TagAttributeKey::File, "a.txt"}, {TagAttributeKey::Label, "yes"}}));
    select.AddItem(Tag({{TagAttributeKey::Body, "いいえ"}, {TagAttributeKey::Label, "no"}}));
    select.AddItem(Tag({{TagAttributeKey::Body, "まだ"}}));
    EXPECT_EQ(ScriptErrorOf([&] { select.End(); }), "no error");
    EXPECT_TRUE(select.HasTextItems());
    EXPECT_EQ(Written([&](auto& w) { select.Write(w, buttons); }),
              "\n[SELECT]\n[WRITE BODY=\"はい\" FILE=\"a.txt\" LABEL=\"yes\"]\n[WRITE BODY=\"いいえ\" LABEL=\"no\"]\n"
              "[WRITE BODY=\"まだ\"]\n[ENDSELECT");
    select.Reset();
    EXPECT_FALSE(select.IsInside());
    EXPECT_TRUE(select.GetItems().empty());
}

TEST(Select, ButtonsAloneMakeABlockWithItems)
{
    TAG::CSelect select;
    select.Begin();
    select.MarkHasItems();
    EXPECT_EQ(ScriptErrorOf([&] { select.End(); }), "no error");
    EXPECT_FALSE(select.HasTextItems());
}

TEST(Sound, NeedsAFileAndWritesItsFolder)
{
    TAG::CSound sound;
    EXPECT_EQ(ScriptErrorOf([&] { sound.Play(Tag({})); }), "ファイル名が指定されていません。");
    CTagAttributes folder = Tag({{TagAttributeKey::Path, "se\\voice"}});
    sound.ParseDefault(folder);
    EXPECT_EQ(Written([&](auto& w) { sound.WriteDefault(w); }), "\n[DEFAULTSOUND PATH=\"se/voice/\"]\n");
    sound.Reset();
    EXPECT_EQ(Written([&](auto& w) { sound.WriteDefault(w); }), "\n[DEFAULTSOUND PATH=\"\"]\n");
}

TEST(BgmPlayer, FolderGoesBeforeFilesWithoutADriveAndSavesNameTheMusic)
{
    CBgmPlayer bgm;
    CTagAttributes folder = Tag({{TagAttributeKey::Path, "bgm"}});
    bgm.SetDefaultPath(folder);
    bgm.Play(Tag({{TagAttributeKey::File, "a.mid"}}));
    EXPECT_EQ(bgm.GetFileName().GetStr(), "bgm/a.mid");
    // Without FILE it is SOUND's slip, said the same; the music goes on.
    EXPECT_EQ(ScriptErrorOf([&] { bgm.Play(Tag({})); }), "ファイル名が指定されていません。");
    EXPECT_EQ(bgm.GetFileName().GetStr(), "bgm/a.mid");
    EXPECT_EQ(Written([&](auto& w) { bgm.WriteSave(w); }), "\n[DEFAULTBGM PATH=\"bgm/\"]\n[BGM FILE=\"bgm/a.mid\"]\n");
    bgm.Play(Tag({{TagAttributeKey::File, "C:\\m\\b.mid"}}));
    EXPECT_EQ(bgm.GetFileName().GetStr(), "C:\\m\\b.mid");
    // After ENDBGM a save holds no BGM line.
    bgm.Stop(Tag({{TagAttributeKey::Time, "2000"}}));
    EXPECT_EQ(Written([&](auto& w) { bgm.WriteSave(w); }), "\n[DEFAULTBGM PATH=\"bgm/\"]\n");
    EXPECT_EQ(Written([](auto& w) { WriteDeviceOptions(w); }),
              "[SYSTEM CONTROL=\"MIDIDEVICE\" NAME=\"1\"]\n[SYSTEM CONTROL=\"CDDRIVE\" NAME=\"1\"]\n");
}

TEST(GlobalSettings, WindowColourIsThreeBytesAndResetRestoresTheStart)
{
    SetWindowRGB(0xFF123456);
    EXPECT_EQ(GetWindowRGB(), 0x123456u);
    SetTextTime(5);
    SetScreenWidth(800);
    ResetGlobalSettings();
    EXPECT_EQ(GetWindowRGB(), 0x5070A0u);
    EXPECT_EQ(GetTextTime(), 200);
    EXPECT_EQ(GetEffectTime(), 800);
    EXPECT_EQ(ScreenWidth(), 640);
    EXPECT_EQ(ScreenHeight(), 480);
}
