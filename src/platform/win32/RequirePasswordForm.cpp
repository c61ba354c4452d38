// Win32: the password prompt. A dialog-framed window of our own with one masked edit box; the
// edit box is subclassed (SetWindowSubclass) to compare its text at every key release and to
// draw the "key" image in its left margin (EM_SETMARGINS).
#include "platform/StartupDialogs.h"

#include "platform/win32/ModalLoop.h"
#include "platform/win32/PngIcon.h"
#include "platform/win32/ThemeColors.h"
#include "platform/win32/UiMetrics.h"
#include "platform/win32/Win11Forms.h"
#include "platform/win32/WinHandles.h"
#include "platform/win32/WinText.h"
#include "platform/win32/WindowClass.h"
#include "platform/Resources.h"

#include <commctrl.h>

namespace Velmora::Platform {

namespace {

constexpr DWORD FormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD FormExStyle = WS_EX_DLGMODALFRAME;
constexpr UINT_PTR EditSubclassId = 1;

class TRequirePasswordForm {
public:
    TRequirePasswordForm(TextView caption, TextView password)
        : FCaption(caption), FPassword(password), FFont(CreateDesignFont(L"Tahoma", -11)) {
        FKeySize = Scaled(16);
        // The larger picture where the screen is scaled up enough to need it.
        FKey = IconFromPng(FindResourceData(FKeySize > 20 ? "KEY32" : "KEY16"), FKeySize);
    }

    int ShowModal() {
        const wchar_t* cls =
            EnsureWindowClass({L"Velmora.RequirePasswordForm", ForwardingWindowProc<TRequirePasswordForm>});
        const SIZE outer = OuterSizeForClient(Scaled(308), Scaled(71), FormStyle, FormExStyle);
        const POINT at = CenterOnScreen(outer.cx, outer.cy);
        TWin11FormParams params;
        params.ExStyle = FormExStyle;
        params.ClassName = cls;
        params.Caption = Wide(FCaption);
        params.Style = FormStyle;
        params.Left = at.x;
        params.Top = at.y;
        params.Width = outer.cx;
        params.Height = outer.cy;
        params.Param = this;
        FWindow.reset(CreateWin11Form(params));
        if (!FWindow) return mrCancel;
        ApplyThemeToFrame(FWindow.get());
        CreateEdit();
        ShowWindow(FWindow.get(), SW_SHOWNORMAL);
        SetForegroundWindow(FWindow.get());
        SetFocus(FEdit);
        RunModalLoop(FWindow.get(), [this] { return FResult != 0; });
        if (FEdit) RemoveWindowSubclass(FEdit, EditSubclass, EditSubclassId);
        FWindow.reset();
        return FResult == mrOk ? mrOk : mrCancel;
    }

    LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_CLOSE: // close box, Alt+F4, system menu
                FResult = mrCancel;
                return 0;
            case WM_ACTIVATE:
                // Typing goes to the edit box whenever the prompt is active again.
                if (LOWORD(wParam) != WA_INACTIVE && FEdit) SetFocus(FEdit);
                return 0;
            case WM_COMMAND: // Enter (IDOK) and Esc (IDCANCEL) have nothing to answer
            case DM_GETDEFID: return 0;
            case WM_ERASEBKGND: {
                RECT client;
                GetClientRect(hwnd, &client);
                FillRect(reinterpret_cast<HDC>(wParam), &client, FBackground.Get(ThemeColor(TThemeRole::Window)));
                return 1;
            }
            case WM_CTLCOLOREDIT:
                return ThemedControlColors(wParam, TThemeRole::ControlText, TThemeRole::Control, FEditBackground);
            default: return DefWindowProcW(hwnd, message, wParam, lParam);
        }
    }

private:
    void CreateEdit() {
        FEdit =
            CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_PASSWORD | ES_AUTOHSCROLL, Scaled(24), Scaled(24),
                            Scaled(257), Scaled(21), FWindow.get(), nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!FEdit) return;
        SendMessageW(FEdit, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.get()), FALSE);
        SendMessageW(FEdit, EM_SETPASSWORDCHAR, L'*', 0);
        // Room for the key at the left of the text.
        SendMessageW(FEdit, EM_SETMARGINS, EC_LEFTMARGIN, MAKELPARAM(FKeySize + Scaled(6), 0));
        SetWindowSubclass(FEdit, EditSubclass, EditSubclassId, reinterpret_cast<DWORD_PTR>(this));
    }

    // The whole text against the password, exactly: letter case counts, nothing trimmed.
    void PasswordEditKeyUp() {
        const int length = GetWindowTextLengthW(FEdit);
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        const int got = GetWindowTextW(FEdit, text.data(), length + 1);
        if (FromWide(text.data(), static_cast<size_t>(got)) == FPassword) FResult = mrOk;
    }

    void DrawKey(HWND edit) {
        if (!FKey) return;
        RECT client;
        GetClientRect(edit, &client);
        const WindowDc dc(edit);
        DrawIconEx(dc.get(), Scaled(2), (client.bottom - FKeySize) / 2, FKey.get(), FKeySize, FKeySize, 0, nullptr,
                   DI_NORMAL);
    }

    static LRESULT CALLBACK EditSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR data) {
        auto* self = reinterpret_cast<TRequirePasswordForm*>(data);
        const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
        if (message == WM_KEYUP) self->PasswordEditKeyUp();
        else if (message == WM_PAINT) self->DrawKey(hwnd);
        return result;
    }

    Text FCaption, FPassword;
    UniqueFont FFont;
    UniqueIcon FKey;
    int FKeySize = 16;
    TBrushCache FBackground, FEditBackground;
    HWND FEdit = nullptr; // child: destroyed with the window
    int FResult = 0;
    UniqueWindow FWindow; // last: destroyed first, while the members above are still alive
};

} // namespace

int ShowRequirePasswordForm(TextView Caption, TextView Password) {
    TRequirePasswordForm form(Caption, Password);
    return form.ShowModal();
}

} // namespace Velmora::Platform
