#include "CallLog.h"

#include <cstdio>

namespace Velmora::TestBrowser {

namespace {

void AppendEscaped(std::string& out, std::wstring_view text) {
    out.push_back('"');
    for (const wchar_t c : text) {
        if (c == L'"') out += "\\\"";
        else if (c == L'\\') out += "\\\\";
        else if (c >= 0x20 && c < 0x7F) out.push_back(static_cast<char>(c));
        else {
            char unit[8];
            std::snprintf(unit, sizeof unit, "\\u%04x", static_cast<unsigned>(c));
            out += unit;
        }
    }
    out.push_back('"');
}

std::string Base64(const std::vector<unsigned char>& bytes) {
    static constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t left = bytes.size() - i;
        const unsigned v = bytes[i] << 16 | (left > 1 ? bytes[i + 1] << 8 : 0) | (left > 2 ? bytes[i + 2] : 0);
        out.push_back(alphabet[v >> 18 & 63]);
        out.push_back(alphabet[v >> 12 & 63]);
        out.push_back(left > 1 ? alphabet[v >> 6 & 63] : '=');
        out.push_back(left > 2 ? alphabet[v & 63] : '=');
    }
    return out;
}

std::wstring Environment(const wchar_t* name) {
    const DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
    if (n == 0) return {};
    std::wstring value(n, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), n));
    return value;
}

JsonObject WithPid() {
    JsonObject record;
    record.Int("pid", GetCurrentProcessId());
    return record;
}

} // namespace

void JsonObject::Key(std::string_view key) {
    if (!FBody.empty()) FBody += ", ";
    FBody.push_back('"');
    FBody += key;
    FBody += "\": ";
}

JsonObject& JsonObject::Text(std::string_view key, const wchar_t* value) {
    if (!value) return Raw(key, "null");
    Key(key);
    AppendEscaped(FBody, value);
    return *this;
}

JsonObject& JsonObject::Text(std::string_view key, const std::wstring& value) {
    Key(key);
    AppendEscaped(FBody, value);
    return *this;
}

JsonObject& JsonObject::Ascii(std::string_view key, std::string_view value) {
    return Text(key, std::wstring(value.begin(), value.end()));
}

JsonObject& JsonObject::Int(std::string_view key, long long value) { return Raw(key, std::to_string(value)); }

JsonObject& JsonObject::Number(std::string_view key, double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return Raw(key, text);
}

JsonObject& JsonObject::Bool(std::string_view key, bool value) { return Raw(key, value ? "true" : "false"); }

JsonObject& JsonObject::Bytes(std::string_view key, const std::vector<unsigned char>& value) {
    Key(key);
    FBody.push_back('"');
    FBody += Base64(value);
    FBody.push_back('"');
    return *this;
}

JsonObject& JsonObject::Raw(std::string_view key, std::string_view json) {
    Key(key);
    FBody += json;
    return *this;
}

std::wstring TestFolder() { return Environment(L"VELMORA_TEST_BROWSER_DIR"); }

JsonObject CallRecord(std::string_view object, std::string_view method) {
    JsonObject record = WithPid();
    record.Ascii("on", object).Ascii("call", method);
    return record;
}

JsonObject EventRecord(std::string_view name) {
    JsonObject record = WithPid();
    record.Ascii("event", name);
    return record;
}

void WriteRecord(const JsonObject& record) {
    const std::wstring folder = TestFolder();
    if (folder.empty()) return;
    const std::wstring path = folder + L"\\calls.jsonl";
    // Opened per line: the log stays complete whenever the process ends.
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string line = record.Str() + "\n";
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

HRESULT NotImplemented(std::string_view object, std::string_view method) {
    WriteRecord(CallRecord(object, method).Bool("notImplemented", true));
    return E_NOTIMPL;
}

} // namespace Velmora::TestBrowser
