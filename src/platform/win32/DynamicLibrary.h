// Win32: a library loaded at run time (LoadLibraryW) with typed lookups of its exports
// (GetProcAddress); the library is freed with the object.
#pragma once

#include "platform/win32/WinHandles.h"

namespace Velmora::Platform {

class TDynamicLibrary {
public:
    TDynamicLibrary() = default;
    explicit TDynamicLibrary(const wchar_t* path) : FModule(LoadLibraryW(path)) {}

    bool Loaded() const { return FModule != nullptr; }

    // The export of that name as a function pointer; null when the library or the export is missing.
    template <typename Function>
    Function Export(const char* name) const {
        if (!FModule) return nullptr;
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(FModule.get(), name)));
    }

private:
    UniqueModule FModule;
};

} // namespace Velmora::Platform
