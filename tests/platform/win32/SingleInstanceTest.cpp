// The single-instance lock under Wine: the named mutex as this process and another process of
// the same user see it.
#include "platform/SingleInstance.h"

#include "ChildProcess.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

namespace Velmora::Runtime {
namespace {

using Tests::RunTestChild;

std::wstring LockIdOfThisRun() { return L"com.velmora.test.lock." + std::to_wstring(GetCurrentProcessId()); }

// Run in a child only: exits 10 when the lock named by VELMORA_TEST_LOCK_ID already existed,
// 11 when this child created it.
TEST(ChildProbe, Lock) {
    wchar_t id[256] = {};
    if (!GetEnvironmentVariableW(L"VELMORA_TEST_LOCK_ID", id, 256)) GTEST_SKIP() << "runs as a child only";
    bool existed = false;
    const std::wstring name(id);
    const auto lock = Velmora::Platform::CreateSingleInstanceLock(Shared::Text(name.begin(), name.end()), existed);
    std::exit(existed ? 10 : 11);
}

TEST(SingleInstanceLock, HeldUntilDestroyedSeenByThisProcessAndOthers) {
    const std::wstring id = LockIdOfThisRun();
    const Shared::Text name(id.begin(), id.end());
    SetEnvironmentVariableW(L"VELMORA_TEST_LOCK_ID", id.c_str());
    EXPECT_EQ(RunTestChild(L"ChildProbe.Lock"), 11) << "nobody holds it yet";

    bool existed = true;
    auto first = Velmora::Platform::CreateSingleInstanceLock(name, existed);
    EXPECT_FALSE(existed);
    auto second = Velmora::Platform::CreateSingleInstanceLock(name, existed);
    EXPECT_TRUE(existed);
    EXPECT_EQ(RunTestChild(L"ChildProbe.Lock"), 10);

    // The name is exact: another letter case is another lock.
    std::wstring upper = id;
    upper[0] = L'C';
    Velmora::Platform::CreateSingleInstanceLock(Shared::Text(upper.begin(), upper.end()), existed);
    EXPECT_FALSE(existed);

    first.reset();
    EXPECT_EQ(RunTestChild(L"ChildProbe.Lock"), 10) << "the second handle still holds it";
    second.reset();
    EXPECT_EQ(RunTestChild(L"ChildProbe.Lock"), 11) << "released with the last handle";
    SetEnvironmentVariableW(L"VELMORA_TEST_LOCK_ID", nullptr);
}

} // namespace
} // namespace Velmora::Runtime
