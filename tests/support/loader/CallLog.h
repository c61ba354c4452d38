// The stand-in browser's call log: every call the host makes and every event the stand-in
// raises, one JSON object per line, appended to calls.jsonl in the folder named by the
// environment variable VELMORA_TEST_BROWSER_DIR (no folder: nothing is recorded). Several
// processes share one log; each line carries its process id.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace Velmora::TestBrowser {

// One JSON object, keys in the order added. UTF-16 text comes back exactly: every unit outside
// printable ASCII is written as \uXXXX (lone surrogates included); bytes are written as Base64.
class JsonObject {
public:
    JsonObject& Text(std::string_view key, const wchar_t* value); // nullptr gives null
    JsonObject& Text(std::string_view key, const std::wstring& value);
    JsonObject& Ascii(std::string_view key, std::string_view value);
    JsonObject& Int(std::string_view key, long long value);
    JsonObject& Number(std::string_view key, double value);
    JsonObject& Bool(std::string_view key, bool value);
    JsonObject& Bytes(std::string_view key, const std::vector<unsigned char>& value);
    JsonObject& Raw(std::string_view key, std::string_view json);
    std::string Str() const { return "{" + FBody + "}"; }

private:
    void Key(std::string_view key);
    std::string FBody;
};

// The folder of the test's log and command files; empty when none was given.
std::wstring TestFolder();

// A record of a call: {"pid": …, "on": object, "call": method, …}.
JsonObject CallRecord(std::string_view object, std::string_view method);
// A record of something the stand-in did: {"pid": …, "event": name, …}.
JsonObject EventRecord(std::string_view name);

// Appends the record as one line with one write, so lines of several processes never mix.
void WriteRecord(const JsonObject& record);

// Records a call of a slot the stand-in does not implement and returns E_NOTIMPL.
HRESULT NotImplemented(std::string_view object, std::string_view method);

} // namespace Velmora::TestBrowser
