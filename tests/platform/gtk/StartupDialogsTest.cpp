// The windows of start-up on a real display: the localized message box, the password prompt
// and the installation window, driven with keyboard and close-box events as a user would.
#include "GtkTestDisplay.h"

#include "platform/gtk/GtkHandles.h"
#include "platform/Resources.h"
#include "platform/StartupDialogs.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace Velmora::Platform;
using namespace Velmora::Testing;
using namespace Velmora;

namespace {

GObjectPtr<GdkPixbuf> DecodeResource(const char* name) {
    const auto data = Velmora::Platform::FindResourceData(name);
    GObjectPtr<GdkPixbufLoader> loader(gdk_pixbuf_loader_new());
    gdk_pixbuf_loader_write(loader.get(), data.data(), data.size(), nullptr);
    gdk_pixbuf_loader_close(loader.get(), nullptr);
    return GObjectPtr<GdkPixbuf>(GDK_PIXBUF(g_object_ref(gdk_pixbuf_loader_get_pixbuf(loader.get()))));
}

bool SamePixels(GdkPixbuf* a, GdkPixbuf* b) {
    if (!a || !b || gdk_pixbuf_get_width(a) != gdk_pixbuf_get_width(b) ||
        gdk_pixbuf_get_height(a) != gdk_pixbuf_get_height(b) ||
        gdk_pixbuf_get_rowstride(a) != gdk_pixbuf_get_rowstride(b))
        return false;
    return std::memcmp(gdk_pixbuf_read_pixels(a), gdk_pixbuf_read_pixels(b), gdk_pixbuf_get_byte_length(a)) == 0;
}

std::vector<std::string> ButtonLabels(GtkWidget* dialog) {
    std::vector<std::string> labels;
    for (GtkWidget* button : FindDescendants(dialog, GTK_TYPE_BUTTON))
        labels.emplace_back(gtk_button_get_label(GTK_BUTTON(button)));
    return labels;
}

enum class UserAction { Escape, Enter, ClickFirst, ClickLast, CloseBox };

void Perform(GtkWidget* dialog, UserAction action) {
    const auto buttons = FindDescendants(dialog, GTK_TYPE_BUTTON);
    switch (action) {
        case UserAction::Escape: PressKey(dialog, GDK_KEY_Escape); break;
        case UserAction::Enter: PressKey(dialog, GDK_KEY_Return); break;
        case UserAction::ClickFirst: gtk_button_clicked(GTK_BUTTON(buttons.front())); break;
        case UserAction::ClickLast: gtk_button_clicked(GTK_BUTTON(buttons.back())); break;
        case UserAction::CloseBox: SendDelete(dialog); break;
    }
}

} // namespace

struct MessageCase {
    const char* label;
    TMsgDlgType type;
    unsigned buttons;
    std::vector<Text> captions;
    UserAction action;
    int expected;
    std::vector<std::string> shownCaptions;
    const char* icon;
};

class MessageBox : public ::testing::TestWithParam<MessageCase> {};

TEST_P(MessageBox, ShowsTitleTextIconAndCaptionsAndAnswers) {
    const auto& c = GetParam();
    std::string title, text;
    std::vector<std::string> captions;
    bool rightIcon = false;
    GtkWidget* focused = nullptr;
    GtkWidget* yesButton = nullptr;
    ModalDriver driver("Box title",
                       {[&](GtkWidget* dialog) {
                            title = gtk_window_get_title(GTK_WINDOW(dialog));
                            for (GtkWidget* label : FindDescendants(dialog, GTK_TYPE_LABEL))
                                if (!gtk_widget_get_ancestor(label, GTK_TYPE_BUTTON))
                                    text = gtk_label_get_text(GTK_LABEL(label));
                            captions = ButtonLabels(dialog);
                            const auto images = FindDescendants(dialog, GTK_TYPE_IMAGE);
                            const auto expected = DecodeResource(c.icon);
                            rightIcon = images.size() == 1 &&
                                        SamePixels(gtk_image_get_pixbuf(GTK_IMAGE(images[0])), expected.get());
                            focused = gtk_window_get_focus(GTK_WINDOW(dialog));
                            yesButton = gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog), GTK_RESPONSE_YES);
                        },
                        [&](GtkWidget* dialog) { Perform(dialog, c.action); }});
    const int result = LocalizedMessageDlg(u"Message \u00FCber alles", c.type, c.buttons, c.captions, u"Box title");
    EXPECT_TRUE(driver.SawWindow());
    EXPECT_FALSE(driver.ForcedClose()) << "the action did not close the box";
    EXPECT_EQ(result, c.expected);
    EXPECT_EQ(title, "Box title");
    EXPECT_EQ(text, "Message \xC3\xBC"
                    "ber alles");
    EXPECT_EQ(captions, c.shownCaptions);
    EXPECT_TRUE(rightIcon) << "expected the " << c.icon << " image";
    EXPECT_EQ(focused, yesButton) << "Yes is the focused default button";
    EXPECT_EQ(FindToplevel("Box title"), nullptr) << "the box stays on screen";
}

