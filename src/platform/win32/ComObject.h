// IUnknown for a COM object that exposes one interface: QueryInterface answers IUnknown and that
// interface, the reference count is thread-safe, and the object is deleted with its last
// reference. Used by the browser host's handler objects and by the test browser's objects.
#pragma once

#include <objbase.h>

#include <atomic>

namespace Velmora::Platform {

template <typename Interface>
class TComObject : public Interface {
public:
    TComObject() = default;
    TComObject(const TComObject&) = delete;
    TComObject& operator=(const TComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        if (riid == __uuidof(IUnknown) || riid == __uuidof(Interface)) {
            *object = static_cast<Interface*>(this);
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
    virtual ~TComObject() = default;

private:
    std::atomic<ULONG> FReferences{1}; // the creator's reference
};

} // namespace Velmora::Platform
