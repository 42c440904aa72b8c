// File dialogs as data: type filters, the default extension, and the checks
// ChooseFile makes before it gives a name (must exist, overwrite prompt)
// with the headless service answering; the drawn dialog's browser on a real
// folder with Japanese names.
#include <gtest/gtest.h>

#include <memory>

#include "platform/Dialogs.h"
#include "platform/FileBrowser.h"
#include "platform/FileDialogs.h"
#include "platform/MemoryFileSystem.h"
#include "platform/TextCodec.h"
#include "tests/kit/TempFolder.h"

using platform::FileDialog;
using platform::HeadlessDialogs;

namespace {

// A fresh headless dialog service and memory file system for one test.
class Service {
public:
    Service() : files(platform::MemoryFileSystem::Install())
    {
        auto owned = std::make_unique<HeadlessDialogs>();
        dialogs = owned.get();
        platform::InstallDialogs(std::move(owned));
    }
    ~Service()
    {
        platform::InstallDialogs(nullptr);
        platform::InstallFileSystem(nullptr);
    }
    platform::MemoryFileSystem& files;
    HeadlessDialogs* dialogs;
};

FileDialog SaveDialog()
{
    FileDialog dialog;
    dialog.kind = FileDialog::Kind::Save;
    dialog.titleSjis = "画面の保存";
    dialog.folder = "Z:\\shots";
    dialog.fileNameSjis = "Quiltor00.pdt";
    dialog.filters = {{"PDT Files(*.pdt)", "*.pdt"}};
    dialog.defaultExtension = "pdt";
    dialog.overwritePrompt = true;
    return dialog;
}

} // namespace

TEST(FileDialogs, FiltersMatchAsWindowsPatternsDo)
{
    struct Case {
        const char* name;
        const char* patterns;
        bool matches;
    };
    for (Case c : {Case{"a.txt", "*.txt;*.qlx", true}, Case{"A.QLX", "*.txt;*.qlx", true},
                   Case{"a.txt.bak", "*.txt;*.qlx", false}, Case{"README", "*.*", true},
                   Case{"x.pd", "*.pdt", false}, Case{"x.pdt", "*.pdt", true}, Case{"ab", "a?", true},
                   Case{"abc", "a?", false}, Case{"a.txt", "", false}, Case{"a.txt", ";;*.txt", true}}) {
        EXPECT_EQ(platform::MatchesFilter(c.name, c.patterns), c.matches) << c.name << " " << c.patterns;
    }
}

TEST(FileDialogs, DefaultExtensionGoesOnlyToANameWithoutOne)
{
    const FileDialog dialog = SaveDialog();
    struct Case {
        const char* path;
        const char* expected;
    };
    // "表" ends in the byte of "\": the file name is still the whole "表示".
    for (Case c : {Case{"Z:\\a\\shot", "Z:\\a\\shot.pdt"}, Case{"Z:\\a.b\\shot", "Z:\\a.b\\shot.pdt"},
                   Case{"Z:\\a\\shot.png", "Z:\\a\\shot.png"}, Case{"Z:\\表示", "Z:\\表示.pdt"},
                   Case{"Z:\\a\\", "Z:\\a\\"}}) {
        EXPECT_EQ(platform::WithDefaultExtension(c.path, dialog), c.expected) << c.path;
    }
    EXPECT_EQ(platform::InDialogFolder("x.pdt", dialog), "Z:\\shots\\x.pdt");
    EXPECT_EQ(platform::InDialogFolder("Z:\\other\\x.pdt", dialog), "Z:\\other\\x.pdt");
}

TEST(FileDialogs, SaveAsksBeforeOverwritingAndOpensAgainOnNo)
{
    struct Case {
        const char* what;
        std::vector<HeadlessDialogs::Answer> answers;
        std::optional<std::string> chosen;
        std::size_t fileDialogs, questions;
    };
    const Case cases[] = {
        {"a new name is taken at once", {{1, {}, {}, "new"}}, "Z:\\shots\\new.pdt", 1, 0},
        {"yes overwrites", {{1, {}, {}, "old.pdt"}, {1}}, "Z:\\shots\\old.pdt", 1, 1},
        {"no opens the dialog again", {{1, {}, {}, "old"}, {2}, {1, {}, {}, "other"}}, "Z:\\shots\\other.pdt", 2, 1},
        {"no, then cancel", {{1, {}, {}, "old"}, {2}, {0}}, std::nullopt, 2, 1},
        {"cancel", {{0}}, std::nullopt, 1, 0},
        {"the proposed name", {{1}}, "Z:\\shots\\Quiltor00.pdt", 1, 0},
    };
    for (const Case& c : cases) {
        Service service;
        service.files.Put("Z:\\shots\\old.pdt", "old");
        for (const auto& answer : c.answers) service.dialogs->PushAnswer(answer);
        EXPECT_EQ(platform::ChooseFile(SaveDialog()), c.chosen) << c.what;
        EXPECT_EQ(service.dialogs->ShownFiles().size(), c.fileDialogs) << c.what;
        ASSERT_EQ(service.dialogs->Shown().size(), c.questions) << c.what;
        if (c.questions == 0) continue;
        const platform::Dialog& question = service.dialogs->Shown()[0];
        EXPECT_EQ(question.titleSjis, "画面の保存");
        EXPECT_EQ(question.controls.at(0).textSjis, "old.pdt は既に存在します。\n上書きしますか？");
        if (c.fileDialogs == 2) {
            EXPECT_EQ(service.dialogs->ShownFiles()[1].fileNameSjis, "old.pdt") << "opens again at that name";
            EXPECT_EQ(service.dialogs->ShownFiles()[1].folder, "Z:\\shots\\");
        }
    }
}

