// The COM plumbing of the stand-in's objects: reference counting and QueryInterface for one
// interface, and the handler lists behind every add_/remove_ pair.
#pragma once

#include <windows.h>
#include <eventtoken.h>
#include <wrl/client.h>

#include "platform/win32/ComObject.h"

#include <utility>
#include <vector>

namespace Velmora::TestBrowser {

using Microsoft::WRL::ComPtr;

// Reference counting and QueryInterface for an object that exposes the one interface I, as the
// host's own handler objects have them.
template <typename I>
using ComObject = Platform::TComObject<I>;

// Creates an object whose one reference the result holds.
template <typename T, typename... Args>
ComPtr<T> MakeObject(Args&&... args) {
    ComPtr<T> object;
    object.Attach(new T(std::forward<Args>(args)...));
    return object;
}

// The handlers registered for one event, in the order of registration.
template <typename H>
class HandlerList {
public:
    EventRegistrationToken Add(H* handler, INT64 token) {
        FHandlers.emplace_back(token, handler);
        return EventRegistrationToken{token};
    }
    bool Remove(EventRegistrationToken token) {
        for (auto it = FHandlers.begin(); it != FHandlers.end(); ++it)
            if (it->first == token.value) {
                FHandlers.erase(it);
                return true;
            }
        return false;
    }
    // A copy: a handler may add or remove handlers while the event runs.
    std::vector<ComPtr<H>> Snapshot() const {
        std::vector<ComPtr<H>> handlers;
        for (const auto& entry : FHandlers) handlers.push_back(entry.second);
        return handlers;
    }
    void Clear() { FHandlers.clear(); }

private:
    std::vector<std::pair<INT64, ComPtr<H>>> FHandlers;
};

// Returns a copy of text for an out LPWSTR*, allocated for the caller's CoTaskMemFree.
HRESULT CopyOut(const std::wstring& text, LPWSTR* out);

} // namespace Velmora::TestBrowser
