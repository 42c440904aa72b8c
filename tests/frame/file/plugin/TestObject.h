#pragma once

// The objects the test plug-ins make.
class ITestObject {
public:
    virtual ~ITestObject() = default;
    virtual int Answer() const = 0;
};
