#include "platform/Keyboard.h"

#include "platform/ServiceSlot.h"
#include <cstring>

namespace platform {

namespace {

using State = ScriptedKeyboardSystem::State;

class ScriptedKeyboard final : public IKeyboardDevice {
public:
    explicit ScriptedKeyboard(std::shared_ptr<State> state) : m_state(std::move(state)) {}

    bool SetCooperativeLevel(WindowHandle, bool background) override
    {
        m_background = background;
        return !m_state->failCooperativeLevel;
    }

    bool Acquire() override
    {
        m_acquired = m_background || m_state->focused;
        return m_acquired;
    }

    void Unacquire() override { m_acquired = false; }

    KeyboardRead GetState(KeyTable& keys) override
    {
        if (!m_acquired)
            return KeyboardRead::Failed;
        if (!m_background && !m_state->focused) {
            m_acquired = false;
            return KeyboardRead::Lost;
        }
        if (!m_state->frames.empty()) {
            m_state->held = {m_state->frames.front().begin(), m_state->frames.front().end()};
            m_state->frames.pop_front();
        }
        std::memset(keys, 0, sizeof keys);
        for (std::uint8_t code : m_state->held)
            if (!m_state->modal.count(code))
                keys[code] = 0x80;
        for (std::uint8_t code : m_state->pressedSinceRead)
            keys[code] = 0x80;
        m_state->pressedSinceRead.clear();
        ++m_state->reads;
        return KeyboardRead::Ok;
    }

private:
    std::shared_ptr<State> m_state;
    bool m_background = false;
    bool m_acquired = false;
};

ServiceSlot<IKeyboardSystem, ScriptedKeyboardSystem>& Slot()
{
    static ServiceSlot<IKeyboardSystem, ScriptedKeyboardSystem> slot;
    return slot;
}

} // namespace

std::unique_ptr<IKeyboardDevice> ScriptedKeyboardSystem::CreateDevice()
{
    if (m_state->failCreate)
        return nullptr;
    return std::make_unique<ScriptedKeyboard>(m_state);
}

void ScriptedKeyboardSystem::Hold(std::uint8_t code)
{
    m_state->held.insert(code);
    if (ModalKeyboard::Owned()) {
        m_state->modal.insert(code);
        return;
    }
    m_state->modal.erase(code);
    m_state->pressedSinceRead.insert(code);
}

void ScriptedKeyboardSystem::Release(std::uint8_t code)
{
    m_state->held.erase(code);
    m_state->modal.erase(code);
}

IKeyboardSystem& Keyboards()
{
    return Slot().Get();
}

void InstallKeyboards(std::unique_ptr<IKeyboardSystem> system)
{
    Slot().Install(std::move(system));
}

} // namespace platform
