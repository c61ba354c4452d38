// The Linux registry store on a real SQLite database in a scratch $XDG_DATA_HOME: the tree and its
// letter case, value types, persistence, and several processes writing at once or dying mid-write.
#include "platform/RegistryStore.h"

#include "support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace Velmora::Platform;
using Velmora::Shared::Text;
namespace fs = std::filesystem;

namespace {

Text T(const std::string& utf8) { return Velmora::Shared::FromUtf8(utf8); }

class RegistryStore : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "velmora-registry-XXXXXX").string();
        FRoot = mkdtemp(pattern.data());
        FEnv.emplace("XDG_DATA_HOME", FRoot.c_str());
    }
    void TearDown() override {
        FEnv.reset();
        fs::remove_all(FRoot);
    }
    fs::path DatabaseFile() const { return FRoot / "velmora" / "registry.db"; }

    // Raw SQL on the store's file, as another program (or a later version) would write it.
    void Sql(const std::string& sql) const {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(DatabaseFile().c_str(), &db), SQLITE_OK);
        char* error = nullptr;
        const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
        const std::string message = error ? error : "";
        sqlite3_free(error);
        sqlite3_close(db);
        ASSERT_EQ(rc, SQLITE_OK) << message;
    }

    std::string Scalar(const std::string& sql) const {
        sqlite3* db = nullptr;
        sqlite3_open(DatabaseFile().c_str(), &db);
        sqlite3_stmt* statement = nullptr;
        std::string result;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW)
            result = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        sqlite3_finalize(statement);
        sqlite3_close(db);
        return result;
    }

    fs::path FRoot;
    std::optional<ScopedEnv> FEnv;
};

TEST_F(RegistryStore, KeyAndValueNamesIgnoreAsciiLetterCaseAndKeepTheirOwn) {
    auto store = OpenUserRegistryStore();
    ASSERT_EQ(store->WriteValue(u"Software\\Demo", u"Greeting", u"hello"), TRegistryWrite::Written);
    EXPECT_EQ(store->ReadValue(u"SOFTWARE\\demo", u"GREETING").Value, u"hello");
    ASSERT_EQ(store->WriteValue(u"software\\DEMO", u"greeting", u"again"), TRegistryWrite::Written);
    EXPECT_EQ(store->ReadValue(u"Software\\Demo", u"Greeting").Value, u"again");
    EXPECT_TRUE(store->KeyExists(u"sOfTwArE"));
    // One key and one value: the later writes found the first ones, whose names stay as created.
    EXPECT_EQ(Scalar("SELECT group_concat(name, '|') FROM keys"), "Software|Demo");
    EXPECT_EQ(Scalar("SELECT count(*) || name FROM key_values"), "1Greeting");
    // Only ASCII letters fold, as in the registry's own rule for these names.
    ASSERT_EQ(store->WriteValue(u"Ärger", u"n", u"1"), TRegistryWrite::Written);
    EXPECT_TRUE(store->KeyExists(u"ÄRGER"));
    EXPECT_FALSE(store->KeyExists(u"ärger"));
}

TEST_F(RegistryStore, TreeRulesOfThePaths) {
    auto store = OpenUserRegistryStore();
    // Creating a key creates its path; "/" is part of a name; the root is the empty path.
    ASSERT_EQ(store->WriteValue(u"A\\B/C\\D", u"v", u"x"), TRegistryWrite::Written);
    EXPECT_TRUE(store->KeyExists(u"A\\B/C"));
    EXPECT_FALSE(store->KeyExists(u"A\\B"));
    EXPECT_TRUE(store->KeyExists(u""));
    // Empty and over-long key names are no keys.
    EXPECT_EQ(store->WriteValue(u"A\\\\D", u"v", u"x"), TRegistryWrite::KeyNotOpened);
    EXPECT_EQ(store->WriteValue(Text(256, u'k'), u"v", u"x"), TRegistryWrite::KeyNotOpened);
    EXPECT_EQ(store->WriteValue(Text(255, u'k'), u"v", u"x"), TRegistryWrite::Written);
    // Text ends at its first NUL when read back, as a REG_SZ does.
    ASSERT_EQ(store->WriteValue(u"A", u"nul", Text(u"ab\0cd", 5)), TRegistryWrite::Written);
    EXPECT_EQ(store->ReadValue(u"A", u"nul").Value, u"ab");
}

