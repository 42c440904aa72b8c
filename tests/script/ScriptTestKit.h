#pragma once
// Shared set-up of the script tests: a headless message box service that
// records every script error, ERROR mode 1, and a fresh variable store.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "frame/EScript.h"
#include "platform/MessageBox.h"
#include "platform/StderrLines.h"
#include "script/lang/ScriptError.h"
#include "script/lang/Set.h"

class ScriptTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto boxes = std::make_unique<platform::HeadlessMessageBoxes>();
        m_boxes = boxes.get();
        platform::InstallMessageBoxes(std::move(boxes));
        CScriptError& errors = CScriptError::GetInstance();
        errors.SetMode(1);
        errors.SetTagText("");
        errors.SetCloseHandler(nullptr);
        // An error said by an earlier test is said again.
        platform::Stderr().Flush();
        CSet::GetInstance().Clear();
    }

    void TearDown() override
    {
        CScriptError::GetInstance().SetMode(0);
        platform::InstallMessageBoxes(std::make_unique<platform::HeadlessMessageBoxes>());
    }

    // The message of every error box shown, without the tag text before it
    // and the closing line behind it.
    std::vector<std::string> Reported() const
    {
        static const std::string closing = "\n\n\n……終了しちゃいますよぉ？";
        std::vector<std::string> messages;
        for (const auto& shown : m_boxes->History()) {
            std::string text = shown.textSjis;
            text.resize(text.size() - closing.size());
            messages.push_back(text.substr(text.find("\n\n") + 2));
        }
        return messages;
    }

    platform::HeadlessMessageBoxes* m_boxes = nullptr;
};

// UTF-8 as the source spells it, whatever the execution character set: what
// the stderr lines say.
inline std::string Utf8(const char8_t* text)
{
    return reinterpret_cast<const char*>(text);
}

// The message an EScript carries, or "no error" when none is raised.
template <class Action>
std::string ScriptErrorOf(Action action)
{
    try {
        action();
    } catch (const EScript& error) {
        return error.GetMessage().GetStr();
    }
    return "no error";
}
