#include "Settings.h"

#include "CallLog.h"

#include <string>

namespace Velmora::TestBrowser {

HRESULT Settings::Get(const char* name, BOOL field, BOOL* value) {
    WriteRecord(CallRecord("settings", std::string("get_") + name));
    if (!value) return E_POINTER;
    *value = field;
    return S_OK;
}

HRESULT Settings::Put(const char* name, BOOL& field, BOOL value) {
    // The raw value: a BOOL other than 0 or 1 would show a host passing something odd.
    WriteRecord(CallRecord("settings", std::string("put_") + name).Int("value", value));
    field = value;
    return S_OK;
}

} // namespace Velmora::TestBrowser
