// The localized message box and the password prompt as real windows under Wine: a helper thread
// finds them by class and title, checks what they show and answers them with key messages, as
// the user's keyboard would reach them through the modal loop.
#include "platform/StartupDialogs.h"

#include "WindowProbe.h"
#include "platform/win32/UiMetrics.h"

#include <gtest/gtest.h>

#include <atomic>

namespace Velmora::Runtime {
namespace {

using namespace Velmora::Platform;

using namespace Velmora::Tests;

constexpr wchar_t MessageClass[] = L"Velmora.MessageDialog";
constexpr wchar_t PromptClass[] = L"Velmora.RequirePasswordForm";

std::vector<TControl> ButtonsOf(HWND dialog) {
    std::vector<TControl> buttons;
    for (const TControl& c : ControlsOf(dialog))
        if (_wcsicmp(c.ClassName.c_str(), L"Button") == 0) buttons.push_back(c);
    return buttons;
}

void PostKey(HWND target, UINT vk) {
    PostMessageW(target, WM_KEYDOWN, vk, 1);
    PostMessageW(target, WM_KEYUP, vk, 0xC0000001);
}

// --- message box -------------------------------------------------------------------------

enum class TAnswer { Escape, Enter, TabThenEnter, CloseBox, AltF4 };

struct TMessageCase {
    const char* Name;
    unsigned Buttons;
    TAnswer Answer;
    int Expected;
};

void PrintTo(const TMessageCase& c, std::ostream* os) { *os << c.Name; }

class MessageBoxAnswers : public ::testing::TestWithParam<TMessageCase> {};

TEST_P(MessageBoxAnswers, ResultOfTheKeyOrCloseBox) {
    const TMessageCase& c = GetParam();
    const std::wstring title =
        L"Velmora box " + std::to_wstring(GetCurrentProcessId()) + L" " + std::wstring(c.Name, c.Name + strlen(c.Name));
    int result = -1;
    DriveModal(
        [&] {
            result = LocalizedMessageDlg(u"Proceed?", TMsgDlgType::mtConfirmation, c.Buttons, {u"Accept", u"Cancel"},
                                         Shared::Text(title.begin(), title.end()));
        },
        [&] {
            const HWND dialog = WaitForWindow(MessageClass, title.c_str());
            if (!dialog) {
                ADD_FAILURE() << "message box not found";
                if (HWND any = FindWindowW(MessageClass, nullptr)) PostMessageW(any, WM_CLOSE, 0, 0);
                return;
            }
            const HWND first = ButtonsOf(dialog).front().Handle;
            switch (c.Answer) {
                case TAnswer::Escape: PostKey(first, VK_ESCAPE); break;
                case TAnswer::Enter: PostKey(first, VK_RETURN); break;
                case TAnswer::TabThenEnter:
                    PostKey(first, VK_TAB);
                    PostKey(first, VK_RETURN); // reaches the newly focused button through the loop
                    break;
                case TAnswer::CloseBox: PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); break;
                case TAnswer::AltF4: PostMessageW(first, WM_SYSKEYDOWN, VK_F4, 0x20000001); break; // Alt held
            }
            if (!WaitUntilDestroyed(dialog)) {
                ADD_FAILURE() << "the box stayed open";
                PostMessageW(dialog, WM_CLOSE, 0, 0);
            }
        });
    EXPECT_EQ(result, c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Win32, MessageBoxAnswers,
    ::testing::Values(TMessageCase{"yescancel_esc", mbYes | mbCancel, TAnswer::Escape, mrCancel},
                      TMessageCase{"yescancel_enter", mbYes | mbCancel, TAnswer::Enter, mrYes},
                      TMessageCase{"yescancel_tab_enter", mbYes | mbCancel, TAnswer::TabThenEnter, mrCancel},
                      TMessageCase{"yescancel_closebox", mbYes | mbCancel, TAnswer::CloseBox, mrCancel},
                      TMessageCase{"yes_esc", mbYes, TAnswer::Escape, mrCancel},
                      TMessageCase{"yes_enter", mbYes, TAnswer::Enter, mrYes},
                      TMessageCase{"yes_altf4", mbYes, TAnswer::AltF4, mrCancel}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(MessageBox, ShowsTitleTextIconAndRecaptionedButtonsInStandardOrder) {
    const wchar_t* title = L"Velmora box layout";
    std::vector<TControl> controls;
    LONG style = 0;
    int iconInk = 0;
    COLORREF background = 0;
    DWORD_PTR defaultId = 0;
    DriveModal(
        [&] {
            // One caption for two buttons: the second keeps its standard caption.
            LocalizedMessageDlg(u"This is not a valid Windows application.", TMsgDlgType::mtError, mbCancel | mbYes,
                                {u"Akzeptieren"}, u"Velmora box layout");
        },
        [&] {
            const HWND dialog = WaitForWindow(MessageClass, title);
            if (!dialog) return ADD_FAILURE() << "message box not found";
            controls = ControlsOf(dialog);
            style = GetWindowLongW(dialog, GWL_STYLE);
            defaultId = SendMessageW(dialog, DM_GETDEFID, 0, 0);
            int w = 0, h = 0;
            const std::vector<COLORREF> pixels = PrintClient(dialog, WM_PRINT, w, h);
            // The error image sits in the top-left corner, on the background colour.
            background = pixels.empty() ? 0 : pixels[static_cast<size_t>(h - 1) * w];
            const int icon = Platform::Scaled(32), margin = Platform::Scaled(12);
            for (int y = margin; y < margin + icon && y < h; ++y)
                for (int x = margin; x < margin + icon && x < w; ++x)
                    if (ColorDistance(pixels[static_cast<size_t>(y) * w + x], background) > 60) ++iconInk;
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        });
    std::vector<std::wstring> buttons;
    std::wstring text;
    for (const TControl& c : controls) {
        if (_wcsicmp(c.ClassName.c_str(), L"Button") == 0) buttons.push_back(c.Text);
        if (_wcsicmp(c.ClassName.c_str(), L"Static") == 0) text = c.Text;
    }
    EXPECT_EQ(buttons, (std::vector<std::wstring>{L"Akzeptieren", L"Cancel"}));
    EXPECT_EQ(text, L"This is not a valid Windows application.");
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_EQ(defaultId, static_cast<DWORD_PTR>(MAKELRESULT(IDYES, DC_HASDEFID)));
    EXPECT_GT(iconInk, 100) << "the error image was not drawn";
}

// --- password prompt -----------------------------------------------------------------------

// What the user does in the edit box: type a text (set, then a key release), press a key, or
// close the prompt.
struct TPromptStep {
    enum { Type, Key, Close } Kind;
    const wchar_t* Text = L"";
    UINT Vk = 0;
    bool OpenAfter = true;
};

struct TPromptCase {
    const char* Name;
    const char16_t* Password;
    std::vector<TPromptStep> Steps;
    int Expected;
};

void PrintTo(const TPromptCase& c, std::ostream* os) { *os << c.Name; }

class PasswordPrompt : public ::testing::TestWithParam<TPromptCase> {};

TEST_P(PasswordPrompt, AdmitsOnlyTheExactTextAtAKeyRelease) {
    const TPromptCase& c = GetParam();
    const std::wstring caption = L"Velmora prompt " + std::wstring(c.Name, c.Name + strlen(c.Name));
    int result = -1;
    DriveModal([&] { result = ShowRequirePasswordForm(Shared::Text(caption.begin(), caption.end()), c.Password); },
               [&] {
                   const HWND prompt = WaitForWindow(PromptClass, caption.c_str());
                   if (!prompt) return ADD_FAILURE() << "prompt not found";
                   const HWND edit = FindWindowExW(prompt, nullptr, L"Edit", nullptr);
                   for (size_t i = 0; i < c.Steps.size() && IsWindow(prompt); ++i) {
                       const TPromptStep& step = c.Steps[i];
                       switch (step.Kind) {
                           case TPromptStep::Type:
                               SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(step.Text));
                               PostKey(edit, 'X');
                               break;
                           case TPromptStep::Key: PostKey(edit, step.Vk); break;
                           case TPromptStep::Close: PostMessageW(prompt, WM_SYSCOMMAND, SC_CLOSE, 0); break;
                       }
                       if (step.OpenAfter) {
                           Sleep(150); // time for the loop to serve the keys
                           EXPECT_TRUE(IsWindow(prompt)) << "closed after step " << i;
                       } else {
                           EXPECT_TRUE(WaitUntilDestroyed(prompt)) << "still open after step " << i;
                       }
                   }
                   if (IsWindow(prompt)) PostMessageW(prompt, WM_CLOSE, 0, 0);
               });
    EXPECT_EQ(result, c.Expected);
}

using S = TPromptStep;
INSTANTIATE_TEST_SUITE_P(
    Win32, PasswordPrompt,
    ::testing::Values(TPromptCase{"exact", u"s3cret", {S{S::Type, L"s3cre"}, S{S::Type, L"s3cret", 0, false}}, mrOk},
                      TPromptCase{"case_and_surplus",
                                  u"Secret",
                                  {S{S::Type, L"secret"}, S{S::Type, L"Secret!"}, S{S::Type, L" Secret"},
                                   S{S::Type, L"Secret", 0, false}},
                                  mrOk},
                      TPromptCase{"enter_and_escape_do_nothing",
                                  u"pw",
                                  {S{S::Type, L"p"}, S{S::Key, L"", VK_RETURN}, S{S::Key, L"", VK_ESCAPE},
                                   S{S::Close, L"", 0, false}},
                                  mrCancel},
                      TPromptCase{"close_box", u"pw", {S{S::Close, L"", 0, false}}, mrCancel}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(PasswordPromptLayout, DialogFrameMaskedEditAndKeyImage) {
    const wchar_t* caption = L"Velmora prompt layout";
    RECT client = {}, window = {};
    LONG style = 0, exStyle = 0;
    std::vector<TControl> controls;
    LRESULT passwordChar = 0;
    int keyInk = 0;
    DriveModal([&] { ShowRequirePasswordForm(u"Velmora prompt layout", u"x"); },
               [&] {
                   const HWND prompt = WaitForWindow(PromptClass, caption);
                   if (!prompt) return ADD_FAILURE() << "prompt not found";
                   GetClientRect(prompt, &client);
                   GetWindowRect(prompt, &window);
                   style = GetWindowLongW(prompt, GWL_STYLE);
                   exStyle = GetWindowLongW(prompt, GWL_EXSTYLE);
                   controls = ControlsOf(prompt);
                   if (!controls.empty()) {
                       const HWND edit = controls.front().Handle;
                       passwordChar = SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0);
                       SetForegroundWindow(prompt);
                       Sleep(300); // painted on the screen
                       int w = 0, h = 0;
                       const std::vector<COLORREF> pixels = CaptureClientFromScreen(edit, w, h);
                       const COLORREF background = pixels.empty() ? 0 : pixels[static_cast<size_t>(w) * h - 1];
                       const int key = Platform::Scaled(16);
                       for (int y = 0; y < h; ++y)
                           for (int x = 0; x < key + Platform::Scaled(2) && x < w; ++x)
                               if (ColorDistance(pixels[static_cast<size_t>(y) * w + x], background) > 60) ++keyInk;
                   }
                   PostMessageW(prompt, WM_CLOSE, 0, 0);
               });
    using Platform::Scaled;
    EXPECT_EQ(client.right, Scaled(308));
    EXPECT_EQ(client.bottom, Scaled(71));
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME);
    // Centred on the screen.
    EXPECT_NEAR((window.left + window.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((window.top + window.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    ASSERT_EQ(controls.size(), 1u);
    const TControl& edit = controls.front();
    EXPECT_EQ(_wcsicmp(edit.ClassName.c_str(), L"Edit"), 0);
    EXPECT_EQ(edit.Bounds.left, Scaled(24));
    EXPECT_EQ(edit.Bounds.top, Scaled(24));
    EXPECT_EQ(edit.Bounds.right - edit.Bounds.left, Scaled(257));
    EXPECT_EQ(edit.Bounds.bottom - edit.Bounds.top, Scaled(21));
    EXPECT_TRUE(edit.Style & ES_PASSWORD);
    EXPECT_EQ(passwordChar, L'*');
    EXPECT_GT(keyInk, 20) << "the key image was not drawn at the left of the edit box";
}

} // namespace
} // namespace Velmora::Runtime
