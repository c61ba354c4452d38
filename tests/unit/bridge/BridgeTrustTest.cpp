// Which documents the bridge serves: app pages and the origins of BridgeOrigins, nothing else;
// and the module holding to it for messages, replies and events.
#include "bridge/BridgeTrust.h"
#include "bridge/BrowserExternalModule.h"
#include "payload/ProjectSettings.h"

#include "unit/fakes/RecordingBrowser.h"
#include "unit/fakes/RecordingMainWindow.h"

#include <gtest/gtest.h>

namespace Velmora::Tests {
namespace {

using namespace Velmora::Shared;

TEST(BridgeTrust, OriginsOfUris) {
    const struct {
        const char16_t* Uri;
        const char16_t* Origin;
    } cases[] = {
        {u"https://App.Example.com/index.html?x#y", u"https://app.example.com"},
        {u"https://app.example.com:443/", u"https://app.example.com"},
        {u"http://127.0.0.1:80", u"http://127.0.0.1"},
        {u"http://127.0.0.1:8080/page", u"http://127.0.0.1:8080"},
        {u"https://user:pw@app.example.com/", u"https://app.example.com"},
        {u"http://[::1]:9000/x", u"http://[::1]:9000"},
        {u"HTTPS://app.example.com:0443", u"https://app.example.com"},
        {u"about:blank", u""},
        {u"data:text/html,<p>", u""},
        {u"blob:https://app.example.com/1234", u""},
        {u"file:///C:/app/index.html", u""},
        {u"https://", u""},
        {u"https://host:80x/", u""},
        {u"", u""},
    };
    for (const auto& c : cases) EXPECT_EQ(UriOrigin(c.Uri), c.Origin) << ToUtf8(c.Uri);
}

TEST(BridgeTrust, AppPagesAndListedOriginsOnly) {
    const Platform::TAppScheme qmt{u"qmt", u"qmt:///", u"/", u'/'};
    const TBridgeTrust none(u"", qmt);
    EXPECT_TRUE(none.Trusts(u"qmt:///index.html"));
    EXPECT_TRUE(none.Trusts(u"QMT:///index.html"));
    for (const char16_t* foreign : {u"http://127.0.0.1:8080/", u"about:blank", u"about:srcdoc", u"data:text/html,x",
                                    u"blob:qmt:///1", u"file:///etc/hostname", u"qmtx:///index.html", u""})
        EXPECT_FALSE(none.Trusts(foreign)) << ToUtf8(foreign);

    const TBridgeTrust listed(u"  https://app.example.com http://127.0.0.1:8080/any/path\tnot-an-origin ", qmt);
    EXPECT_TRUE(listed.Trusts(u"https://app.example.com/start"));
    EXPECT_TRUE(listed.Trusts(u"https://APP.example.com:443/"));
    EXPECT_TRUE(listed.Trusts(u"http://127.0.0.1:8080/"));
    EXPECT_FALSE(listed.Trusts(u"http://app.example.com/"));   // another scheme
    EXPECT_FALSE(listed.Trusts(u"http://127.0.0.1:8081/"));    // another port
    EXPECT_FALSE(listed.Trusts(u"https://evil.example.com/")); // another host
    EXPECT_FALSE(listed.Trusts(u"https://app.example.com.evil.test/"));

    // On Windows the app's pages are file: documents.
    const Platform::TAppScheme file{u"file", u"file:///", u"", u'\\'};
    EXPECT_TRUE(TBridgeTrust(u"", file).Trusts(u"file:///index.html"));
    EXPECT_FALSE(TBridgeTrust(u"", file).Trusts(u"https://example.com/"));
}

// Messages from other documents run nothing; replies and events go only to a served document.
TEST(BridgeTrust, TheModuleServesOnlyTheAppsDocuments) {
    TRecordingMainWindow window;
    TRecordingBrowser browser;
    TProjectSettings settings;
    settings.Document().LoadFromText(u"[App]\nBridgeOrigins=http://127.0.0.1:8080\n");
    TBrowserExternalModule module({window, browser, nullptr, &settings});
    int closes = 0;
    module.OnAppCloseRequest = [&](TBrowserExternalModule&) { ++closes; };
    const Text appPage = browser.Document;
    const TextView hello = u"{\"id\":10001,\"uuid\":\"u\",\"data\":{}}";
    const TextView close = u"{\"id\":50001,\"uuid\":\"u\",\"data\":{}}";

    for (const char16_t* foreign : {u"https://example.com/", u"about:srcdoc", u"data:text/html,x", u""}) {
        module.EdgeBrowserWebMessageReceived(hello, foreign);
        module.EdgeBrowserWebMessageReceived(close, foreign);
    }
    EXPECT_TRUE(browser.Posted.empty());
    EXPECT_EQ(closes, 0);

    module.EdgeBrowserWebMessageReceived(hello, appPage);
    EXPECT_EQ(browser.Posted.size(), 1u);
    module.EdgeBrowserWebMessageReceived(hello, u"http://127.0.0.1:8080/own-site.html"); // listed
    EXPECT_EQ(browser.Posted.size(), 2u);

    // The app page has gone (the top document navigated away): nothing reaches the new one.
    browser.Document = u"https://example.com/";
    module.ReplySuccess(u"u", u"true");
    module.ExecuteBridgeEvent(u"onCloseQuery");
    EXPECT_EQ(browser.Posted.size(), 2u);
    EXPECT_TRUE(browser.Scripts.empty());
    browser.Document = appPage;
    module.ExecuteBridgeEvent(u"onCloseQuery");
    EXPECT_EQ(browser.Scripts.size(), 1u);
}

} // namespace
} // namespace Velmora::Tests
