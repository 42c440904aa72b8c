#include "script/engine/QuiltorEngine.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "frame/ErrorLog.h"
#include "frame/file/FileWriter.h"
#include "platform/FileSystem.h"
#include "platform/HostPath.h"
#include "platform/MessageBox.h"
#include "platform/TextCodec.h"

using kivotasuGameKit::CTextString;

namespace {

// One line on the terminal: line breaks become blanks, other control bytes
// of a name or a script's text are shown as escapes, never sent as commands.
std::string Printable(std::string_view utf8)
{
    std::string line;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n' || c == '\r') {
            line += ' ';
        } else if (byte >= 0x20 && byte != 0x7F) {
            line += c;
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            line += escape;
        }
    }
    return line;
}

} // namespace

bool CQuiltorEngine::Saved(const char* where, const char* what, const CTextString& name, bool box,
                           const std::function<void()>& write)
{
    bool failed = false;
    Caught(
        [&] {
            try {
                write();
            } catch (const kivotasuGameKit::EUnwritable& unwritable) {
                // The system's reason says more than the writer's message.
                throw EScript(CTextString(platform::FailureText(unwritable.Why())));
            }
        },
        [&](const CTextString& reason) {
            SayUnsaved(where, CTextString(what) + CTextString("を保存できませんでした。"), name, reason, box);
            failed = true;
        });
    return !failed;
}

void CQuiltorEngine::SayUnsaved(const char* where, const CTextString& headline, const CTextString& name,
                                const CTextString& reason, bool box)
{
    const std::string path = platform::ShownPath(name.GetStr());
    kivotasuGameKit::ErrorLog.Out("%s %s %s: %s", where, headline.c_str(), name.c_str(), reason.c_str());
    std::fprintf(stderr, "quiltor: %s %s: %s\n", Printable(platform::Cp932ToUtf8(headline.GetStr())).c_str(),
                 Printable(path).c_str(), Printable(platform::Cp932ToUtf8(reason.GetStr())).c_str());
    if (!box || m_closing) return;
    const CTextString text = headline + CTextString("\n\n") + CTextString(platform::Utf8ToCp932(path)) + CTextString("\n") + reason;
    platform::MessageBoxes().Show("保存の失敗", text.GetStr(), platform::MessageBoxStyle::Ok, true);
}
