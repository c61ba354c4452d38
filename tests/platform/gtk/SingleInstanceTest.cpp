// The single-instance lock across real processes: a holder in another process is seen, and its
// end (however it ends) frees the lock; identifiers never share or escape the lock folder.
#include "platform/SingleInstance.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

using Velmora::Platform::TSingleInstanceLock;
namespace fs = std::filesystem;

namespace {

class LockFolder : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "velmora-lock-XXXXXX").string();
        FDir = mkdtemp(pattern.data());
        setenv("XDG_RUNTIME_DIR", FDir.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("XDG_RUNTIME_DIR");
        std::error_code ec;
        fs::remove_all(FDir, ec);
    }

    static bool HeldElsewhere(std::u16string_view id) {
        bool existed = false;
        auto lock = Velmora::Platform::CreateSingleInstanceLock(id, existed);
        EXPECT_NE(lock, nullptr);
        return existed;
    }

    fs::path FDir;
};

// Another process that takes the lock and holds it until told to end.
class Holder {
public:
    explicit Holder(std::u16string_view id) {
        int ready[2], quit[2];
        EXPECT_EQ(pipe(ready), 0);
        EXPECT_EQ(pipe(quit), 0);
        FPid = fork();
        if (FPid == 0) {
            close(ready[0]);
            close(quit[1]);
            bool existed = true;
            auto lock = Velmora::Platform::CreateSingleInstanceLock(id, existed);
            const char state = existed ? 'E' : 'L';
            if (write(ready[1], &state, 1) != 1) _exit(2);
            char c;
            while (read(quit[0], &c, 1) < 0) {}
            _exit(0);
        }
        close(ready[1]);
        close(quit[0]);
        FQuit = quit[1];
        char state = 0;
        EXPECT_EQ(read(ready[0], &state, 1), 1);
        close(ready[0]);
        FGotLock = state == 'L';
    }
    ~Holder() { End(false); }

    bool GotLock() const { return FGotLock; }
    void End(bool kill) {
        if (FPid <= 0) return;
        if (kill) ::kill(FPid, SIGKILL);
        close(FQuit);
        waitpid(FPid, nullptr, 0);
        FPid = 0;
    }

private:
    pid_t FPid = 0;
    int FQuit = -1;
    bool FGotLock = false;
};

} // namespace

class LockAcrossProcesses : public LockFolder, public ::testing::WithParamInterface<bool> {};

TEST_P(LockAcrossProcesses, HeldWhileTheHolderLivesAndFreeAfterItEnds) {
    const bool killed = GetParam();
    Holder holder(u"com.example.app");
    ASSERT_TRUE(holder.GotLock());
    EXPECT_TRUE(HeldElsewhere(u"com.example.app"));
    EXPECT_FALSE(HeldElsewhere(u"com.example.other"));
    EXPECT_FALSE(HeldElsewhere(u"COM.EXAMPLE.APP")) << "identifiers are compared exactly";
    holder.End(killed);
    EXPECT_FALSE(HeldElsewhere(u"com.example.app"));
}

INSTANTIATE_TEST_SUITE_P(Linux, LockAcrossProcesses, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Killed" : "Exited"; });

TEST_F(LockFolder, IdentifiersAreEscapedIntoOneFileEachInsideTheFolder) {
    const std::u16string ids[] = {
        u"a/b", u"a%2Fb", u"a_b", u"../../escape", u"..", u"\u00E4pp id", std::u16string(1000, u'\u6F22')};
    std::vector<std::unique_ptr<TSingleInstanceLock>> held;
    for (const auto& id : ids) {
        bool existed = true;
        held.push_back(Velmora::Platform::CreateSingleInstanceLock(id, existed));
        EXPECT_FALSE(existed) << "a lock of another identifier was taken for this one";
    }
    // Each is held: a second open of the same identifier sees it.
    for (const auto& id : ids) EXPECT_TRUE(HeldElsewhere(id));
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(FDir)) {
        EXPECT_TRUE(entry.is_regular_file()) << entry.path();
        EXPECT_LT(entry.path().filename().string().size(), 256u);
        ++files;
    }
    EXPECT_EQ(files, std::size(ids));
    EXPECT_FALSE(fs::exists(FDir.parent_path().parent_path() / "escape"));
}

TEST_F(LockFolder, FallsBackToTheTemporaryFolderPerUser) {
    const char* oldTmp = std::getenv("TMPDIR");
    const std::string savedTmp = oldTmp ? oldTmp : "";
    unsetenv("XDG_RUNTIME_DIR");
    setenv("TMPDIR", FDir.c_str(), 1);
    {
        Holder holder(u"fallback.app");
        ASSERT_TRUE(holder.GotLock());
        EXPECT_TRUE(HeldElsewhere(u"fallback.app"));
    }
    if (oldTmp) setenv("TMPDIR", savedTmp.c_str(), 1);
    else unsetenv("TMPDIR");
    const std::string name = fs::directory_iterator(FDir)->path().filename().string();
    EXPECT_NE(name.find(std::to_string(getuid())), std::string::npos) << name;
}
