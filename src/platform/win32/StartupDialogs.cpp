// Win32: the localized message box as a window of our own (so title, icon, text and button
// captions are exactly ours): the PNG icon of the type, a static text in the system's message
// font, push buttons in standard order, and a modal loop with dialog keyboard handling.
#include "platform/StartupDialogs.h"

#include "platform/win32/ModalLoop.h"
#include "platform/win32/PngIcon.h"
#include "platform/win32/ThemeColors.h"
#include "platform/win32/UiMetrics.h"
#include "platform/win32/WinHandles.h"
#include "platform/win32/WinText.h"
#include "platform/win32/WindowClass.h"
#include "platform/Resources.h"

#include <algorithm>

namespace Velmora::Platform {

namespace {

constexpr DWORD DialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD DialogExStyle = WS_EX_DLGMODALFRAME;

struct TButtonSpec {
    int Id;
    Text Caption;
};

const char* IconResourceOf(TMsgDlgType type) {
    switch (type) {
        case TMsgDlgType::mtError: return "MSG_ERROR";
        case TMsgDlgType::mtWarning: return "MSG_WARNING";
        case TMsgDlgType::mtInformation:
        case TMsgDlgType::mtConfirmation: break;
    }
    return "MSG_INFO";
}

// The buttons of the set in standard order, re-captioned from Captions while they last.
std::vector<TButtonSpec> ButtonsOf(unsigned buttons, const std::vector<Text>& captions) {
    std::vector<TButtonSpec> specs;
    if (buttons & mbYes) specs.push_back({IDYES, u"&Yes"});
    if (buttons & mbCancel) specs.push_back({IDCANCEL, u"Cancel"});
    for (size_t k = 0; k < specs.size() && k < captions.size(); ++k) specs[k].Caption = captions[k];
    return specs;
}

class TMessageDialog {
public:
    TMessageDialog(TextView msg, TMsgDlgType type, unsigned buttons, const std::vector<Text>& captions, TextView title)
        : FText(msg), FTitle(title), FButtons(ButtonsOf(buttons, captions)), FFont(CreateMessageFont()) {
        FIconSize = Scaled(32);
        FIcon = IconFromPng(FindResourceData(IconResourceOf(type)), FIconSize);
    }

    int ShowModal() {
        const wchar_t* cls = EnsureWindowClass({L"Velmora.MessageDialog", ForwardingWindowProc<TMessageDialog>});
        FWindow.reset(CreateWindowExW(DialogExStyle, cls, Wide(FTitle), DialogStyle, 0, 0, 0, 0, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), this));
        if (!FWindow) return mrCancel;
        LayOut();
        ApplyThemeToFrame(FWindow.get());
        ShowWindow(FWindow.get(), SW_SHOWNORMAL);
        SetForegroundWindow(FWindow.get());
        if (!FButtonWindows.empty()) SetFocus(FFocus = FButtonWindows.front());
        RunModalLoop(FWindow.get(), [this] { return FResult != 0; });
        FWindow.reset();
        return FResult == mrYes ? mrYes : mrCancel;
    }

    LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_COMMAND:
                // Enter without a default button comes as IDOK; Esc always as IDCANCEL, also when
                // the box has no Cancel button.
                if (LOWORD(wParam) == IDYES || LOWORD(wParam) == IDOK) FResult = mrYes;
                else if (LOWORD(wParam) == IDCANCEL) FResult = mrCancel;
                return 0;
            case DM_GETDEFID: {
                // As in dialogs: a focused button answers Enter, else Yes.
                const HWND focus = GetFocus();
                for (const HWND button : FButtonWindows)
                    if (button == focus) return MAKELRESULT(GetDlgCtrlID(button), DC_HASDEFID);
                const bool hasYes = !FButtons.empty() && FButtons.front().Id == IDYES;
                return hasYes ? MAKELRESULT(IDYES, DC_HASDEFID) : 0;
            }
            case WM_CLOSE: FResult = mrCancel; return 0;
            case WM_ACTIVATE:
                // As in dialogs: the focused button is remembered while another window is active.
                if (LOWORD(wParam) == WA_INACTIVE) {
                    const HWND focus = GetFocus();
                    if (focus && IsChild(hwnd, focus)) FFocus = focus;
                } else if (FFocus) {
                    SetFocus(FFocus);
                }
                return 0;
            case WM_ERASEBKGND: {
                RECT client;
                GetClientRect(hwnd, &client);
                FillRect(reinterpret_cast<HDC>(wParam), &client, FBackground.Get(ThemeColor(TThemeRole::Window)));
                return 1;
            }
            case WM_PAINT: {
                PAINTSTRUCT ps;
                PaintIcon(BeginPaint(hwnd, &ps));
                EndPaint(hwnd, &ps);
                return 0;
            }
            case WM_PRINTCLIENT: PaintIcon(reinterpret_cast<HDC>(wParam)); return 0;
            case WM_CTLCOLORSTATIC:
            case WM_CTLCOLORBTN:
                return ThemedControlColors(wParam, TThemeRole::WindowText, TThemeRole::Window, FBackground);
            default: return DefWindowProcW(hwnd, message, wParam, lParam);
        }
    }