const std::vector<Text> AcceptCancel = {u"Akzeptieren", u"Stornieren"};

INSTANTIATE_TEST_SUITE_P(Gtk, MessageBox,
                         ::testing::Values(MessageCase{"ConfirmEscape",
                                                       TMsgDlgType::mtConfirmation,
                                                       mbYes | mbCancel,
                                                       AcceptCancel,
                                                       UserAction::Escape,
                                                       mrCancel,
                                                       {"Akzeptieren", "Stornieren"},
                                                       "MSG_INFO"},
                                           MessageCase{"ConfirmAccept",
                                                       TMsgDlgType::mtConfirmation,
                                                       mbYes | mbCancel,
                                                       AcceptCancel,
                                                       UserAction::ClickFirst,
                                                       mrYes,
                                                       {"Akzeptieren", "Stornieren"},
                                                       "MSG_INFO"},
                                           MessageCase{"ConfirmCancelButton",
                                                       TMsgDlgType::mtConfirmation,
                                                       mbYes | mbCancel,
                                                       AcceptCancel,
                                                       UserAction::ClickLast,
                                                       mrCancel,
                                                       {"Akzeptieren", "Stornieren"},
                                                       "MSG_INFO"},
                                           MessageCase{"ConfirmEnterIsYes",
                                                       TMsgDlgType::mtConfirmation,
                                                       mbYes | mbCancel,
                                                       AcceptCancel,
                                                       UserAction::Enter,
                                                       mrYes,
                                                       {"Akzeptieren", "Stornieren"},
                                                       "MSG_INFO"},
                                           MessageCase{"ConfirmCloseBox",
                                                       TMsgDlgType::mtConfirmation,
                                                       mbYes | mbCancel,
                                                       AcceptCancel,
                                                       UserAction::CloseBox,
                                                       mrCancel,
                                                       {"Akzeptieren", "Stornieren"},
                                                       "MSG_INFO"},
                                           MessageCase{"ErrorAccept",
                                                       TMsgDlgType::mtError,
                                                       mbYes,
                                                       {u"J'accepte_1"},
                                                       UserAction::ClickFirst,
                                                       mrYes,
                                                       {"J'accepte_1"},
                                                       "MSG_ERROR"},
                                           MessageCase{"ErrorEscape",
                                                       TMsgDlgType::mtError,
                                                       mbYes,
                                                       {u"Accept"},
                                                       UserAction::Escape,
                                                       mrCancel,
                                                       {"Accept"},
                                                       "MSG_ERROR"},
                                           MessageCase{"ErrorCloseBox",
                                                       TMsgDlgType::mtError,
                                                       mbYes,
                                                       {u"Accept"},
                                                       UserAction::CloseBox,
                                                       mrCancel,
                                                       {"Accept"},
                                                       "MSG_ERROR"},
                                           MessageCase{"FewerCaptionsKeepStandard",
                                                       TMsgDlgType::mtWarning,
                                                       mbYes | mbCancel,
                                                       {u"OK"},
                                                       UserAction::Escape,
                                                       mrCancel,
                                                       {"OK", "_Cancel"},
                                                       "MSG_WARNING"}),
                         [](const auto& info) { return std::string(info.param.label); });

// Steps typed into the prompt; the driver runs them 50 ms apart while the prompt is open.
struct PromptCase {
    const char* label;
    const char16_t* password;
    std::vector<std::function<void(GtkWidget*)>> steps;
    int expected;
    bool allStepsRun; // false: the prompt closed before the last step
};

