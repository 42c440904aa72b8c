#pragma once

#include <cstdint>
#include <memory>

#include "frame/WinHook.h"
#include "platform/Keyboard.h"

namespace kivotasuGameKit {

// Two readings of the whole keyboard, indexed by key code: the newest and the
// one before, so that a key can be asked whether it is down and whether it
// went down since the previous reading.
class CKeyBase {
public:
    virtual int Input() = 0;
    // Here any non-zero byte counts as down.
    virtual bool IsKeyPress(int key);
    virtual bool IsKeyPush(int key);
    virtual uint8_t* GetKeyBuffer() { return m_keys[m_current]; }
    virtual ~CKeyBase() = default;
    virtual int ResetKey();
    // Every key down now counts as held at the reading before too: no push
    // until pressed anew.
    void HoldCurrent();

protected:
    int m_current = 0;
    uint8_t m_keys[2][256] = {};
};

// The keyboard read once a frame. Status 0 reads; 6 the keyboard could not be
// opened; 8 it refused the window. From 3 on nothing is ever read.
class CKeyInput : public CKeyBase, public IWinHook {
public:
    // background false: only while the window has the keyboard focus.
    explicit CKeyInput(bool background = false);
    CKeyInput(const CKeyInput&) = delete;
    CKeyInput& operator=(const CKeyInput&) = delete;
    ~CKeyInput() override;

    // 0 read; 1 no reading (every key up); -1 the keyboard was lost and could
    // not be taken back.
    int Input() override;
    bool IsKeyPress(int key) override;
    bool IsKeyPush(int key) override;
    int GetStatus() const { return m_status; }

    std::intptr_t WndProc(platform::WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t) override
    {
        return 0;
    }

private:
    int Fail(int result);

    std::unique_ptr<platform::IKeyboardDevice> m_device;
    int m_status = 0;
    bool m_acquired = false;
};

} // namespace kivotasuGameKit
