#pragma once
// The payload that turns a copy of the bare stub into a launcher. It follows
// the stub's bytes directly; every integer is 32-bit signed little-endian:
//   verb length, verb bytes, command length, command bytes,
//   argument count, then per argument its length and its bytes.
// There is no terminator, signature or checksum.
#include <optional>
#include <string>
#include <string_view>

#include "core/argument_list.h"

namespace stubwright {

struct Payload {
  std::string verb;
  std::string command;
  ArgumentList arguments;
};

// The strings come from one command line (at most 32 K characters), so every
// length fits the 32-bit field.
std::string EncodePayload(const Payload& payload);

// Reads a payload from the bytes after the stub. Answers nothing when they do
// not hold one: a negative length or count, or a length or count that runs
// past the end. Every length is checked against the bytes that remain before
// anything is allocated, so a bogus length cannot cause a large allocation.
// Bytes after the last argument are ignored (a signature appended to a signed
// launcher lands there).
std::optional<Payload> DecodePayload(std::string_view bytes);

}  // namespace stubwright