std::function<void(GtkWidget*)> Type(std::string text) {
    return [text](GtkWidget* w) { TypeText(w, text); };
}
std::function<void(GtkWidget*)> Key(guint keyval) {
    return [keyval](GtkWidget* w) { PressKey(w, keyval); };
}
std::function<void(GtkWidget*)> CloseBox() {
    return [](GtkWidget* w) { SendDelete(w); };
}

class PasswordPrompt : public ::testing::TestWithParam<PromptCase> {};

TEST_P(PasswordPrompt, AdmitsOnlyTheExactTextAtAKeyRelease) {
    const auto& c = GetParam();
    ModalDriver driver("My App", c.steps);
    EXPECT_EQ(ShowRequirePasswordForm(u"My App", c.password), c.expected);
    EXPECT_FALSE(driver.ForcedClose());
    EXPECT_EQ(driver.StepsRun() == c.steps.size(), c.allStepsRun) << driver.StepsRun() << " steps ran";
    EXPECT_EQ(FindToplevel("My App"), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Gtk, PasswordPrompt,
    ::testing::Values(PromptCase{"Exact", u"s3cret", {Type("s3cret")}, mrOk, true},
                      PromptCase{
                          "OtherCaseNeverMatches", u"s3cret", {Type("S3CRET"), Type("x"), CloseBox()}, mrCancel, true},
                      PromptCase{"SurplusMustBeDeleted",
                                 u"s3cret",
                                 {Type("xs3cret"), Key(GDK_KEY_Home), Key(GDK_KEY_Delete), CloseBox()},
                                 mrOk,
                                 false},
                      PromptCase{"EnterAndEscapeDoNothing",
                                 u"pass word",
                                 {Type("pass"), Key(GDK_KEY_Return), Key(GDK_KEY_Escape), Key(GDK_KEY_KP_Enter),
                                  Type(" word"), CloseBox()},
                                 mrOk,
                                 false},
                      PromptCase{"CloseBoxRefuses", u"s3cret", {Type("s3c"), CloseBox()}, mrCancel, true}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(PasswordPromptLook, MaskedEntryWithKeyIconInAFixedDialog) {
    bool resizable = true, visible = true, icon = false;
    gunichar invisible = 0;
    GdkWindowTypeHint hint = GDK_WINDOW_TYPE_HINT_NORMAL;
    int width = 0, height = 0, entryX = -1, entryWidth = 0;
    ModalDriver driver("Look", {[&](GtkWidget* dialog) {
                                    resizable = gtk_window_get_resizable(GTK_WINDOW(dialog));
                                    hint = gtk_window_get_type_hint(GTK_WINDOW(dialog));
                                    width = gtk_widget_get_allocated_width(dialog);
                                    height = gtk_widget_get_allocated_height(dialog);
                                    GtkWidget* entry = FindDescendants(dialog, GTK_TYPE_ENTRY).at(0);
                                    visible = gtk_entry_get_visibility(GTK_ENTRY(entry));
                                    invisible = gtk_entry_get_invisible_char(GTK_ENTRY(entry));
                                    GdkPixbuf* key =
                                        gtk_entry_get_icon_pixbuf(GTK_ENTRY(entry), GTK_ENTRY_ICON_PRIMARY);
                                    icon = key && gdk_pixbuf_get_width(key) == 16;
                                    gtk_widget_translate_coordinates(entry, dialog, 0, 0, &entryX, nullptr);
                                    entryWidth = gtk_widget_get_allocated_width(entry);
                                },
                                CloseBox()});
    EXPECT_EQ(ShowRequirePasswordForm(u"Look", u"x"), mrCancel);
    EXPECT_FALSE(resizable);
    EXPECT_EQ(hint, GDK_WINDOW_TYPE_HINT_DIALOG);
    EXPECT_FALSE(visible);
    EXPECT_EQ(invisible, gunichar('*'));
    EXPECT_TRUE(icon) << "the key image at 16 pixels";
    EXPECT_EQ(width, 308);
    EXPECT_GE(height, 71);
    EXPECT_EQ(entryX, 24);
    EXPECT_EQ(entryWidth, 257);
}

namespace {

GObjectPtr<GdkPixbuf> Capture(GtkWidget* window) {
    GdkWindow* w = gtk_widget_get_window(window);
    return GObjectPtr<GdkPixbuf>(
        gdk_pixbuf_get_from_window(w, 0, 0, gdk_window_get_width(w), gdk_window_get_height(w)));
}

const guchar* Pixel(GdkPixbuf* p, int x, int y) {
    return gdk_pixbuf_read_pixels(p) + y * gdk_pixbuf_get_rowstride(p) + x * gdk_pixbuf_get_n_channels(p);
}

std::uint32_t Rgb(GdkPixbuf* p, int x, int y) {
    const guchar* px = Pixel(p, x, y);
    return (std::uint32_t(px[0]) << 16) | (std::uint32_t(px[1]) << 8) | px[2];
}

// How many pixels of the 32 x 32 middle have exactly this colour.
int CountInMiddle(GdkPixbuf* p, std::uint32_t rgb) {
    int count = 0;
    for (int y = 24; y < 56; ++y)
        for (int x = 24; x < 56; ++x) count += Rgb(p, x, y) == rgb;
    return count;
}

std::uint32_t ThemeColor(const char* name) {
    GtkWidget* probe = gtk_window_new(GTK_WINDOW_POPUP);
    GdkRGBA c{};
    gtk_style_context_lookup_color(gtk_widget_get_style_context(probe), name, &c);
    gtk_widget_destroy(probe);
    auto byte = [](double v) { return std::uint32_t(v * 255.0 + 0.5); };
    return (byte(c.red) << 16) | (byte(c.green) << 8) | byte(c.blue);
}

} // namespace

struct InstallerCase {
    const char* label;
    std::int32_t color, indicatorColor, indicatorType;
    std::uint32_t (*expectedBackground)();
    std::uint32_t indicatorRgb;
};

class InstallerWindow : public ::testing::TestWithParam<InstallerCase> {};

TEST_P(InstallerWindow, CentredColouredAnimatedAndRefusingToClose) {
    const auto& c = GetParam();
    const auto formOwner = Platform::CreateEdgeInstallerForm();
    Platform::TEdgeInstallerForm& form = *formOwner;
    form.SetColor(c.color);
    form.SetIndicatorColor(c.indicatorColor);
    form.SetIndicatorType(c.indicatorType);
    form.Show();
    auto* window = static_cast<GtkWidget*>(form.Handle());
    ASSERT_TRUE(WaitUntil([&] { return gtk_widget_get_mapped(window); }));
    Pump(200);
    GdkWindow* gdkWindow = gtk_widget_get_window(window);
    EXPECT_EQ(gdk_window_get_width(gdkWindow), 80);
    EXPECT_EQ(gdk_window_get_height(gdkWindow), 80);
    int x = 0, y = 0;
    gdk_window_get_origin(gdkWindow, &x, &y);
    GdkRectangle screen{};
    gdk_monitor_get_geometry(gdk_display_get_monitor_at_window(gdk_display_get_default(), gdkWindow), &screen);
    EXPECT_NEAR(x, screen.x + (screen.width - 80) / 2, 1);
    EXPECT_NEAR(y, screen.y + (screen.height - 80) / 2, 1);

    const auto first = Capture(window);
    ASSERT_TRUE(first);
    EXPECT_EQ(Rgb(first.get(), 4, 40), c.expectedBackground());
    EXPECT_GT(CountInMiddle(first.get(), c.indicatorRgb), 5) << "no indicator in its colour";
    Pump(250);
    const auto later = Capture(window);
    EXPECT_FALSE(SamePixels(first.get(), later.get())) << "the indicator does not move";

    SendDelete(window);
    Pump(100);
    EXPECT_TRUE(gtk_widget_get_mapped(window)) << "the window closed";
}

INSTANTIATE_TEST_SUITE_P(
    Gtk, InstallerWindow,
    ::testing::Values(InstallerCase{"DefaultsSystemColour26", std::int32_t(0xFF00001A), 1, 0,
                                    [] { return ThemeColor("theme_selected_bg_color"); }, 0xFFFFFF},
                      InstallerCase{"BgrRedBlackSectorRing", 0x000000FF, 0, 2, [] { return 0xFF0000u; }, 0x000000},
                      InstallerCase{"BgrBlueWhiteSector", 0x00FF0000, 1, 1, [] { return 0x0000FFu; }, 0xFFFFFF},
                      InstallerCase{"OutOfRangeValues", std::int32_t(0xFF0000FF), 7, 9,
                                    [] { return ThemeColor("theme_bg_color"); }, 0x000000}),
    [](const auto& info) { return std::string(info.param.label); });
