#pragma once
// Runs a function and catches a Windows structured exception (an access
// violation, or an exception raised by another language runtime) that
// leaves it. C++ exceptions must be caught inside the function itself: to
// this guard a GCC C++ exception is just another structured exception.
#include <cstdint>

namespace loomkeys {

struct StructuredFault {
  unsigned long code = 0;
  void* address = nullptr;
};

// True when body(context) returned normally; false, with the fault filled in,
// when a structured exception left it.
extern "C" bool LoomkeysRunGuarded(void (*body)(void*), void* context, StructuredFault* fault);

template <typename Body>
bool RunGuarded(Body& body, StructuredFault* fault) {
  return LoomkeysRunGuarded([](void* context) { (*static_cast<Body*>(context))(); }, &body, fault);
}

}  // namespace loomkeys
