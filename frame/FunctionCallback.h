#pragma once

#include <cstdint>
#include <utility>

#include "frame/Exceptions.h"
#include "frame/SmartPtr.h"

namespace kivotasuGameKit {

// The SDK's callable object, held by counted pointer in the start and exit
// lists and the application's timer list.
class function_callback {
public:
    virtual void operator()() = 0;
    virtual ~function_callback() = default;
    // Stores an argument for later calls; only the kinds that take one accept it.
    virtual void bind(std::uint32_t argument)
    {
        throw KTL::CRuntimeException("メンバ関数へのfunction_callbackに対してbindを行なった");
    }
};

// A plain function (or any callable) without argument.
template <typename Function>
class function_callback_v : public function_callback {
public:
    explicit function_callback_v(Function function) : m_function(std::move(function)) {}
    void operator()() override { m_function(); }

private:
    Function m_function;
};

// A member function with its object.
template <typename Object>
class function_callback_m : public function_callback {
public:
    function_callback_m(Object* object, void (Object::*member)()) : m_object(object), m_member(member) {}
    void operator()() override { (m_object->*m_member)(); }

private:
    Object* m_object;
    void (Object::*m_member)();
};

// A function of one 32-bit argument, called with the argument last bound.
template <typename Function>
class function_callback_a : public function_callback {
public:
    function_callback_a(Function function, std::uint32_t argument) : m_function(std::move(function)), m_argument(argument) {}
    void operator()() override { m_function(m_argument); }
    void bind(std::uint32_t argument) override { m_argument = argument; }

private:
    Function m_function;
    std::uint32_t m_argument;
};

template <typename Function>
CSmartPtr<function_callback> MakeCallback(Function function)
{
    return CSmartPtr<function_callback>(new function_callback_v<Function>(std::move(function)));
}

template <typename Object>
CSmartPtr<function_callback> MakeCallback(Object* object, void (Object::*member)())
{
    return CSmartPtr<function_callback>(new function_callback_m<Object>(object, member));
}

template <typename Function>
CSmartPtr<function_callback> MakeBindableCallback(Function function, std::uint32_t argument)
{
    return CSmartPtr<function_callback>(new function_callback_a<Function>(std::move(function), argument));
}

} // namespace kivotasuGameKit
