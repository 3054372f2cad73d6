// Feeds arbitrary bytes to the launcher's payload reader, as a launcher file
// whose tail was damaged or made by hand would. A payload that decodes must
// encode back to exactly the bytes it was read from.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/parameter_text.h"
#include "core/payload.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::optional<stubwright::Payload> payload = stubwright::DecodePayload(bytes);
  if (!payload) return 0;
  const std::string encoded = stubwright::EncodePayload(*payload);
  if (bytes.substr(0, encoded.size()) != encoded) std::abort();
  stubwright::BuildParameterText(payload->arguments, {payload->verb, payload->command});
  return 0;
}
