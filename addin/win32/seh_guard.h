#pragma once
// Runs a function and catches the Windows structured exceptions that leave
// it and that its guard takes (common/structured_fault_policy.h): the copy
// guard takes the faults of a client pointer that cannot be used, the
// client-code guard whatever client code may raise and the library can
// recover from. C++ exceptions must be caught inside the function itself: to
// a guard a GCC C++ exception is just another structured exception.
//
// A caught fault unwinds every frame between the fault and the guard, and
// their C++ destructors are not to be relied on: those frames must hold no
// lock or resource of the library.
#include <cstdint>

namespace loomkeys {

struct StructuredFault {
  unsigned long code = 0;
  void* address = nullptr;
};

// True when body(context) returned normally; false, with the fault filled in
// (when `fault` is not null), when a structured exception that the guard
// takes left it.
extern "C" bool LoomkeysRunCopyGuarded(void (*body)(void*), void* context, StructuredFault* fault);
extern "C" bool LoomkeysRunClientCodeGuarded(void (*body)(void*), void* context, StructuredFault* fault);

template <typename Body>
bool RunCopyGuarded(Body& body) {
  return LoomkeysRunCopyGuarded([](void* context) { (*static_cast<Body*>(context))(); }, &body, nullptr);
}

template <typename Body>
bool RunClientCodeGuarded(Body& body, StructuredFault* fault) {
  return LoomkeysRunClientCodeGuarded([](void* context) { (*static_cast<Body*>(context))(); }, &body, fault);
}

}  // namespace loomkeys
