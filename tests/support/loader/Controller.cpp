#include "Controller.h"

#include "EventArgs.h"

namespace Velmora::TestBrowser {

namespace {

constexpr char Object[] = "controller";

JsonObject& WithRect(JsonObject& record, const RECT& r) {
    return record.Int("left", r.left).Int("top", r.top).Int("right", r.right).Int("bottom", r.bottom);
}

} // namespace

Controller::Controller(std::shared_ptr<UiQueue> queue, HWND parent)
    : FQueue(std::move(queue)), FParent(parent), FView(std::make_unique<ViewWindow>(parent)),
      FWebView(MakeObject<WebView>(FQueue)) {
    ViewWindow* view = FView.get();
    FWebView->OnDisplayChanged = [view](const std::wstring& text) { view->SetText(text); };
    FCommands = std::make_shared<CommandRunner>(FQueue, FWebView, parent);
    FCommands->Start();
}

Controller::~Controller() {
    if (FCommands) FCommands->Stop();
    if (FWebView) FWebView->Close();
}

bool Controller::RefusedAfterClose(JsonObject& record) {
    if (!FClosed) return false;
    WriteRecord(record.Bool("afterClose", true));
    return true;
}

HRESULT Controller::get_IsVisible(BOOL* isVisible) {
    WriteRecord(CallRecord(Object, "get_IsVisible"));
    if (!isVisible) return E_POINTER;
    *isVisible = FVisible;
    return S_OK;
}

HRESULT Controller::put_IsVisible(BOOL isVisible) {
    JsonObject record = CallRecord(Object, "put_IsVisible");
    record.Int("isVisible", isVisible);
    if (RefusedAfterClose(record)) return HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
    WriteRecord(record);
    FVisible = isVisible;
    ShowWindow(FView->Handle(), isVisible ? SW_SHOWNA : SW_HIDE);
    return S_OK;
}

HRESULT Controller::get_Bounds(RECT* bounds) {
    WriteRecord(CallRecord(Object, "get_Bounds"));
    if (!bounds) return E_POINTER;
    *bounds = FBounds;
    return S_OK;
}

HRESULT Controller::put_Bounds(RECT bounds) {
    JsonObject record = CallRecord(Object, "put_Bounds");
    WithRect(record, bounds);
    if (RefusedAfterClose(record)) return HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
    WriteRecord(record);
    FBounds = bounds;
    ApplyBounds();
    return S_OK;
}

HRESULT Controller::get_ZoomFactor(double* zoomFactor) {
    WriteRecord(CallRecord(Object, "get_ZoomFactor"));
    if (!zoomFactor) return E_POINTER;
    *zoomFactor = FZoom;
    return S_OK;
}

HRESULT Controller::put_ZoomFactor(double zoomFactor) {
    JsonObject record = CallRecord(Object, "put_ZoomFactor");
    record.Number("zoomFactor", zoomFactor);
    if (RefusedAfterClose(record)) return HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
    WriteRecord(record);
    if (!(zoomFactor > 0)) return E_INVALIDARG;
    ApplyZoom(zoomFactor);
    return S_OK;
}

HRESULT Controller::SetBoundsAndZoomFactor(RECT bounds, double zoomFactor) {
    JsonObject record = CallRecord(Object, "SetBoundsAndZoomFactor");
    WithRect(record, bounds).Number("zoomFactor", zoomFactor);
    if (RefusedAfterClose(record)) return HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
    WriteRecord(record);
    if (!(zoomFactor > 0)) return E_INVALIDARG;
    FBounds = bounds;
    ApplyBounds();
    ApplyZoom(zoomFactor);
    return S_OK;
}

HRESULT Controller::MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON reason) {
    JsonObject record = CallRecord(Object, "MoveFocus");
    record.Int("reason", reason);
    if (RefusedAfterClose(record)) return HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
    WriteRecord(record);
    SetFocus(FView->Handle());
    return S_OK;
}

HRESULT Controller::get_ParentWindow(HWND* parentWindow) {
    WriteRecord(CallRecord(Object, "get_ParentWindow"));
    if (!parentWindow) return E_POINTER;
    *parentWindow = FParent;
    return S_OK;
}

HRESULT Controller::put_ParentWindow(HWND parentWindow) {
    JsonObject record = CallRecord(Object, "put_ParentWindow");
    record.Bool("isWindow", IsWindow(parentWindow) != FALSE);
    if (RefusedAfterClose(record)) return HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
    WriteRecord(record);
    FParent = parentWindow;
    SetParent(FView->Handle(), parentWindow);
    return S_OK;
}

HRESULT Controller::NotifyParentWindowPositionChanged() {
    WriteRecord(CallRecord(Object, "NotifyParentWindowPositionChanged"));
    return S_OK;
}

HRESULT Controller::Close() {
    JsonObject record = CallRecord(Object, "Close");
    if (RefusedAfterClose(record)) return HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
    WriteRecord(record);
    FClosed = true;
    FCommands->Stop();
    FWebView->Close();
    FZoomFactorChanged.Clear();
    FMoveFocusRequested.Clear();
    FGotFocus.Clear();
    FLostFocus.Clear();
    FAcceleratorKeyPressed.Clear();
    FView.reset();
    return S_OK;
}

HRESULT Controller::get_CoreWebView2(ICoreWebView2** coreWebView2) {
    JsonObject record = CallRecord(Object, "get_CoreWebView2");
    if (RefusedAfterClose(record)) return HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
    WriteRecord(record);
    if (!coreWebView2) return E_POINTER;
    *coreWebView2 = ComPtr<ICoreWebView2>(FWebView.Get()).Detach();
    return S_OK;
}

void Controller::ApplyBounds() {
    SetWindowPos(FView->Handle(), nullptr, FBounds.left, FBounds.top, FBounds.right - FBounds.left,
                 FBounds.bottom - FBounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Controller::ApplyZoom(double zoomFactor) {
    if (zoomFactor == FZoom) return;
    FZoom = zoomFactor;
    // Raised later from the message loop, as the browser does.
    const ComPtr<Controller> self(this);
    FQueue->Post([self] {
        if (self->FClosed) return;
        JsonObject record = EventRecord("ZoomFactorChanged");
        record.Number("zoomFactor", self->FZoom);
        int count = 0;
        for (const auto& handler : self->FZoomFactorChanged.Snapshot()) {
            ++count;
            handler->Invoke(self.Get(), MakeObject<EmptyArgs>().Get());
        }
        WriteRecord(record.Int("handlers", count));
    });
}

} // namespace Velmora::TestBrowser