TEST(FileDialogs, OpenWantsAnExistingFile)
{
    Service service;
    service.files.Put("Z:\\game\\next.txt", "x");
    FileDialog dialog;
    dialog.folder = "Z:\\game";
    dialog.mustExist = true;
    service.dialogs->PushFile("missing.txt");
    service.dialogs->PushAnswer(1); // the warning's OK
    service.dialogs->PushFile("Z:\\game\\next.txt");
    EXPECT_EQ(platform::ChooseFile(dialog), "Z:\\game\\next.txt");
    ASSERT_EQ(service.dialogs->Shown().size(), 1u);
    EXPECT_EQ(service.dialogs->Shown()[0].icon, platform::DialogIcon::Warning);
    EXPECT_EQ(service.dialogs->ShownFiles().size(), 2u);
}

namespace {

std::string Utf8(const char* sjis)
{
    return platform::Cp932ToUtf8(sjis);
}

std::vector<std::string> Names(const platform::FileBrowser& browser)
{
    std::vector<std::string> names;
    for (const auto& entry : browser.Entries()) names.push_back((entry.folder ? "/" : "") + entry.name + (entry.usable ? "" : "!"));
    return names;
}

} // namespace

TEST(FileBrowser, ListsFoldersThenFilesOfTheTypeAsTheHostNamesThem)
{
    TempFolder folder;
    const std::string emoji = "\xF0\x9F\x8E\xAE.txt"; // no Shift-JIS form
    for (const std::string& name : {Utf8("第二章.txt"), Utf8("表示.qlx"), std::string("notes.md"), std::string(".hidden.txt"), emoji})
        folder.Put(name, "x");
    folder.Put(Utf8("シナリオ/a.txt"), "x");
    FileDialog dialog;
    dialog.folder = folder.Internal();
    dialog.filters = {{"script", "*.txt;*.qlx"}, {"all", "*.*"}};
    platform::FileBrowser browser(dialog);
    EXPECT_EQ(browser.Folder(), folder.Host().string());
    EXPECT_EQ(Names(browser), (std::vector<std::string>{"/" + Utf8("シナリオ"), Utf8("第二章.txt"), Utf8("表示.qlx"), emoji + "!"}));
    browser.SetFilter(1);
    EXPECT_EQ(Names(browser).size(), 5u) << "notes.md joins";

    // A file gives its internal path; a folder is entered; a name the program cannot write is refused.
    EXPECT_EQ(browser.Accept(Utf8("表示.qlx")), folder.Name("表示.qlx"));
    EXPECT_FALSE(browser.Accept(emoji).has_value());
    EXPECT_FALSE(browser.ProblemSjis().empty());
    EXPECT_FALSE(browser.Accept(Utf8("シナリオ")).has_value());
    EXPECT_TRUE(browser.ProblemSjis().empty());
    EXPECT_EQ(browser.Folder(), folder.Host(Utf8("シナリオ")).string());
    EXPECT_EQ(Names(browser), (std::vector<std::string>{"a.txt"}));
    EXPECT_EQ(browser.Accept("new.txt"), folder.Name("シナリオ\\new.txt")) << "a new name for a save";
    browser.Enter("..");
    EXPECT_EQ(browser.Folder(), folder.Host().string());
}

TEST(FileBrowser, StartsAtTheNearestFolderThatExists)
{
    TempFolder folder;
    folder.Put("a/b.txt", "x");
    FileDialog dialog;
    dialog.folder = folder.Name("a\\gone\\deeper");
    EXPECT_EQ(platform::FileBrowser(dialog).Folder(), platform::FileBrowser(FileDialog{}).Folder())
        << "a missing folder falls back to the current directory";
    dialog.folder = folder.Name("a");
    platform::FileBrowser browser(dialog);
    browser.Enter("gone");
    EXPECT_EQ(browser.Folder(), folder.Host("a").string()) << "a folder that went away leaves the browser where it can read";
}