TEST_F(RegistryStore, DeleteKeyTakesTheSubtreeAndNothingComesBack) {
    auto store = OpenUserRegistryStore();
    for (const char16_t* key : {u"T\\a", u"T\\a\\b\\c", u"T\\d", u"Tx"})
        ASSERT_EQ(store->WriteValue(key, u"v", key), TRegistryWrite::Written);
    EXPECT_TRUE(store->DeleteKey(u"t"));
    for (const char16_t* key : {u"T", u"T\\a", u"T\\a\\b", u"T\\a\\b\\c", u"T\\d"}) EXPECT_FALSE(store->KeyExists(key));
    EXPECT_EQ(store->ReadValue(u"Tx", u"v").Value, u"Tx");
    EXPECT_FALSE(store->DeleteKey(u"T"));
    EXPECT_FALSE(store->DeleteKey(u""));
    // A key made again under the same name starts empty.
    ASSERT_EQ(store->WriteValue(u"T\\a", u"other", u"1"), TRegistryWrite::Written);
    EXPECT_FALSE(store->ValueExists(u"T\\a", u"v"));
    EXPECT_EQ(Scalar("SELECT count(*) FROM key_values WHERE key NOT IN (SELECT id FROM keys) AND key <> 0"), "0");
}

TEST_F(RegistryStore, ValueTypesAndDeletion) {
    auto store = OpenUserRegistryStore();
    ASSERT_EQ(store->WriteValue(u"Typed", u"text", u"plain"), TRegistryWrite::Written);
    // Values of other types, as another program would store them.
    Sql("INSERT INTO key_values(key, name, type, data) SELECT id, 'dword', 4, x'2a000000' FROM keys;"
        "INSERT INTO key_values(key, name, type, data) SELECT id, 'none', 3, x'' FROM keys;"
        "INSERT INTO key_values(key, name, type, data) SELECT id, 'expand', 2, '%HOME%\\x' FROM keys;");
    const TRegistryRead dword = store->ReadValue(u"Typed", u"DWORD");
    EXPECT_EQ(dword.Outcome, TRegistryRead::OtherType);
    EXPECT_EQ(dword.DataSize, 4u);
    EXPECT_EQ(store->ReadValue(u"Typed", u"none").Outcome, TRegistryRead::OtherType);
    EXPECT_EQ(store->ReadValue(u"Typed", u"none").DataSize, 0u);
    EXPECT_EQ(store->ReadValue(u"Typed", u"expand").Value, u"%HOME%\\x");
    EXPECT_EQ(store->ReadValue(u"Typed", u"missing").Outcome, TRegistryRead::Missing);
    EXPECT_EQ(store->ReadValue(u"Nowhere", u"text").Outcome, TRegistryRead::Missing);
    // A write replaces a value of any type with text.
    ASSERT_EQ(store->WriteValue(u"Typed", u"dword", u"42"), TRegistryWrite::Written);
    EXPECT_EQ(store->ReadValue(u"Typed", u"dword").Value, u"42");
    EXPECT_TRUE(store->DeleteValue(u"Typed", u"TEXT"));
    EXPECT_FALSE(store->DeleteValue(u"Typed", u"text"));
    EXPECT_FALSE(store->DeleteValue(u"Nowhere", u"text"));
    EXPECT_FALSE(store->ValueExists(u"Typed", u"text"));
}

