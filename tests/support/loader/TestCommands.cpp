#include "TestCommands.h"

#include "CallLog.h"
#include "WebView.h"

#include <nlohmann/json.hpp>

#include <optional>

namespace Velmora::TestBrowser {

namespace {

constexpr UINT PollIntervalMs = 20;

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), n);
    return text;
}

std::wstring TextMember(const nlohmann::json& command, const char* key) {
    const auto it = command.find(key);
    return it != command.end() && it->is_string() ? Wide(it->get<std::string>()) : std::wstring();
}

template <typename T>
T Member(const nlohmann::json& command, const char* key, T fallback) {
    const auto it = command.find(key);
    if (it == command.end() || it->is_null()) return fallback;
    return it->get<T>();
}

// New bytes of the file from offset on; none when it does not exist yet.
std::string ReadFrom(const std::wstring& path, unsigned long long& offset) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string data;
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    if (SetFilePointerEx(file, position, nullptr, FILE_BEGIN)) {
        char chunk[4096];
        DWORD read = 0;
        while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) data.append(chunk, read);
    }
    CloseHandle(file);
    offset += data.size();
    return data;
}

} // namespace

CommandRunner::CommandRunner(std::shared_ptr<UiQueue> queue, ComPtr<WebView> webView, HWND parent)
    : FQueue(std::move(queue)), FWebView(std::move(webView)), FParent(parent) {}

void CommandRunner::Start() {
    const std::wstring folder = TestFolder();
    if (folder.empty()) return;
    FPath = folder + L"\\commands-" + std::to_wstring(GetCurrentProcessId()) + L".jsonl";
    WriteRecord(EventRecord("commandsAwaited").Text("path", FPath));
    // A tick keeps the runner alive while a command runs: the command may close the controller
    // that owns it.
    const std::weak_ptr<CommandRunner> weak = weak_from_this();
    FQueue->StartTicks(PollIntervalMs, [weak] {
        if (const auto self = weak.lock()) self->Poll();
    });
}

void CommandRunner::Stop() {
    if (FStopped) return;
    FStopped = true;
    if (!FPath.empty()) FQueue->StopTicks();
}

void CommandRunner::Poll() {
    // A handler that runs a modal loop lets the timer in again: one command at a time.
    if (FRunning || FStopped) return;
    FRunning = true;
    FPartial += ReadFrom(FPath, FOffset);
    size_t end;
    while (!FStopped && (end = FPartial.find('\n')) != std::string::npos) {
        const std::string line = FPartial.substr(0, end);
        FPartial.erase(0, end + 1);
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        Execute(line, ++FSeq);
    }
    FRunning = false;
}

void CommandRunner::Execute(const std::string& line, long long seq) {
    const nlohmann::json command = nlohmann::json::parse(line, nullptr, false);
    if (command.is_discarded() || !command.is_object() || !command.contains("op") || !command["op"].is_string()) {
        WriteRecord(EventRecord("badCommand").Int("seq", seq).Text("line", Wide(line)));
        return;
    }
    const std::string op = command["op"].get<std::string>();
    const ComPtr<WebView> webView = FWebView; // the command may end this runner's controller
    bool known = true;
    try {
        if (op == "request") {
            webView->RaiseWebResourceRequested(
                TextMember(command, "uri"),
                static_cast<COREWEBVIEW2_WEB_RESOURCE_CONTEXT>(Member<int>(command, "context", 0)));
        } else if (op == "message") {
            const std::string json = command.value("json", std::string());
            const nlohmann::json parsed = nlohmann::json::parse(json, nullptr, false);
            std::optional<std::wstring> asString;
            if (!parsed.is_discarded() && parsed.is_string()) asString = Wide(parsed.get<std::string>());
            // The sender is the document shown unless the command names another one.
            const std::optional<std::wstring> source =
                command.contains("source") ? std::optional<std::wstring>(TextMember(command, "source")) : std::nullopt;
            webView->RaiseWebMessageReceived(Wide(json), asString, source);
        } else if (op == "navigate") {
            // The page itself went elsewhere (a link, a redirect, a script setting location).
            webView->ShowDocument(TextMember(command, "uri"));
        } else if (op == "title") {
            webView->RaiseDocumentTitleChanged(TextMember(command, "title"));
        } else if (op == "newWindow") {
            webView->RaiseNewWindowRequested(TextMember(command, "uri"), Member<bool>(command, "userInitiated", true));
        } else if (op == "permission") {
            webView->RaisePermissionRequested(
                TextMember(command, "uri"), static_cast<COREWEBVIEW2_PERMISSION_KIND>(Member<int>(command, "kind", 2)),
                Member<bool>(command, "userInitiated", true));
        } else if (op == "navigationCompleted") {
            webView->RaiseNavigationCompleted(
                Member<bool>(command, "success", true),
                static_cast<COREWEBVIEW2_WEB_ERROR_STATUS>(Member<int>(command, "status", 0)));
        } else if (op == "processFailed") {
            webView->RaiseProcessFailed(static_cast<COREWEBVIEW2_PROCESS_FAILED_KIND>(Member<int>(command, "kind", 1)));
        } else if (op == "closeWindow") {
            HWND top = GetAncestor(FParent, GA_ROOT);
            PostMessageW(top ? top : FParent, WM_CLOSE, 0, 0);
        } else {
            known = false;
        }
    } catch (const nlohmann::json::exception& error) {
        WriteRecord(EventRecord("badCommand").Int("seq", seq).Text("line", Wide(line)).Ascii("error", error.what()));
        return;
    }
    if (!known) {
        WriteRecord(EventRecord("badCommand").Int("seq", seq).Text("line", Wide(line)));
        return;
    }
    WriteRecord(EventRecord("done").Int("seq", seq).Ascii("op", op));
}

} // namespace Velmora::TestBrowser
