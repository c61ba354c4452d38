// The bridge's own share of a round trip (parse, dispatch, reply text) and answering a resource
// request from the payload.
#include "bridge/BrowserExternalModule.h"
#include "browser/ResourceServing.h"
#include "payload/PayloadReader.h"
#include "platform/AppScheme.h"
#include "platform/BrowserControl.h"

#include "PayloadWriter.h"
#include "unit/fakes/RecordingMainWindow.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace {

using namespace Velmora::Shared;
namespace fs = std::filesystem;

// Keeps the last reply, as a browser would take it.
class TKeepingBrowser final : public Velmora::Platform::TBrowserControl {
public:
    Text Last;
    void Navigate(TextView) override {}
    void ExecuteScript(TextView script) override { Last.assign(script); }
    void PostWebMessageAsJson(TextView json) override { Last.assign(json); }
    void AddScriptToExecuteOnDocumentCreated(TextView) override {}
    void SetSetting(Velmora::Platform::TBrowserSetting, bool) override {}
    void AddWebResourceRequestedFilter(TextView) override {}
    void Focus() override {}
    Text Source() const override { return u"qmt:///index.html"; }
    double ZoomFactor() const override { return 1.0; }
    void SetZoomFactor(double) override {}
};

void BM_HelloThroughDispatcher(benchmark::State& state) {
    TPayloadReader reader;
    TKeepingBrowser browser;
    Velmora::Tests::TRecordingMainWindow window;
    TBrowserExternalModule module({window, browser, &reader});
    const Text message = u"{\"id\":10001,\"uuid\":\"3b241101-e2bb-4255-8caf-4136c566a962\",\"data\":{}}";
    for (auto _ : state) {
        module.EdgeBrowserWebMessageReceived(message, browser.Source());
        benchmark::DoNotOptimize(browser.Last.data());
    }
    if (browser.Last.find(u"\"2023.3\"") == Text::npos) state.SkipWithError("no reply");
}
BENCHMARK(BM_HelloThroughDispatcher);

// A message with a page's typical arguments (a 1 KB text), parsed in full and dropped at the
// dispatcher: the parse cost of a larger call.
void BM_ParseCallWithArguments(benchmark::State& state) {
    TKeepingBrowser browser;
    Velmora::Tests::TRecordingMainWindow window;
    TBrowserExternalModule module({window, browser, nullptr});
    const Text message = u"{\"id\":30003,\"uuid\":\"3b241101-e2bb-4255-8caf-4136c566a962\",\"data\":"
                         u"{\"filePath\":\"out/a.txt\",\"contents\":\"" +
                         Text(1024, u'x') + u"\"}}";
    for (auto _ : state) module.EdgeBrowserWebMessageReceived(message, browser.Source());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(message.size() * 2));
}
BENCHMARK(BM_ParseCallWithArguments);

void BM_Serve100KBStoredEncrypted(benchmark::State& state) {
    const fs::path dir = fs::temp_directory_path() / ("velmora-bridge-bench-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    std::string content(100 * 1024, '\0');
    std::mt19937 random(1);
    for (char& c : content) c = static_cast<char>('a' + random() % 26);
    std::ofstream(dir / "page.js", std::ios::binary)
        .write(content.data(), static_cast<std::streamsize>(content.size()));
    TPayloadReader reader;
    reader.SetPassword(ArchivePassword);
    reader.Attach(Velmora::Pack::BuildPayloadArchive({{u"app/page.js", dir / "page.js"}}, nullptr));
    const Text uri = Text(Velmora::Platform::AppScheme().Prefix) + u"page.js?v=1";
    const Text appDirPath = FromPath(dir) + Velmora::Platform::AppScheme().PathDelimiter;

    for (auto _ : state) {
        auto answer = AnswerWebResourceRequest(uri, &reader, u"app", appDirPath, true);
        if (!answer || answer->Content.size() != content.size()) {
            state.SkipWithError("not served");
            break;
        }
        benchmark::DoNotOptimize(answer->Content.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(content.size()));
    std::error_code ignored;
    fs::remove_all(dir, ignored);
}
BENCHMARK(BM_Serve100KBStoredEncrypted);

} // namespace

BENCHMARK_MAIN();
