// COM glue for the browser host: handler objects whose Invoke runs a std::function (the browser
// calls them back for completions and events), and an owner for the strings COM hands out
// (CoTaskMemAlloc'd, freed with CoTaskMemFree).
#pragma once

#include "platform/win32/ComObject.h"
#include "platform/win32/WinText.h"
#include "shared/Text.h"

#include <objbase.h>
#include <wrl/client.h>

#include <cwchar>
#include <exception>
#include <functional>
#include <utility>

namespace Velmora::Platform {

using Microsoft::WRL::ComPtr;

// An LPWSTR received from COM, freed when the holder goes.
class TCoTaskString {
public:
    TCoTaskString() = default;
    ~TCoTaskString() { CoTaskMemFree(FText); }
    TCoTaskString(const TCoTaskString&) = delete;
    TCoTaskString& operator=(const TCoTaskString&) = delete;

    // The out-parameter to pass; frees what was held before.
    LPWSTR* Put() {
        CoTaskMemFree(FText);
        FText = nullptr;
        return &FText;
    }
    const wchar_t* Get() const { return FText; }
    // The string as Text; a NULL string gives empty text.
    Shared::Text ToText() const { return FText ? FromWide(FText, wcslen(FText)) : Shared::Text(); }

private:
    LPWSTR FText = nullptr;
};

// Called when a handler's function throws: an exception must not unwind into the browser's own
// code, so it ends at the COM boundary and is reported here (src/platform/win32/EdgeBrowser.cpp).
void ReportCallbackError(const std::exception& error);

namespace Detail {

// The handler object, specialised on the signature of the interface's Invoke.
template <typename Interface, typename Method>
class TComHandlerOf;

template <typename Interface, typename Declaring, typename... Args>
class TComHandlerOf<Interface, HRESULT (STDMETHODCALLTYPE Declaring::*)(Args...)> final : public TComObject<Interface> {
public:
    using Function = std::function<HRESULT(Args...)>;

    explicit TComHandlerOf(Function function) : FFunction(std::move(function)) {}

    HRESULT STDMETHODCALLTYPE Invoke(Args... args) override {
        try {
            return FFunction ? FFunction(args...) : S_OK;
        } catch (const std::exception& error) {
            ReportCallbackError(error);
            return E_FAIL;
        } catch (...) {
            return E_UNEXPECTED;
        }
    }

private:
    Function FFunction;
};

} // namespace Detail

// A handler interface (IUnknown plus one Invoke) implemented by a function. Reference counted
// like any COM object: the browser keeps it for as long as it may call it.
template <typename Interface>
using TComHandler = Detail::TComHandlerOf<Interface, decltype(&Interface::Invoke)>;

// A new handler object, its one reference owned by the returned pointer.
template <typename Interface>
ComPtr<Interface> MakeComHandler(typename TComHandler<Interface>::Function function) {
    ComPtr<Interface> handler;
    handler.Attach(new TComHandler<Interface>(std::move(function)));
    return handler;
}

} // namespace Velmora::Platform
