// One source, four test plug-ins: TEST_PLUGIN_ANSWER names the answer of its
// "TestObject"; TEST_PLUGIN_THROWS makes the entry fail after registering;
// TEST_PLUGIN_NO_ENTRY leaves the entry out.
#include <stdexcept>

#include "frame/file/ObjectCreaterInterface.h"
#include "tests/frame/file/plugin/TestObject.h"

using kivotasuGameKit::IObjectCreater;
using kivotasuGameKit::IObjectFactory;

namespace {

class TestObject : public ITestObject {
public:
    int Answer() const override { return TEST_PLUGIN_ANSWER; }
};

class TestObjectFactory : public IObjectFactory {
public:
    void* Create() override { return static_cast<ITestObject*>(new TestObject); }
};

} // namespace

#ifndef TEST_PLUGIN_NO_ENTRY
extern "C" __attribute__((visibility("default"))) void KivoDllInitializer(IObjectCreater* creater)
{
    creater->RegisterClass("TestObject", new TestObjectFactory);
    // The creator is re-entered from the entry while it loads.
    void* made = creater->Create("TestObject");
    if (!made) throw std::logic_error("registration not visible");
    delete static_cast<ITestObject*>(made);
#ifdef TEST_PLUGIN_THROWS
    creater->RegisterClass(std::string("Thrown"), new TestObjectFactory);
    throw std::runtime_error("the plug-in's entry failed");
#endif
}
#endif
