#include "script/engine/PlayersFiles.h"

#include <string>

#include "frame/ErrorLog.h"
#include "platform/HostPath.h"
#include "platform/MessageBox.h"
#include "platform/StderrLines.h"
#include "platform/TextCodec.h"
#include "script/engine/Caught.h"

using kivotasuGameKit::CTextString;

bool CPlayersFiles::Saved(const char* where, const char* what, const CTextString& name, bool box,
                          const std::function<void()>& write)
{
    bool failed = false;
    Caught(
        [&] {
            try {
                write();
            } catch (const kivotasuGameKit::EUnwritable& unwritable) {
                // The system's reason, when it gave one, says more than the
                // writer's message.
                if (!unwritable.Why()) throw;
                throw EScript(CTextString(platform::FailureText(unwritable.Why())));
            }
        },
        [&](const EScript& reason) {
            SayUnsaved(where, CTextString(what) + CTextString("を保存できませんでした。"), name, reason.GetMessage(), box);
            failed = true;
        });
    return !failed;
}

void CPlayersFiles::SayUnsaved(const char* where, const CTextString& headline, const CTextString& name,
                               const CTextString& reason, bool box)
{
    const std::string path = platform::ShownPath(name.GetStr());
    kivotasuGameKit::ErrorLog.Out("%s %s %s: %s", where, headline.c_str(), name.c_str(), reason.c_str());
    const std::string line = "quiltor: " + platform::Cp932ToUtf8(headline.GetStr()) + " " + path + ": " +
                             platform::Cp932ToUtf8(reason.GetStr());
    platform::Stderr().Say(line);
    if (!box || m_closing) return;
    const CTextString text = headline + CTextString("\n\n") + CTextString(platform::Utf8ToCp932(path)) + CTextString("\n") + reason;
    platform::MessageBoxes().Show("保存の失敗", text.GetStr(), platform::MessageBoxStyle::Ok, true);
}
