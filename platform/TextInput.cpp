#include "platform/TextInput.h"

#include "platform/ServiceSlot.h"

namespace platform {

namespace {

ServiceSlot<ITextInput, HeadlessTextInput>& Slot()
{
    static ServiceSlot<ITextInput, HeadlessTextInput> slot;
    return slot;
}

} // namespace

ITextInput& TextInput()
{
    return Slot().Get();
}

void InstallTextInput(std::unique_ptr<ITextInput> textInput)
{
    Slot().Install(std::move(textInput));
}

} // namespace platform
