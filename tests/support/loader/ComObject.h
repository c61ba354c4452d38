// The COM plumbing of the stand-in's objects: reference counting and QueryInterface for one
// interface, and the handler lists behind every add_/remove_ pair.
#pragma once

#include <windows.h>
#include <eventtoken.h>
#include <wrl/client.h>

#include <atomic>
#include <utility>
#include <vector>

namespace Velmora::TestBrowser {

using Microsoft::WRL::ComPtr;

// Implements IUnknown for an object that exposes the one interface I; deleted with its last
// reference.
template <typename I>
class ComObject : public I {
public:
    ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(I)) {
            *object = static_cast<I*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++FReferences; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --FReferences;
        if (left == 0) delete this;
        return left;
    }

protected:
    virtual ~ComObject() = default;

private:
    std::atomic<ULONG> FReferences{1};
};

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
