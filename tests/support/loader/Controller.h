// The stand-in's controller: the view window in the host's window, its bounds, visibility, zoom
// and focus, the web view, and the test's command file, read once the view exists. Close lets
// every handler go, as the browser does; later calls fail.
#pragma once

#include "CallLog.h"
#include "ComObject.h"
#include "TestCommands.h"
#include "UiQueue.h"
#include "ViewWindow.h"
#include "WebView.h"
#include "platform/win32/WebView2Com.h"

#include <memory>

namespace Velmora::TestBrowser {

class Controller final : public ComObject<ICoreWebView2Controller> {
public:
    Controller(std::shared_ptr<UiQueue> queue, HWND parent);
    ~Controller() override;

    HRESULT STDMETHODCALLTYPE get_IsVisible(BOOL* isVisible) override;
    HRESULT STDMETHODCALLTYPE put_IsVisible(BOOL isVisible) override;
    HRESULT STDMETHODCALLTYPE get_Bounds(RECT* bounds) override;
    HRESULT STDMETHODCALLTYPE put_Bounds(RECT bounds) override;
    HRESULT STDMETHODCALLTYPE get_ZoomFactor(double* zoomFactor) override;
    HRESULT STDMETHODCALLTYPE put_ZoomFactor(double zoomFactor) override;
    HRESULT STDMETHODCALLTYPE SetBoundsAndZoomFactor(RECT bounds, double zoomFactor) override;
    HRESULT STDMETHODCALLTYPE MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON reason) override;
    HRESULT STDMETHODCALLTYPE get_ParentWindow(HWND* parentWindow) override;
    HRESULT STDMETHODCALLTYPE put_ParentWindow(HWND parentWindow) override;
    HRESULT STDMETHODCALLTYPE NotifyParentWindowPositionChanged() override;
    HRESULT STDMETHODCALLTYPE Close() override;
    HRESULT STDMETHODCALLTYPE get_CoreWebView2(ICoreWebView2** coreWebView2) override;

#define VELMORA_TEST_EVENT(Name, Handler)                                                                              \
    HRESULT STDMETHODCALLTYPE add_##Name(Handler* handler, EventRegistrationToken* token) override {                   \
        return AddHandler("add_" #Name, F##Name, handler, token);                                                      \
    }                                                                                                                  \
    HRESULT STDMETHODCALLTYPE remove_##Name(EventRegistrationToken token) override {                                   \
        WriteRecord(                                                                                                   \
            CallRecord("controller", "remove_" #Name).Int("token", token.value).Bool("found", F##Name.Remove(token))); \
        return S_OK;                                                                                                   \
    }
    VELMORA_TEST_EVENT(ZoomFactorChanged, ICoreWebView2ZoomFactorChangedEventHandler)
    VELMORA_TEST_EVENT(MoveFocusRequested, ICoreWebView2MoveFocusRequestedEventHandler)
    VELMORA_TEST_EVENT(GotFocus, ICoreWebView2FocusChangedEventHandler)
    VELMORA_TEST_EVENT(LostFocus, ICoreWebView2FocusChangedEventHandler)
    VELMORA_TEST_EVENT(AcceleratorKeyPressed, ICoreWebView2AcceleratorKeyPressedEventHandler)
#undef VELMORA_TEST_EVENT

private:
    template <typename H>
    HRESULT AddHandler(const char* method, HandlerList<H>& list, H* handler, EventRegistrationToken* token) {
        JsonObject record = CallRecord("controller", method);
        if (RefusedAfterClose(record)) return HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
        if (!handler || !token) {
            WriteRecord(record.Bool("nullArgument", true));
            return E_POINTER;
        }
        *token = list.Add(handler, FNextToken++);
        WriteRecord(record.Int("token", token->value));
        return S_OK;
    }
    bool RefusedAfterClose(JsonObject& record);
    void ApplyBounds();
    void ApplyZoom(double zoomFactor);

    std::shared_ptr<UiQueue> FQueue;
    HWND FParent;
    std::unique_ptr<ViewWindow> FView;
    ComPtr<WebView> FWebView;
    std::shared_ptr<CommandRunner> FCommands;
    bool FClosed = false;
    BOOL FVisible = TRUE;
    RECT FBounds{};
    double FZoom = 1.0;
    INT64 FNextToken = 1;
    HandlerList<ICoreWebView2ZoomFactorChangedEventHandler> FZoomFactorChanged;
    HandlerList<ICoreWebView2MoveFocusRequestedEventHandler> FMoveFocusRequested;
    HandlerList<ICoreWebView2FocusChangedEventHandler> FGotFocus;
    HandlerList<ICoreWebView2FocusChangedEventHandler> FLostFocus;
    HandlerList<ICoreWebView2AcceleratorKeyPressedEventHandler> FAcceleratorKeyPressed;
};

} // namespace Velmora::TestBrowser
