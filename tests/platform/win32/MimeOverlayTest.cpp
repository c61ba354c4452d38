// Win32: the registry overlay, read from keys this test writes below HKEY_CLASSES_ROOT (under
// Wine that is the prefix's machine classes) and deletes again.
#include "platform/MimeOverlay.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace Velmora::Shared {
namespace {

const std::wstring DatabaseKey = L"MIME\\Database\\Content Type\\";

class RegistryMimeOverlay : public ::testing::Test {
protected:
    void SetUp() override {
        SetString(L".VelmoraMimeA", L"Content Type", L"Application/X-Velmora-A");
        SetString(L".velmoramimeb", L"Content Type", L"");
        SetString(L".velmoramimec", L"Content Type", L"text/x-velmora-first");
        SetString(L"velmoramimee", L"Content Type", L"text/x-not-an-extension-key");
        SetString(DatabaseKey + L"Text/X-Velmora-Second", L"Extension", L".velmoramimec");
        SetString(DatabaseKey + L"application/x-velmora-d", L"Extension", L"VelmoraMimeD");
    }
    void TearDown() override {
        for (const auto& key : FCreated) RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
    }

    void SetString(const std::wstring& subKey, const wchar_t* name, const std::wstring& value) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, subKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        FCreated.push_back(subKey);
        const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
        const LSTATUS status =
            RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
        RegCloseKey(key);
        ASSERT_EQ(status, ERROR_SUCCESS);
    }

    std::vector<std::wstring> FCreated;
};

TEST_F(RegistryMimeOverlay, ExtensionKeysThenTheDatabaseLowerCased) {
    const TMimeTable table({}, Platform::ReadSystemMimeTypes());
    EXPECT_EQ(table.Lookup(u".velmoramimea"), u"application/x-velmora-a");
    EXPECT_EQ(table.Lookup(u".velmoramimeb"), TMimeTable::DefaultType);    // empty value: no entry
    EXPECT_EQ(table.Lookup(u".velmoramimec"), u"text/x-velmora-second");   // the database pass wins
    EXPECT_EQ(table.Lookup(u".velmoramimed"), u"application/x-velmora-d"); // "." put in front
    EXPECT_EQ(table.Lookup(u".velmoramimee"), TMimeTable::DefaultType);    // key without a dot
}

} // namespace
} // namespace Velmora::Shared
