#pragma once
// A small Automation object standing for PowerPoint's Application: its one
// method "Run" records the arguments it receives and runs the named macro,
// a C++ function of the test. An unknown macro fails the way a host's Run
// does, with an error description.
#include <windows.h>
#include <oleauto.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace automation {

struct RunCall {
  std::vector<VARTYPE> types;  // as passed, first argument first
  std::wstring macro;
  LONGLONG handle = 0;
  VARIANT_BOOL cancelled = 1;  // 1: not passed
};

// A macro gets the tree handle and, for OnDestroyUI, the cancelled flag.
using Macro = std::function<void(LONGLONG handle, VARIANT_BOOL cancelled)>;

class Application : public IDispatch {
 public:
  std::map<std::wstring, Macro> macros;
  std::vector<RunCall> calls;

  // IUnknown: the test owns the object on its stack.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
      *object = this;
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (count != 1 || lstrcmpiW(names[0], L"Run") != 0) return DISP_E_UNKNOWNNAME;
    ids[0] = kRun;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters, VARIANT*,
                                   EXCEPINFO* exception, UINT*) override {
    if (id != kRun || !(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
    RunCall call;
    const UINT count = parameters->cArgs;
    for (UINT i = 0; i < count; ++i) call.types.push_back(V_VT(&parameters->rgvarg[count - 1 - i]));
    const VARIANT* name = count > 0 ? &parameters->rgvarg[count - 1] : nullptr;
    const VARIANT* handle = count > 1 ? &parameters->rgvarg[count - 2] : nullptr;
    const VARIANT* cancelled = count > 2 ? &parameters->rgvarg[count - 3] : nullptr;
    if (name && V_VT(name) == (VT_BSTR | VT_BYREF)) call.macro = *V_BSTRREF(name);
    if (handle && V_VT(handle) == (VT_I8 | VT_BYREF)) call.handle = *V_I8REF(handle);
    if (cancelled && V_VT(cancelled) == (VT_BOOL | VT_BYREF)) call.cancelled = *V_BOOLREF(cancelled);
    calls.push_back(call);
    auto macro = macros.find(call.macro);
    if (macro == macros.end()) {
      *exception = {};
      exception->bstrDescription = SysAllocString((L"Cannot run the macro '" + call.macro + L"'.").c_str());
      return DISP_E_EXCEPTION;
    }
    macro->second(call.handle, call.cancelled);
    return S_OK;
  }

  ULONG references = 1;

 private:
  static constexpr DISPID kRun = 1;
};

// A VARIANT holding the object, as a host passes its Application.
inline VARIANT AsVariant(Application& application) {
  VARIANT variant;
  VariantInit(&variant);
  V_VT(&variant) = VT_DISPATCH;
  V_DISPATCH(&variant) = &application;
  return variant;
}

}  // namespace automation
