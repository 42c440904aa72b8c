#include "script/engine/SettingPages.h"

#include "frame/ErrorLog.h"
#include "frame/TextString.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"

using platform::DialogControl;

namespace {

constexpr const char* HomePage = "https://example.org/quiltor/";

kivotasuGameKit::CTextString ProgramName()
{
    kivotasuGameKit::CTextString path(platform::FileSystem().ExecutablePath());
    path.ToSlash();
    return path.RightOfLast('/');
}

} // namespace

DialogControl CVersionPage::Initialize()
{
    return DialogControl::Page("バージョン情報", {DialogControl::Label(ProgramName().GetStr()),
                                                  DialogControl::Label("Version 1.00"),
                                                  DialogControl::Link(SettingControl::HomePage, HomePage)});
}

void CVersionPage::OnChange(const DialogControl& control)
{
    if (control.id != SettingControl::HomePage) return;
    if (!platform::Shell().OpenUrl(HomePage))
        kivotasuGameKit::ErrorLog.Out("CVersionPage::OnChangeでホームページを開けない: %s", HomePage);
}
