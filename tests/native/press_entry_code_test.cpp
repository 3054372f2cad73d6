// The hidden window's entry page, byte for byte: each instruction below was
// checked by hand and against a disassembler. A wrong register, offset or
// jump target sends a press, or the library's unload, into the wrong code.
#include "common/press_entry_code.h"

#include <gtest/gtest.h>

#include <vector>

namespace loomkeys {
namespace {

constexpr PressEntryAddresses kAddresses = {0x1111111111111111, 0x2222222222222222, 0x3333333333333333,
                                            0x4444444444444444, 0x5555555555555555};

struct Instruction {
  const char* text;
  std::vector<uint8_t> bytes;
};

std::vector<uint8_t> Immediate(uint8_t repeated) { return std::vector<uint8_t>(8, repeated); }

std::vector<uint8_t> Join(std::vector<uint8_t> head, const std::vector<uint8_t>& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

const std::vector<Instruction> kListing = {
    {"00 sub rsp, 0x48", {0x48, 0x83, 0xEC, 0x48}},
    {"04 cmp edx, 0x312 (WM_HOTKEY)", {0x81, 0xFA, 0x12, 0x03, 0x00, 0x00}},
    {"0a je 1c", {0x74, 0x10}},
    {"0c mov rax, other messages' procedure", Join({0x48, 0xB8}, Immediate(0x11))},
    {"16 add rsp, 0x48", {0x48, 0x83, 0xC4, 0x48}},
    {"1a jmp rax", {0xFF, 0xE0}},
    {"1c mov [rsp+0x20], rcx", {0x48, 0x89, 0x4C, 0x24, 0x20}},
    {"21 mov [rsp+0x28], rdx", {0x48, 0x89, 0x54, 0x24, 0x28}},
    {"26 mov [rsp+0x30], r8", {0x4C, 0x89, 0x44, 0x24, 0x30}},
    {"2b mov [rsp+0x38], r9", {0x4C, 0x89, 0x4C, 0x24, 0x38}},
    {"30 mov ecx, 4 (from address)", {0xB9, 0x04, 0x00, 0x00, 0x00}},
    {"35 mov rdx, module", Join({0x48, 0xBA}, Immediate(0x33))},
    {"3f lea r8, [rsp+0x40]", {0x4C, 0x8D, 0x44, 0x24, 0x40}},
    {"44 mov rax, GetModuleHandleExW", Join({0x48, 0xB8}, Immediate(0x44))},
    {"4e call rax", {0xFF, 0xD0}},
    {"50 test eax, eax", {0x85, 0xC0}},
    {"52 je b0", {0x74, 0x5C}},
    {"54 mov rax, module", Join({0x48, 0xB8}, Immediate(0x33))},
    {"5e cmp [rsp+0x40], rax", {0x48, 0x39, 0x44, 0x24, 0x40}},
    {"63 jne 8c", {0x75, 0x27}},
    {"65 mov rcx, [rsp+0x20]", {0x48, 0x8B, 0x4C, 0x24, 0x20}},
    {"6a mov rdx, [rsp+0x28]", {0x48, 0x8B, 0x54, 0x24, 0x28}},
    {"6f mov r8, [rsp+0x30]", {0x4C, 0x8B, 0x44, 0x24, 0x30}},
    {"74 mov r9, [rsp+0x38]", {0x4C, 0x8B, 0x4C, 0x24, 0x38}},
    {"79 mov rax, press procedure", Join({0x48, 0xB8}, Immediate(0x22))},
    {"83 call rax", {0xFF, 0xD0}},
    {"85 mov [rsp+0x20], rax", {0x48, 0x89, 0x44, 0x24, 0x20}},
    {"8a jmp 95", {0xEB, 0x09}},
    {"8c mov qword [rsp+0x20], 0", {0x48, 0xC7, 0x44, 0x24, 0x20, 0x00, 0x00, 0x00, 0x00}},
    {"95 mov rcx, [rsp+0x40]", {0x48, 0x8B, 0x4C, 0x24, 0x40}},
    {"9a mov rax, FreeLibrary", Join({0x48, 0xB8}, Immediate(0x55))},
    {"a4 call rax", {0xFF, 0xD0}},
    {"a6 mov rax, [rsp+0x20]", {0x48, 0x8B, 0x44, 0x24, 0x20}},
    {"ab add rsp, 0x48", {0x48, 0x83, 0xC4, 0x48}},
    {"af ret", {0xC3}},
    {"b0 xor eax, eax", {0x31, 0xC0}},
    {"b2 add rsp, 0x48", {0x48, 0x83, 0xC4, 0x48}},
    {"b6 ret", {0xC3}},
};

TEST(PressEntryCode, IsTheCheckedListingInstructionByInstruction) {
  const PressEntryCode entry = WritePressEntryCode(kAddresses);
  size_t offset = 0;
  for (const Instruction& instruction : kListing) {
    SCOPED_TRACE(instruction.text);
    ASSERT_LE(offset + instruction.bytes.size(), entry.code.size());
    EXPECT_EQ(std::vector<uint8_t>(entry.code.begin() + offset, entry.code.begin() + offset + instruction.bytes.size()),
              instruction.bytes);
    offset += instruction.bytes.size();
  }
  EXPECT_EQ(offset, entry.code.size());
}

TEST(PressEntryCode, UnwindInfoDescribesTheFrameAllocationAfterTheCode) {
  const PressEntryCode entry = WritePressEntryCode(kAddresses);
  EXPECT_EQ(entry.unwindInfoOffset, 0xb8u);  // the code's 0xb7 bytes, rounded up to 4
  // Version 1, no flags; a 4-byte prolog; one code: at offset 4,
  // UWOP_ALLOC_SMALL of (8 + 1) * 8 = 0x48 bytes; padding to an even count.
  EXPECT_EQ(entry.unwindInfo, (std::vector<uint8_t>{0x01, 0x04, 0x01, 0x00, 0x04, 0x82, 0x00, 0x00}));
}

}  // namespace
}  // namespace loomkeys
