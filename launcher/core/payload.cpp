#include "core/payload.h"

#include <cstdint>

namespace stubwright {
namespace {

constexpr size_t kFieldSize = 4;

void AppendField(std::string& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void AppendString(std::string& out, std::string_view text) {
  AppendField(out, static_cast<uint32_t>(text.size()));
  out.append(text);
}

// Walks the payload bytes front to back; every read fails rather than run
// past the end.
class PayloadReader {
 public:
  explicit PayloadReader(std::string_view bytes) : bytes_(bytes) {}

  size_t Remaining() const { return bytes_.size() - position_; }

  // A length or count field; negative values do not fit.
  std::optional<size_t> ReadCount() {
    if (Remaining() < kFieldSize) return std::nullopt;
    uint32_t value = 0;
    for (size_t i = 0; i < kFieldSize; ++i)
      value |= uint32_t{static_cast<unsigned char>(bytes_[position_ + i])} << (8 * i);
    position_ += kFieldSize;
    if (value > uint32_t{INT32_MAX}) return std::nullopt;
    return value;
  }

  std::optional<std::string> ReadString() {
    const std::optional<size_t> length = ReadCount();
    if (!length || *length > Remaining()) return std::nullopt;
    std::string text(bytes_.substr(position_, *length));
    position_ += *length;
    return text;
  }

 private:
  std::string_view bytes_;
  size_t position_ = 0;
};

}  // namespace

std::string EncodePayload(const Payload& payload) {
  std::string out;
  AppendString(out, payload.verb);
  AppendString(out, payload.command);
  AppendField(out, static_cast<uint32_t>(payload.arguments.size()));
  for (const std::string& argument : payload.arguments) AppendString(out, argument);
  return out;
}

std::optional<Payload> DecodePayload(std::string_view bytes) {
  PayloadReader reader(bytes);
  Payload payload;
  std::optional<std::string> verb = reader.ReadString();
  if (!verb) return std::nullopt;
  std::optional<std::string> command = reader.ReadString();
  if (!command) return std::nullopt;
  const std::optional<size_t> count = reader.ReadCount();
  // Each argument takes at least its length field.
  if (!count || *count > reader.Remaining() / kFieldSize) return std::nullopt;
  payload.verb = std::move(*verb);
  payload.command = std::move(*command);
  payload.arguments.reserve(*count);
  for (size_t i = 0; i < *count; ++i) {
    std::optional<std::string> argument = reader.ReadString();
    if (!argument) return std::nullopt;
    payload.arguments.push_back(std::move(*argument));
  }
  return payload;
}

}  // namespace stubwright
