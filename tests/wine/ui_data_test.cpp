// Builds UI data trees through the real Loomkeys.dll in both string families,
// reads them back and destroys them, as a UI provider does in its events.
#include <windows.h>

#include <algorithm>
#include <cstddef>
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
  const auto& dll = loomkeys_dll::Load();

  TUIDataHandle tree = dll.CreateUIData();
  TUIDataHandle other = dll.CreateUIData();
  CHECK(tree != nullptr);
  CHECK(other != nullptr && other != tree);

  wine_check::Section("UTF-16 commands read back with their key, shift keys and modes");
  CHECK_EQ(dll.AddCommand2(tree, L"Format", L"Bold", L"Makes text bold", 'B', MOD_CONTROL, 1), LOOMKEYS_OK);
  CHECK_EQ(dll.AddCommand2(tree, L"Format", L"Bold", L"again", 'X', MOD_ALT, 2), LOOMKEYS_COMMAND_EXISTS);
  CHECK_EQ(dll.AddCommand2(tree, L"format", L"Bold", nullptr, 'C', MOD_SHIFT, 2), LOOMKEYS_OK);
  CHECK_EQ(dll.AddCommand2(tree, L"\u0424\u043E\u0440\u043C\u0430\u0442", L"\u0416\u0438\u0440\u043D\u044B\u0439",
                           nullptr, 'D', MOD_CONTROL | MOD_SHIFT, 3),
           LOOMKEYS_OK);
  uint16_t key = 0, shift = 0, mode = 0;
  CHECK_EQ(dll.GetCommand2(tree, L"Format", L"Bold", &key, &shift, &mode), LOOMKEYS_OK);
  CHECK_EQ(key, 'B');
  CHECK_EQ(shift, MOD_CONTROL);
  CHECK_EQ(mode, 1);
  CHECK_EQ(dll.GetCommand2(tree, L"format", L"Bold", &key, &shift, &mode), LOOMKEYS_OK);
  CHECK_EQ(key, 'C');
  CHECK_EQ(dll.GetCommand2(tree, L"\u0424\u043E\u0440\u043C\u0430\u0442", L"\u0416\u0438\u0440\u043D\u044B\u0439", &key,
                           &shift, &mode),
           LOOMKEYS_OK);
  CHECK_EQ(key, 'D');
  CHECK_EQ(mode, 3);
  CHECK_EQ(dll.GetCommand(tree, "Format", "Bold", &key, &shift), LOOMKEYS_OK);
  CHECK_EQ(key, 'B');
  CHECK_EQ(shift, MOD_CONTROL);

  wine_check::Section("ANSI names are converted with the code page in force");
  std::printf("ANSI code page %u\n", GetACP());
  const std::string category = InAnsiCodePage(L"Gr\u00E4fik");
  const std::string name = InAnsiCodePage(L"F\u00E4rben");
  CHECK(!category.empty() && !name.empty());
  CHECK(category != "Grafik");  // the umlaut is really a non-ASCII byte (or bytes)
  CHECK_EQ(dll.AddCommand(tree, category.c_str(), name.c_str(), "Colours the shape", VK_F9, MOD_ALT), LOOMKEYS_OK);
  mode = 0;
  CHECK_EQ(dll.GetCommand2(tree, L"Gr\u00E4fik", L"F\u00E4rben", &key, &shift, &mode), LOOMKEYS_OK);
  CHECK_EQ(key, VK_F9);
  CHECK_EQ(shift, MOD_ALT);
  CHECK_EQ(mode, 0xFFFF);  // AddCommand leaves every mode on
  CHECK_EQ(dll.AddCommand2(tree, L"Gr\u00E4fik", L"F\u00E4rben", nullptr, 0, 0, 0), LOOMKEYS_COMMAND_EXISTS);
  CHECK_EQ(dll.AddCommand2(tree, L"Gr\u00E4fik", L"Umrahmen", nullptr, 'U', MOD_CONTROL, 2), LOOMKEYS_OK);
  CHECK_EQ(dll.GetCommand(tree, category.c_str(), "Umrahmen", &key, &shift), LOOMKEYS_OK);
  CHECK_EQ(key, 'U');

  wine_check::Section("a missing category or command leaves the variables untouched");
  key = 7, shift = 8, mode = 9;
  CHECK_EQ(dll.GetCommand2(tree, L"Format", L"Italic", &key, &shift, &mode), LOOMKEYS_NO_SUCH_COMMAND);
  CHECK_EQ(dll.GetCommand2(tree, L"FORMAT", L"Bold", &key, &shift, &mode), LOOMKEYS_NO_SUCH_COMMAND);
  CHECK_EQ(dll.GetCommand(tree, "Format", "bold", &key, &shift), LOOMKEYS_NO_SUCH_COMMAND);
  CHECK_EQ(dll.GetCommand2(other, L"Format", L"Bold", &key, &shift, &mode), LOOMKEYS_NO_SUCH_COMMAND);
  CHECK(key == 7 && shift == 8 && mode == 9);

  wine_check::Section("null strings are empty names; null out-pointers are skipped");
  CHECK_EQ(dll.AddCommand(other, nullptr, nullptr, nullptr, 'Q', MOD_CONTROL), LOOMKEYS_OK);
  CHECK_EQ(dll.AddCommand2(other, L"", L"", L"", 0, 0, 0), LOOMKEYS_COMMAND_EXISTS);
  CHECK_EQ(dll.GetCommand2(other, nullptr, L"", &key, nullptr, nullptr), LOOMKEYS_OK);
  CHECK_EQ(key, 'Q');

  wine_check::Section("destroying trees shows no box");
  {
    // A box blocks the call that shows it until it is answered, so the count
    // is final as soon as the call has returned.
    box_watcher::MessageBoxAnswerer boxes(L"Exception", IDOK);
    dll.DestroyUIData(other);
    dll.DestroyUIData(dll.CreateUIData());  // a tree without categories
    dll.DestroyUIData(nullptr);
    CHECK_EQ(boxes.Count(), 0u);
  }

  wine_check::Section("a handle that is no live tree answers 7, writes nothing, and DestroyUIData shows a box");
  {
    // Zeroed memory reads as an empty tree: a call that trusted the handle
    // would add to it and answer 0.
    alignas(16) std::byte foreign[64] = {};
    const struct {
      const char* what;
      TUIDataHandle handle;
    } kNoTrees[] = {
        {"destroyed", other},
        {"foreign", reinterpret_cast<TUIDataHandle>(foreign)},
        {"garbage", reinterpret_cast<TUIDataHandle>(0x12345678)},
        {"null", nullptr},
    };
    box_watcher::MessageBoxAnswerer boxes(L"Exception", IDOK);
    for (const auto& noTree : kNoTrees) {
      wine_check::Section(noTree.what);
      key = 7, shift = 8, mode = 9;
      CHECK_EQ(dll.AddCommand2(noTree.handle, L"Format", L"Bold", L"", 'B', 2, 1), LOOMKEYS_CALL_FAILED);
      CHECK_EQ(dll.AddCommand(noTree.handle, "Format", "Bold", "", 'B', 2), LOOMKEYS_CALL_FAILED);
      CHECK_EQ(dll.GetCommand2(noTree.handle, L"Format", L"Bold", &key, &shift, &mode), LOOMKEYS_CALL_FAILED);
      CHECK_EQ(dll.GetCommand(noTree.handle, "Format", "Bold", &key, &shift), LOOMKEYS_CALL_FAILED);
      CHECK(key == 7 && shift == 8 && mode == 9);
      const size_t boxesBefore = boxes.Count();
      dll.DestroyUIData(noTree.handle);
      CHECK_EQ(boxes.Count(), boxesBefore + (noTree.handle ? 1u : 0u));  // null is ignored quietly
    }
    CHECK(std::all_of(std::begin(foreign), std::end(foreign), [](std::byte b) { return b == std::byte{0}; }));
    const std::vector<std::wstring> texts = boxes.Texts();
    CHECK_EQ(texts.size(), 3u);
    for (const std::wstring& text : texts) CHECK(text == L"The handle is no UI data tree, or its tree was destroyed.");
  }

  wine_check::Section("the live tree kept its commands; destroying it twice shows one box");
  CHECK_EQ(dll.GetCommand2(tree, L"Format", L"Bold", &key, &shift, &mode), LOOMKEYS_OK);
  CHECK_EQ(key, 'B');
  {
    box_watcher::MessageBoxAnswerer boxes(L"Exception", IDOK);
    dll.DestroyUIData(tree);
    CHECK_EQ(boxes.Count(), 0u);
    dll.DestroyUIData(tree);
    CHECK_EQ(boxes.Count(), 1u);
  }
  wine_check::Section("a destroyed tree's handle stays refused while newer trees take its place");
  {
    TUIDataHandle stale = dll.CreateUIData();
    CHECK_EQ(dll.AddCommand2(stale, L"Stale", L"Cmd", nullptr, 'S', MOD_CONTROL, 1), LOOMKEYS_OK);
    dll.DestroyUIData(stale);
    // Many trees at once, each with a command of its own; then trees made and
    // destroyed one at a time, where a handle that was an address soon came
    // back as the stale one's.
    std::vector<TUIDataHandle> newer;
    auto addNewer = [&](TUIDataHandle handle) {
      newer.push_back(handle);
      const std::wstring name = std::to_wstring(newer.size());
      CHECK_EQ(dll.AddCommand2(handle, L"Own", name.c_str(), nullptr, 'N', MOD_ALT, 2), LOOMKEYS_OK);
    };
    for (int i = 0; i < 1000; ++i) addNewer(dll.CreateUIData());
    for (int i = 0; i < 2000; ++i) {
      TUIDataHandle made = dll.CreateUIData();
      if (made == stale) {
        addNewer(made);
        break;
      }
      dll.DestroyUIData(made);
    }
    CHECK(std::find(newer.begin(), newer.end(), stale) == newer.end());
    CHECK(std::find(newer.begin(), newer.end(), nullptr) == newer.end());

    box_watcher::MessageBoxAnswerer boxes(L"Exception", IDOK);
    key = 7, shift = 8, mode = 9;
    CHECK_EQ(dll.AddCommand2(stale, L"Format", L"Bold", L"", 'B', 2, 1), LOOMKEYS_CALL_FAILED);
    CHECK_EQ(dll.AddCommand(stale, "Format", "Bold", "", 'B', 2), LOOMKEYS_CALL_FAILED);
    CHECK_EQ(dll.GetCommand2(stale, L"Own", L"1", &key, &shift, &mode), LOOMKEYS_CALL_FAILED);
    CHECK_EQ(dll.GetCommand(stale, "Own", "1", &key, &shift), LOOMKEYS_CALL_FAILED);
    CHECK(key == 7 && shift == 8 && mode == 9);
    dll.DestroyUIData(stale);
    CHECK_EQ(boxes.Count(), 1u);

    size_t unchanged = 0;
    for (size_t i = 0; i < newer.size(); ++i) {
      const std::wstring name = std::to_wstring(i + 1);
      key = 0;
      const bool own =
          dll.GetCommand2(newer[i], L"Own", name.c_str(), &key, &shift, &mode) == LOOMKEYS_OK && key == 'N';
      const bool noOther =
          dll.GetCommand2(newer[i], L"Format", L"Bold", &key, &shift, &mode) == LOOMKEYS_NO_SUCH_COMMAND;
      if (own && noOther) ++unchanged;
      dll.DestroyUIData(newer[i]);
    }
    CHECK_EQ(unchanged, newer.size());
    CHECK_EQ(boxes.Count(), 1u);
  }

  TUIDataHandle after = dll.CreateUIData();  // the library still works
  CHECK_EQ(dll.AddCommand2(after, L"Format", L"Bold", nullptr, 'B', 2, 1), LOOMKEYS_OK);
  dll.DestroyUIData(after);

  wine_check::Section("handles from before an unload are refused after the library is loaded again");
  {
    const TUIDataHandle last = dll.CreateUIData();
    FreeLibrary(dll.module);  // frees every tree
    const auto& again = loomkeys_dll::Load();
    std::vector<TUIDataHandle> newer;
    for (int i = 0; i < 100; ++i) newer.push_back(again.CreateUIData());
    for (TUIDataHandle stale : {tree, other, last}) {
      CHECK(std::find(newer.begin(), newer.end(), stale) == newer.end());
      CHECK_EQ(again.AddCommand2(stale, L"Format", L"Bold", nullptr, 'B', 2, 1), LOOMKEYS_CALL_FAILED);
    }
    for (TUIDataHandle fresh : newer) {
      uint16_t key = 0, shift = 0, mode = 0;
      CHECK_EQ(again.GetCommand2(fresh, L"Format", L"Bold", &key, &shift, &mode), LOOMKEYS_NO_SUCH_COMMAND);
      again.DestroyUIData(fresh);
    }
  }

  FreeLibrary(loomkeys_dll::Exports().module);
  return wine_check::Finish();
}
