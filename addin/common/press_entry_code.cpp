#include "common/press_entry_code.h"

#include <cstddef>
#include <initializer_list>
#include <utility>

namespace loomkeys {
namespace {

constexpr uint32_t kHotKeyMessage = 0x0312;         // WM_HOTKEY
constexpr uint8_t kModuleHandleFromAddress = 0x04;  // GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS
constexpr uint8_t kFrameSize = 0x48;                // see the frame below
constexpr uint8_t kPrologSize = 4;                  // sub rsp, imm8
constexpr uint8_t kUnwindAllocSmall = 2;            // UWOP_ALLOC_SMALL

// The frame, 16-byte aligned for the calls (rsp is 8 past a multiple of 16
// on entry): the callees' 32 bytes of spill space, the four arguments kept
// across the loader call (the first slot keeps the result later), and the
// slot that receives the module's reference.
constexpr uint8_t kSavedArguments = 0x20;
constexpr uint8_t kResult = 0x20;
constexpr uint8_t kModuleSlot = 0x40;

class CodeWriter {
 public:
  void Bytes(std::initializer_list<uint8_t> bytes) { code_.insert(code_.end(), bytes); }
  // mov rax, imm64
  void MoveToRax(uint64_t value) {
    Bytes({0x48, 0xB8});
    Immediate64(value);
  }
  // mov rdx, imm64
  void MoveToRdx(uint64_t value) {
    Bytes({0x48, 0xBA});
    Immediate64(value);
  }
  // A short conditional or unconditional jump whose target is set later.
  size_t ShortJump(uint8_t opcode) {
    Bytes({opcode, 0});
    return code_.size();
  }
  void Land(size_t jumpEnd) { code_[jumpEnd - 1] = static_cast<uint8_t>(code_.size() - jumpEnd); }
  std::vector<uint8_t> Take() { return std::move(code_); }

 private:
  void Immediate64(uint64_t value) {
    for (int byte = 0; byte < 8; ++byte) code_.push_back(static_cast<uint8_t>(value >> (8 * byte)));
  }
  std::vector<uint8_t> code_;
};

// mov [rsp+offset], reg and back, for rcx, rdx, r8 and r9 in turn.
void SaveArguments(CodeWriter& out) {
  out.Bytes({0x48, 0x89, 0x4C, 0x24, kSavedArguments});
  out.Bytes({0x48, 0x89, 0x54, 0x24, kSavedArguments + 8});
  out.Bytes({0x4C, 0x89, 0x44, 0x24, kSavedArguments + 16});
  out.Bytes({0x4C, 0x89, 0x4C, 0x24, kSavedArguments + 24});
}
void RestoreArguments(CodeWriter& out) {
  out.Bytes({0x48, 0x8B, 0x4C, 0x24, kSavedArguments});
  out.Bytes({0x48, 0x8B, 0x54, 0x24, kSavedArguments + 8});
  out.Bytes({0x4C, 0x8B, 0x44, 0x24, kSavedArguments + 16});
  out.Bytes({0x4C, 0x8B, 0x4C, 0x24, kSavedArguments + 24});
}
void CallRax(CodeWriter& out) { out.Bytes({0xFF, 0xD0}); }
void ReturnFromFrame(CodeWriter& out) {
  out.Bytes({0x48, 0x83, 0xC4, kFrameSize});  // add rsp, frame
  out.Bytes({0xC3});                          // ret
}

}  // namespace

PressEntryCode WritePressEntryCode(const PressEntryAddresses& addresses) {
  CodeWriter out;
  out.Bytes({0x48, 0x83, 0xEC, kFrameSize});  // sub rsp, frame
  // Not a press: on to the in-module procedure with the arguments as they
  // came, and nothing else done.
  out.Bytes({0x81, 0xFA});  // cmp edx, WM_HOTKEY
  for (int byte = 0; byte < 4; ++byte) out.Bytes({static_cast<uint8_t>(kHotKeyMessage >> (8 * byte))});
  const size_t toPress = out.ShortJump(0x74);  // je
  out.MoveToRax(addresses.otherMessages);
  out.Bytes({0x48, 0x83, 0xC4, kFrameSize});  // add rsp, frame
  out.Bytes({0xFF, 0xE0});                    // jmp rax
  out.Land(toPress);

  // GetModuleHandleExW(FROM_ADDRESS, module, &slot): waits while the loader
  // is busy, and once it answers the module is either held or gone.
  SaveArguments(out);
  out.Bytes({0xB9, kModuleHandleFromAddress, 0, 0, 0});  // mov ecx, flag
  out.MoveToRdx(addresses.module);
  out.Bytes({0x4C, 0x8D, 0x44, 0x24, kModuleSlot});  // lea r8, [rsp+slot]
  out.MoveToRax(addresses.getModuleHandleExW);
  CallRax(out);
  out.Bytes({0x85, 0xC0});                    // test eax, eax
  const size_t toGone = out.ShortJump(0x74);  // je: not found, the module is gone
  // A reference to whatever module now lies at that address, if not ours
  // (ours was unloaded and another one mapped there): drop it, call nothing.
  out.MoveToRax(addresses.module);
  out.Bytes({0x48, 0x39, 0x44, 0x24, kModuleSlot});  // cmp [rsp+slot], rax
  const size_t toOtherModule = out.ShortJump(0x75);  // jne

  RestoreArguments(out);
  out.MoveToRax(addresses.press);
  CallRax(out);
  out.Bytes({0x48, 0x89, 0x44, 0x24, kResult});  // mov [rsp+result], rax
  const size_t toRelease = out.ShortJump(0xEB);  // jmp
  out.Land(toOtherModule);
  out.Bytes({0x48, 0xC7, 0x44, 0x24, kResult, 0, 0, 0, 0});  // mov qword [rsp+result], 0
  out.Land(toRelease);
  // FreeLibrary(slot), called from here: when it drops the last reference
  // it unloads the library and returns here, outside it.
  out.Bytes({0x48, 0x8B, 0x4C, 0x24, kModuleSlot});  // mov rcx, [rsp+slot]
  out.MoveToRax(addresses.freeLibrary);
  CallRax(out);
  out.Bytes({0x48, 0x8B, 0x44, 0x24, kResult});  // mov rax, [rsp+result]
  ReturnFromFrame(out);

  // The module is gone: the press is answered with 0, nothing of it called.
  out.Land(toGone);
  out.Bytes({0x31, 0xC0});  // xor eax, eax
  ReturnFromFrame(out);

  PressEntryCode entry;
  entry.code = out.Take();
  entry.unwindInfoOffset = static_cast<uint32_t>((entry.code.size() + 3) & ~size_t{3});
  // Version 1, no handler, a prolog of one instruction: its single code
  // (padded to an even count) says that it allocated the frame.
  entry.unwindInfo = {
      0x01, kPrologSize, 1, 0, kPrologSize, static_cast<uint8_t>(kUnwindAllocSmall | ((kFrameSize - 8) / 8) << 4), 0,
      0};
  return entry;
}

}  // namespace loomkeys