TEST_F(RegistryStore, ValuesOutliveTheStoreAndTheDatabaseIsVersionedAndInWalMode) {
    ASSERT_EQ(OpenUserRegistryStore()->WriteValue(u"Keep", u"v", u"kept"), TRegistryWrite::Written);
    EXPECT_EQ(OpenUserRegistryStore()->ReadValue(u"keep", u"V").Value, u"kept");
    EXPECT_EQ(Scalar("PRAGMA user_version"), "1");
    EXPECT_EQ(Scalar("PRAGMA journal_mode"), "wal");
    // A database of a later version is not ours to change: every key fails to open.
    Sql("PRAGMA user_version = 2");
    auto later = OpenUserRegistryStore();
    EXPECT_EQ(later->WriteValue(u"Keep", u"v", u"changed"), TRegistryWrite::KeyNotOpened);
    EXPECT_FALSE(later->KeyExists(u"Keep"));
    EXPECT_EQ(Scalar("SELECT data FROM key_values"), "kept");
}

// Runs Body in a child process; the child exits with 0 when Body returns true.
template <typename F>
pid_t Spawn(F Body) {
    const pid_t pid = fork();
    if (pid == 0) _exit(Body() ? 0 : 1);
    return pid;
}

int ExitStatus(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST_F(RegistryStore, TwoProcessesWritingTenThousandValuesEachAtOnceLoseNothing) {
    constexpr int Count = 10000;
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    auto writer = [&](int process) {
        return [&, process] {
            close(gate[1]);
            char go;
            if (read(gate[0], &go, 1) != 0) return false; // both start when the gate closes
            for (int i = 0; i < Count; ++i) {
                // A store per write, as every bridge call opens its own; one shared key and one
                // of each process's own.
                const Text name = T("p" + std::to_string(process) + "-" + std::to_string(i));
                const Text key = i % 2 ? u"Stress\\Shared" : T("Stress\\P" + std::to_string(process));
                if (OpenUserRegistryStore()->WriteValue(key, name, name + u"!") != TRegistryWrite::Written)
                    return false;
            }
            return true;
        };
    };
    ASSERT_EQ(OpenUserRegistryStore()->WriteValue(u"Stress", u"start", u""), TRegistryWrite::Written);
    const pid_t first = Spawn(writer(1)), second = Spawn(writer(2));
    close(gate[0]);
    close(gate[1]);
    EXPECT_EQ(ExitStatus(first), 0);
    EXPECT_EQ(ExitStatus(second), 0);

    auto store = OpenUserRegistryStore();
    int missing = 0;
    for (int process = 1; process <= 2; ++process)
        for (int i = 0; i < Count; ++i) {
            const Text name = T("p" + std::to_string(process) + "-" + std::to_string(i));
            const Text key = i % 2 ? u"Stress\\Shared" : T("Stress\\P" + std::to_string(process));
            if (store->ReadValue(key, name).Value != name + u"!") ++missing;
        }
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(Scalar("SELECT count(*) FROM key_values"), std::to_string(2 * Count + 1));
    EXPECT_EQ(Scalar("SELECT count(*) FROM keys"), "4");
}

TEST_F(RegistryStore, AWriterKilledMidWriteLosesNothingItCommitted) {
    int progress[2];
    ASSERT_EQ(pipe(progress), 0);
    const pid_t child = Spawn([&] {
        close(progress[0]);
        auto store = OpenUserRegistryStore();
        for (int i = 0;; ++i) {
            const Text text = T(std::to_string(i));
            if (store->WriteValue(u"Crash\\" + text.substr(0, 1), text, Text(1000, u'x') + text) !=
                TRegistryWrite::Written)
                return false;
            if (write(progress[1], &i, sizeof i) != sizeof i) return false; // reported once committed
        }
    });
    close(progress[1]);
    int last = -1, i = 0;
    while (last < 300 && read(progress[0], &i, sizeof i) == sizeof i) last = i;
    kill(child, SIGKILL);
    while (read(progress[0], &i, sizeof i) == sizeof i) last = i;
    close(progress[0]);
    EXPECT_EQ(ExitStatus(child), 128 + SIGKILL);

    auto store = OpenUserRegistryStore();
    for (int n = 0; n <= last; ++n) {
        const Text text = T(std::to_string(n));
        ASSERT_EQ(store->ReadValue(u"crash\\" + text.substr(0, 1), text).Value, Text(1000, u'x') + text) << n;
    }
    EXPECT_EQ(Scalar("PRAGMA integrity_check"), "ok");
}

} // namespace
