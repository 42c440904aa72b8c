#include "platform/Keyboard.h"

#include <atomic>

namespace platform {

namespace {

std::atomic<int> g_owners{0};

} // namespace

ModalKeyboard::ModalKeyboard()
{
    ++g_owners;
}

ModalKeyboard::~ModalKeyboard()
{
    --g_owners;
}

bool ModalKeyboard::Owned()
{
    return g_owners.load() > 0;
}

} // namespace platform
