// The web view's settings object: every get and put recorded with its value; the values start
// at the browser's defaults (all on).
#pragma once

#include "ComObject.h"
#include "platform/win32/WebView2Com.h"

namespace Velmora::TestBrowser {

class Settings final : public ComObject<ICoreWebView2Settings> {
public:
#define VELMORA_TEST_SETTING(Name)                                                                                     \
    HRESULT STDMETHODCALLTYPE get_##Name(BOOL* value) override { return Get(#Name, F##Name, value); }                  \
    HRESULT STDMETHODCALLTYPE put_##Name(BOOL value) override { return Put(#Name, F##Name, value); }
    VELMORA_TEST_SETTING(IsScriptEnabled)
    VELMORA_TEST_SETTING(IsWebMessageEnabled)
    VELMORA_TEST_SETTING(AreDefaultScriptDialogsEnabled)
    VELMORA_TEST_SETTING(IsStatusBarEnabled)
    VELMORA_TEST_SETTING(AreDevToolsEnabled)
    VELMORA_TEST_SETTING(AreDefaultContextMenusEnabled)
    VELMORA_TEST_SETTING(AreHostObjectsAllowed)
    VELMORA_TEST_SETTING(IsZoomControlEnabled)
    VELMORA_TEST_SETTING(IsBuiltInErrorPageEnabled)
#undef VELMORA_TEST_SETTING

private:
    static HRESULT Get(const char* name, BOOL field, BOOL* value);
    static HRESULT Put(const char* name, BOOL& field, BOOL value);

    BOOL FIsScriptEnabled = TRUE;
    BOOL FIsWebMessageEnabled = TRUE;
    BOOL FAreDefaultScriptDialogsEnabled = TRUE;
    BOOL FIsStatusBarEnabled = TRUE;
    BOOL FAreDevToolsEnabled = TRUE;
    BOOL FAreDefaultContextMenusEnabled = TRUE;
    BOOL FAreHostObjectsAllowed = TRUE;
    BOOL FIsZoomControlEnabled = TRUE;
    BOOL FIsBuiltInErrorPageEnabled = TRUE;
};

} // namespace Velmora::TestBrowser
