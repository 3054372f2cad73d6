// Builds UI data trees through the real Loomkeys.dll in both string families,
// reads them back and destroys them, as a UI provider does in its events.
#include <windows.h>

#include <string>
#include <vector>

#include "loomkeys_dll.h"
#include "win32/box_watcher.h"
#include "wine_check.h"

namespace {

// The bytes that a text takes in the ANSI code page in force; empty when the
// code page cannot hold it.
std::string InAnsiCodePage(const wchar_t* text) {
  BOOL lossy = FALSE;
  const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  BOOL* lossyOut = GetACP() == CP_UTF8 ? nullptr : &lossy;  // UTF-8 refuses the flag
  WideCharToMultiByte(CP_ACP, 0, text, -1, bytes.data(), size, nullptr, lossyOut);
  if (lossy) return {};
  bytes.resize(bytes.size() - 1);  // the terminator
  return bytes;
}

}  // namespace

int main() {
  HMODULE dll = loomkeys_dll::Load();
  auto CreateUIData = LOOMKEYS_EXPORT(dll, CreateUIData);
  auto AddCommand = LOOMKEYS_EXPORT(dll, AddCommand);
  auto AddCommand2 = LOOMKEYS_EXPORT(dll, AddCommand2);
  auto GetCommand = LOOMKEYS_EXPORT(dll, GetCommand);
  auto GetCommand2 = LOOMKEYS_EXPORT(dll, GetCommand2);
  auto DestroyUIData = LOOMKEYS_EXPORT(dll, DestroyUIData);

  TUIDataHandle tree = CreateUIData();
  TUIDataHandle other = CreateUIData();
  CHECK(tree != nullptr);
  CHECK(other != nullptr && other != tree);

  wine_check::Section("UTF-16 commands read back with their key, shift keys and modes");
  CHECK_EQ(AddCommand2(tree, L"Format", L"Bold", L"Makes text bold", 'B', MOD_CONTROL, 1), LOOMKEYS_OK);
  CHECK_EQ(AddCommand2(tree, L"Format", L"Bold", L"again", 'X', MOD_ALT, 2), LOOMKEYS_COMMAND_EXISTS);
  CHECK_EQ(AddCommand2(tree, L"format", L"Bold", nullptr, 'C', MOD_SHIFT, 2), LOOMKEYS_OK);
  CHECK_EQ(AddCommand2(tree, L"\u0424\u043E\u0440\u043C\u0430\u0442", L"\u0416\u0438\u0440\u043D\u044B\u0439", nullptr,
                       'D', MOD_CONTROL | MOD_SHIFT, 3),
           LOOMKEYS_OK);
  uint16_t key = 0, shift = 0, mode = 0;
  CHECK_EQ(GetCommand2(tree, L"Format", L"Bold", &key, &shift, &mode), LOOMKEYS_OK);
  CHECK_EQ(key, 'B');
  CHECK_EQ(shift, MOD_CONTROL);
  CHECK_EQ(mode, 1);
  CHECK_EQ(GetCommand2(tree, L"format", L"Bold", &key, &shift, &mode), LOOMKEYS_OK);
  CHECK_EQ(key, 'C');
  CHECK_EQ(GetCommand2(tree, L"\u0424\u043E\u0440\u043C\u0430\u0442", L"\u0416\u0438\u0440\u043D\u044B\u0439", &key,
                       &shift, &mode),
           LOOMKEYS_OK);
  CHECK_EQ(key, 'D');
  CHECK_EQ(mode, 3);
  CHECK_EQ(GetCommand(tree, "Format", "Bold", &key, &shift), LOOMKEYS_OK);
  CHECK_EQ(key, 'B');
  CHECK_EQ(shift, MOD_CONTROL);

  wine_check::Section("ANSI names are converted with the code page in force");
  std::printf("ANSI code page %u\n", GetACP());
  const std::string category = InAnsiCodePage(L"Gr\u00E4fik");
  const std::string name = InAnsiCodePage(L"F\u00E4rben");
  CHECK(!category.empty() && !name.empty());
  CHECK(category != "Grafik");  // the umlaut is really a non-ASCII byte (or bytes)
  CHECK_EQ(AddCommand(tree, category.c_str(), name.c_str(), "Colours the shape", VK_F9, MOD_ALT), LOOMKEYS_OK);
  mode = 0;
  CHECK_EQ(GetCommand2(tree, L"Gr\u00E4fik", L"F\u00E4rben", &key, &shift, &mode), LOOMKEYS_OK);
  CHECK_EQ(key, VK_F9);
  CHECK_EQ(shift, MOD_ALT);
  CHECK_EQ(mode, 0xFFFF);  // AddCommand leaves every mode on
  CHECK_EQ(AddCommand2(tree, L"Gr\u00E4fik", L"F\u00E4rben", nullptr, 0, 0, 0), LOOMKEYS_COMMAND_EXISTS);
  CHECK_EQ(AddCommand2(tree, L"Gr\u00E4fik", L"Umrahmen", nullptr, 'U', MOD_CONTROL, 2), LOOMKEYS_OK);
  CHECK_EQ(GetCommand(tree, category.c_str(), "Umrahmen", &key, &shift), LOOMKEYS_OK);
  CHECK_EQ(key, 'U');

  wine_check::Section("a missing category or command leaves the variables untouched");
  key = 7, shift = 8, mode = 9;
  CHECK_EQ(GetCommand2(tree, L"Format", L"Italic", &key, &shift, &mode), LOOMKEYS_NO_SUCH_COMMAND);
  CHECK_EQ(GetCommand2(tree, L"FORMAT", L"Bold", &key, &shift, &mode), LOOMKEYS_NO_SUCH_COMMAND);
  CHECK_EQ(GetCommand(tree, "Format", "bold", &key, &shift), LOOMKEYS_NO_SUCH_COMMAND);
  CHECK_EQ(GetCommand2(other, L"Format", L"Bold", &key, &shift, &mode), LOOMKEYS_NO_SUCH_COMMAND);
  CHECK(key == 7 && shift == 8 && mode == 9);

  wine_check::Section("null strings are empty names; null out-pointers are skipped");
  CHECK_EQ(AddCommand(other, nullptr, nullptr, nullptr, 'Q', MOD_CONTROL), LOOMKEYS_OK);
  CHECK_EQ(AddCommand2(other, L"", L"", L"", 0, 0, 0), LOOMKEYS_COMMAND_EXISTS);
  CHECK_EQ(GetCommand2(other, nullptr, L"", &key, nullptr, nullptr), LOOMKEYS_OK);
  CHECK_EQ(key, 'Q');

  wine_check::Section("a null handle answers 7 and writes nothing");
  key = 7, shift = 8, mode = 9;
  CHECK_EQ(AddCommand2(nullptr, L"Format", L"Bold", L"", 'B', 2, 1), LOOMKEYS_CALL_FAILED);
  CHECK_EQ(AddCommand(nullptr, "Format", "Bold", "", 'B', 2), LOOMKEYS_CALL_FAILED);
  CHECK_EQ(GetCommand2(nullptr, L"Format", L"Bold", &key, &shift, &mode), LOOMKEYS_CALL_FAILED);
  CHECK_EQ(GetCommand(nullptr, "Format", "Bold", &key, &shift), LOOMKEYS_CALL_FAILED);
  CHECK(key == 7 && shift == 8 && mode == 9);

  wine_check::Section("destroying trees shows no box; a bad handle shows an Exception box");
  {
    // A box blocks the call that shows it until it is answered, so the count
    // is final as soon as the call has returned.
    box_watcher::MessageBoxAnswerer boxes(L"Exception", IDOK);
    DestroyUIData(tree);
    DestroyUIData(other);
    DestroyUIData(CreateUIData());  // a tree without categories
    DestroyUIData(nullptr);
    CHECK_EQ(boxes.Count(), 0u);
    DestroyUIData(reinterpret_cast<TUIDataHandle>(16));  // no tree: freeing it faults
    const std::vector<std::wstring> texts = boxes.Texts();
    CHECK_EQ(texts.size(), 1u);
    CHECK(!texts.empty() && texts[0].find(L"C0000005") != std::wstring::npos);  // access violation
  }
  TUIDataHandle after = CreateUIData();  // the library still works
  CHECK_EQ(AddCommand2(after, L"Format", L"Bold", nullptr, 'B', 2, 1), LOOMKEYS_OK);
  DestroyUIData(after);

  FreeLibrary(dll);
  return wine_check::Finish();
}
