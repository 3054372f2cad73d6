#include "common/exception_text.h"

#include <exception>

#include "platform/ansi_text.h"

namespace loomkeys {

std::u16string CurrentExceptionText() {
  try {
    throw;
  } catch (const std::exception& exception) {
    try {
      return AnsiToUtf16(exception.what());
    } catch (...) {
      return u"Exception";
    }
  } catch (...) {
    return u"Unknown exception";
  }
}

}  // namespace loomkeys
