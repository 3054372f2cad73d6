#include "win32/automation_macro_runner.h"

#include <cstdio>
#include <string>

#include "platform/ansi_text.h"
#include "win32/client_memory.h"
#include "win32/seh_guard.h"
#include "win32/win32_client_code.h"

namespace loomkeys {
namespace {

std::u16string FromWide(const wchar_t* text) {
  return text ? std::u16string(reinterpret_cast<const char16_t*>(text)) : std::u16string();
}

// The error description that the call returned, else the system's words
// for the result code.
std::u16string FailureText(HRESULT result, EXCEPINFO& info) {
  if (result == DISP_E_EXCEPTION && info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
  std::u16string text = FromWide(info.bstrDescription);
  SysFreeString(info.bstrDescription);
  SysFreeString(info.bstrSource);
  SysFreeString(info.bstrHelpFile);
  if (!text.empty()) return text;
  wchar_t* system = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 static_cast<DWORD>(result), 0, reinterpret_cast<wchar_t*>(&system), 0, nullptr);
  text = FromWide(system);
  LocalFree(system);
  char code[48];
  std::snprintf(code, sizeof code, "Run failed (0x%08lX)", static_cast<unsigned long>(result));
  return text.empty() ? AnsiToUtf16(code) : text;
}

}  // namespace

AutomationMacroRunner::AutomationMacroRunner(const VARIANT* application) {
  VariantInit(&application_);
  if (!application) return;
  // The client's VARIANT, and what it refers to by reference, may be
  // unreadable, and the copy calls the object's AddRef, which is client
  // code: it runs under the client-code guard.
  auto copy = [&] { VariantCopyInd(&application_, const_cast<VARIANT*>(application)); };
  if (!RunClientCodeGuarded(copy, nullptr)) throw ClientMemoryFault();
}

AutomationMacroRunner::~AutomationMacroRunner() { VariantClear(&application_); }

std::optional<std::u16string> AutomationMacroRunner::RunCreateMacro(std::string_view macroName, UIDataHandle tree) {
  return Run(macroName, tree, nullptr);
}

std::optional<std::u16string> AutomationMacroRunner::RunDestroyMacro(std::string_view macroName, UIDataHandle tree,
                                                                     bool cancelled) {
  return Run(macroName, tree, &cancelled);
}

std::optional<std::u16string> AutomationMacroRunner::Run(std::string_view macroName, UIDataHandle tree,
                                                         const bool* cancelled) {
  if (V_VT(&application_) != VT_DISPATCH || !V_DISPATCH(&application_)) {
    return u"The Application object is not an Automation object.";
  }
  IDispatch* application = V_DISPATCH(&application_);
  OLECHAR* methodName = const_cast<OLECHAR*>(L"Run");
  DISPID run = 0;
  EXCEPINFO info = {};
  HRESULT result = application->GetIDsOfNames(IID_NULL, &methodName, 1, LOCALE_USER_DEFAULT, &run);
  if (FAILED(result)) return FailureText(result, info);

  // Copies of the caller's values, passed by reference as the host's Run
  // expects; what the macro writes into them is ignored.
  const std::u16string wideName = AnsiToUtf16(macroName);
  BSTR name = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(wideName.data()), static_cast<UINT>(wideName.size()));
  LONGLONG handle = static_cast<LONGLONG>(tree);
  VARIANT_BOOL flag = cancelled && *cancelled ? VARIANT_TRUE : VARIANT_FALSE;

  // Positional arguments go in reverse order: the last one first.
  VARIANT arguments[3];
  const UINT count = cancelled ? 3 : 2;
  for (VARIANT& argument : arguments) VariantInit(&argument);
  V_VT(&arguments[count - 1]) = VT_BSTR | VT_BYREF;
  V_BSTRREF(&arguments[count - 1]) = &name;
  V_VT(&arguments[count - 2]) = VT_I8 | VT_BYREF;
  V_I8REF(&arguments[count - 2]) = &handle;
  if (cancelled) {
    V_VT(&arguments[0]) = VT_BOOL | VT_BYREF;
    V_BOOLREF(&arguments[0]) = &flag;
  }
  DISPPARAMS parameters = {arguments, nullptr, count, 0};
  // The macro, and whatever it returns, is client code: a structured
  // exception in it must stop at a guard below this frame, which holds the name.
  const std::optional<std::u16string> fault = RunClientCode([&] {
    VARIANT returned;
    VariantInit(&returned);
    UINT badArgument = 0;
    result = application->Invoke(run, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, &returned, &info,
                                 &badArgument);
    VariantClear(&returned);
  });
  SysFreeString(name);  // the macro may have replaced it: free what is there now
  if (fault) return fault;
  if (FAILED(result)) return FailureText(result, info);
  return std::nullopt;
}

}  // namespace loomkeys
