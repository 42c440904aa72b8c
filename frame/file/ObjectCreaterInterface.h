#pragma once

#include <cstddef>
#include <string>

namespace kivotasuGameKit {

// Makes the objects of one class.
class IObjectFactory {
public:
    virtual void* Create() = 0;
    virtual ~IObjectFactory() = default;
};

// What object plug-ins see of the process's object creator. A plug-in library
// exports KivoDllInitializerFunction under the C name "KivoDllInitializer";
// it is called once when the library is loaded and registers the library's
// classes. Objects made by a plug-in's factories must be gone before the
// plug-in is released.
class IObjectCreater {
public:
    // Null when no class of that name (case counts) is registered.
    virtual void* Create(const std::string& className) = 0;
    virtual void* Create(const char* className) = 0;
    // The creator owns the factory from then on.
    virtual void RegisterClass(const std::string& className, IObjectFactory* factory) = 0;
    virtual void RegisterClass(const char* className, IObjectFactory* factory) = 0;
    virtual int LoadPlugIn(const std::string& fileName) = 0;
    virtual int LoadPlugIn(const char* fileName) = 0;
    virtual int ReleasePlugIn(const std::string& fileName) = 0;
    virtual int ReleasePlugIn(const char* fileName) = 0;
    virtual void* New(std::size_t size) = 0;
    virtual void Delete(void* memory) = 0;
    virtual ~IObjectCreater() = default;
};

extern "C" {
using KivoDllInitializerFunction = void (*)(IObjectCreater* creater);
}

} // namespace kivotasuGameKit