private:
    void PaintIcon(HDC dc) {
        if (FIcon) DrawIconEx(dc, FIconPos.x, FIconPos.y, FIcon.get(), FIconSize, FIconSize, 0, nullptr, DI_NORMAL);
    }

    // Icon at the left, the wrapped text beside it, the buttons centred below; the window is
    // sized around them and centred on the screen.
    void LayOut() {
        const int margin = Scaled(12), gap = Scaled(12), buttonGap = Scaled(6);
        const int buttonHeight = Scaled(25), minButtonWidth = Scaled(75), maxTextWidth = Scaled(420);
        const HWND hwnd = FWindow.get();

        RECT textRect = {0, 0, maxTextWidth, 0};
        std::vector<int> buttonWidths;
        {
            const WindowDc dc(hwnd);
            const SelectedObject font(dc.get(), FFont.get());
            DrawTextW(dc.get(), Wide(FText), static_cast<int>(FText.size()), &textRect,
                      DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
            for (const TButtonSpec& b : FButtons) {
                RECT r = {0, 0, 0, 0};
                DrawTextW(dc.get(), Wide(b.Caption), static_cast<int>(b.Caption.size()), &r,
                          DT_CALCRECT | DT_SINGLELINE);
                buttonWidths.push_back(std::max(minButtonWidth, static_cast<int>(r.right) + Scaled(20)));
            }
        }
        const int textWidth = textRect.right - textRect.left, textHeight = textRect.bottom - textRect.top;
        int buttonsWidth = 0;
        for (int w : buttonWidths) buttonsWidth += w;
        if (!buttonWidths.empty()) buttonsWidth += buttonGap * static_cast<int>(buttonWidths.size() - 1);

        const int contentWidth = FIconSize + gap + textWidth;
        const int clientWidth = std::max(contentWidth, buttonsWidth) + 2 * margin;
        const int bodyHeight = std::max(FIconSize, textHeight);
        const int buttonsTop = margin + bodyHeight + Scaled(16);
        const int clientHeight = buttonsTop + buttonHeight + margin;

        FIconPos = {margin, margin};
        const int textTop = margin + (textHeight < FIconSize ? (FIconSize - textHeight) / 2 : 0);
        const HWND label = CreateWindowExW(0, L"STATIC", Wide(FText), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                                           margin + FIconSize + gap, textTop, textWidth, textHeight, hwnd, nullptr,
                                           GetModuleHandleW(nullptr), nullptr);
        SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.get()), FALSE);

        int x = (clientWidth - buttonsWidth) / 2;
        for (size_t i = 0; i < FButtons.size(); ++i) {
            DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == 0 ? BS_DEFPUSHBUTTON | WS_GROUP : BS_PUSHBUTTON);
            const HWND button = CreateWindowExW(
                0, L"BUTTON", Wide(FButtons[i].Caption), style, x, buttonsTop, buttonWidths[i], buttonHeight, hwnd,
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(FButtons[i].Id)), GetModuleHandleW(nullptr), nullptr);
            SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.get()), FALSE);
            FButtonWindows.push_back(button);
            x += buttonWidths[i] + buttonGap;
        }

        const SIZE outer = OuterSizeForClient(clientWidth, clientHeight, DialogStyle, DialogExStyle);
        const POINT at = CenterOnScreen(outer.cx, outer.cy);
        SetWindowPos(hwnd, nullptr, at.x, at.y, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    }

    Text FText, FTitle;
    std::vector<TButtonSpec> FButtons;
    UniqueFont FFont;
    UniqueIcon FIcon;
    int FIconSize = 32;
    POINT FIconPos = {0, 0};
    TBrushCache FBackground;
    std::vector<HWND> FButtonWindows; // children: destroyed with the window
    HWND FFocus = nullptr;            // the control that gets the focus back on activation
    int FResult = 0;
    UniqueWindow FWindow; // last: destroyed first, while the members above are still alive
};

} // namespace

int LocalizedMessageDlg(TextView Msg, TMsgDlgType DlgType, unsigned Buttons, const std::vector<Text>& Captions,
                        TextView Title) {
    TMessageDialog dialog(Msg, DlgType, Buttons, Captions, Title);
    return dialog.ShowModal();
}

} // namespace Velmora::Platform
