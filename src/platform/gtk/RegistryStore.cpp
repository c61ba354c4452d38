// Linux: the registry below the current user's root as one SQLite database per user,
// $XDG_DATA_HOME/velmora/registry.db, shared by every app of that user as HKEY_CURRENT_USER is.
// A tree of keys (key and value names compared without regard to ASCII letter case, COLLATE
// NOCASE, keeping the letter case they were created with) and typed values (1 REG_SZ,
// 2 REG_EXPAND_SZ as text; any other registry type as bytes). Several processes may write at
// once: WAL, a busy timeout, and each write one IMMEDIATE transaction, so a crashing process
// loses nothing it committed. synchronous=NORMAL: WAL is synced at checkpoints rather than at
// every commit, so a power failure may lose the last commits (never the database), as the
// Windows registry flushes lazily too; FULL costs an fsync per write. PRAGMA user_version holds the schema version; a database of a
// later version is left alone.
#include "platform/RegistryStore.h"

#include "platform/ShellFolders.h"

#include "shared/UniqueHandle.h"

#include <sqlite3.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace Velmora::Platform {

using namespace Shared;

namespace {

using Database = TUniqueHandle<sqlite3*, sqlite3_close_v2>;
using Statement = TUniqueHandle<sqlite3_stmt*, sqlite3_finalize>;

constexpr int SchemaVersion = 1;
constexpr int BusyTimeoutMs = 30000;
constexpr sqlite3_int64 Root = 0; // the root key is no row: top-level keys have parent 0
constexpr int RegSz = 1, RegExpandSz = 2;
// The registry's own limit for a key name.
constexpr std::size_t MaxKeyNameLength = 255;

constexpr const char* Schema = R"sql(
CREATE TABLE IF NOT EXISTS keys(
    id INTEGER PRIMARY KEY,
    parent INTEGER NOT NULL,
    name TEXT NOT NULL COLLATE NOCASE,
    UNIQUE(parent, name));
CREATE TABLE IF NOT EXISTS key_values(
    key INTEGER NOT NULL,
    name TEXT NOT NULL COLLATE NOCASE,
    type INTEGER NOT NULL,
    data BLOB NOT NULL,
    PRIMARY KEY(key, name)) WITHOUT ROWID;
)sql";

std::filesystem::path DatabasePath() { return ToPath(LocalAppDataDirPath()) / "velmora" / "registry.db"; }

// Names end at their first NUL, as the registry's C strings do (and SQLite's NOCASE stops there).
TextView UpToNul(TextView text) { return text.substr(0, text.find(u'\0')); }

std::string NameText(TextView Name) { return ToUtf8(UpToNul(Name)); }

// The key names of a path, or none when one is no name the registry takes (empty, too long).
std::optional<std::vector<std::string>> SplitKey(TextView Key) {
    Key = UpToNul(Key);
    std::vector<std::string> names;
    if (Key.empty()) return names;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = Key.find(u'\\', start);
        const TextView name = Key.substr(start, end == TextView::npos ? TextView::npos : end - start);
        if (name.empty() || name.size() > MaxKeyNameLength) return std::nullopt;
        names.push_back(ToUtf8(name));
        if (end == TextView::npos) return names;
        start = end + 1;
    }
}

class TSqliteRegistry final : public TRegistryStore {
public:
    // Db stays open for the process (TConnection); the lock keeps its transactions apart.
    TSqliteRegistry(sqlite3* Db, std::mutex& Lock) : FDb(Db), FLock(Lock) {}

    TRegistryWrite WriteValue(TextView Key, TextView Name, TextView Value) override {
        const std::lock_guard<std::mutex> hold(FLock);
        const auto names = SplitKey(Key);
        if (!names || !Begin()) return TRegistryWrite::KeyNotOpened;
        const std::optional<sqlite3_int64> key = CreateKey(*names);
        if (!key) return Rollback(TRegistryWrite::KeyNotOpened);
        Statement set = Prepare("INSERT INTO key_values(key, name, type, data) VALUES(?1, ?2, ?3, ?4) "
                                "ON CONFLICT(key, name) DO UPDATE SET type = excluded.type, data = excluded.data");
        const std::string name = NameText(Name), value = ToUtf8(Value);
        if (!set || sqlite3_bind_int64(set.get(), 1, *key) != SQLITE_OK || !BindText(set, 2, name) ||
            sqlite3_bind_int(set.get(), 3, RegSz) != SQLITE_OK || !BindText(set, 4, value) ||
            sqlite3_step(set.get()) != SQLITE_DONE)
            return Rollback(TRegistryWrite::ValueNotSet);
        return Commit() ? TRegistryWrite::Written : TRegistryWrite::ValueNotSet;
    }

    TRegistryRead ReadValue(TextView Key, TextView Name) override {
        const std::lock_guard<std::mutex> hold(FLock);
        const std::optional<sqlite3_int64> key = FindKey(Key);
        if (!key) return {};
        Statement get = Prepare("SELECT type, data FROM key_values WHERE key = ?1 AND name = ?2");
        const std::string name = NameText(Name);
        if (!get || sqlite3_bind_int64(get.get(), 1, *key) != SQLITE_OK || !BindText(get, 2, name)) return {};
        const int step = sqlite3_step(get.get());
        if (step == SQLITE_DONE) return {};
        if (step != SQLITE_ROW) return {TRegistryRead::Unreadable, {}, 0};
        const int type = sqlite3_column_int(get.get(), 0);
        const auto* data = static_cast<const char*>(sqlite3_column_blob(get.get(), 1));
        const auto size = static_cast<std::size_t>(sqlite3_column_bytes(get.get(), 1));
        if (type != RegSz && type != RegExpandSz)
            return {TRegistryRead::OtherType, {}, static_cast<std::uint32_t>(size)};
        Text text = FromUtf8(std::string_view(data ? data : "", size));
        if (const auto nul = text.find(u'\0'); nul != Text::npos) text.resize(nul);
        return {TRegistryRead::String, std::move(text), static_cast<std::uint32_t>(size)};
    }

    bool ValueExists(TextView Key, TextView Name) override {
        const std::lock_guard<std::mutex> hold(FLock);
        const std::optional<sqlite3_int64> key = FindKey(Key);
        if (!key) return false;
        Statement get = Prepare("SELECT 1 FROM key_values WHERE key = ?1 AND name = ?2");
        const std::string name = NameText(Name);
        return get && sqlite3_bind_int64(get.get(), 1, *key) == SQLITE_OK && BindText(get, 2, name) &&
               sqlite3_step(get.get()) == SQLITE_ROW;
    }

    bool DeleteValue(TextView Key, TextView Name) override {
        const std::lock_guard<std::mutex> hold(FLock);
        if (!Begin()) return false;
        const std::optional<sqlite3_int64> key = FindKey(Key);
        if (!key) return Rollback(false);
        Statement del = Prepare("DELETE FROM key_values WHERE key = ?1 AND name = ?2");
        const std::string name = NameText(Name);
        if (!del || sqlite3_bind_int64(del.get(), 1, *key) != SQLITE_OK || !BindText(del, 2, name) ||
            sqlite3_step(del.get()) != SQLITE_DONE || sqlite3_changes(FDb) == 0)
            return Rollback(false);
        return Commit();
    }

    bool KeyExists(TextView Key) override {
        const std::lock_guard<std::mutex> hold(FLock);
        return FindKey(Key).has_value();
    }

    bool DeleteKey(TextView Key) override {
        const std::lock_guard<std::mutex> hold(FLock);
        if (!Begin()) return false;
        const std::optional<sqlite3_int64> key = FindKey(Key);
        if (!key || *key == Root) return Rollback(false);
        // The whole subtree in one transaction: it goes entirely or not at all.
        const char* subtree = "WITH RECURSIVE sub(id) AS (SELECT ?1 UNION ALL "
                              "SELECT keys.id FROM keys JOIN sub ON keys.parent = sub.id) ";
        for (const std::string& sql : {std::string(subtree) + "DELETE FROM key_values WHERE key IN sub",
                                       std::string(subtree) + "DELETE FROM keys WHERE id IN sub"}) {
            Statement del = Prepare(sql.c_str());
            if (!del || sqlite3_bind_int64(del.get(), 1, *key) != SQLITE_OK || sqlite3_step(del.get()) != SQLITE_DONE)
                return Rollback(false);
        }
        return Commit();
    }

private:
    Statement Prepare(const char* sql) const {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(FDb, sql, -1, &statement, nullptr) != SQLITE_OK) return nullptr;
        return Statement(statement);
    }

    static bool BindText(const Statement& statement, int index, const std::string& text) {
        return sqlite3_bind_text(statement.get(), index, text.data(), static_cast<int>(text.size()),
                                 SQLITE_TRANSIENT) == SQLITE_OK;
    }

    bool Execute(const char* sql) const { return sqlite3_exec(FDb, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

    // IMMEDIATE: the write lock is taken at the start (waiting out other writers), so a read
    // inside the transaction never has to be upgraded into a lock another writer holds.
    bool Begin() const { return Execute("BEGIN IMMEDIATE"); }
    bool Commit() const {
        if (Execute("COMMIT")) return true;
        Execute("ROLLBACK");
        return false;
    }
    template <typename T>
    T Rollback(T result) const {
        Execute("ROLLBACK");
        return result;
    }

    std::optional<sqlite3_int64> Child(sqlite3_int64 parent, const std::string& name) const {
        Statement find = Prepare("SELECT id FROM keys WHERE parent = ?1 AND name = ?2");
        if (!find || sqlite3_bind_int64(find.get(), 1, parent) != SQLITE_OK || !BindText(find, 2, name) ||
            sqlite3_step(find.get()) != SQLITE_ROW)
            return std::nullopt;
        return sqlite3_column_int64(find.get(), 0);
    }

    std::optional<sqlite3_int64> FindKey(TextView Key) const {
        const auto names = SplitKey(Key);
        if (!names) return std::nullopt;
        sqlite3_int64 id = Root;
        for (const std::string& name : *names) {
            const auto child = Child(id, name);
            if (!child) return std::nullopt;
            id = *child;
        }
        return id;
    }

    // Inside a write transaction: the key, with every missing key on its path created.
    std::optional<sqlite3_int64> CreateKey(const std::vector<std::string>& names) const {
        sqlite3_int64 id = Root;
        for (const std::string& name : names) {
            if (const auto child = Child(id, name)) {
                id = *child;
                continue;
            }
            Statement add = Prepare("INSERT INTO keys(parent, name) VALUES(?1, ?2)");
            if (!add || sqlite3_bind_int64(add.get(), 1, id) != SQLITE_OK || !BindText(add, 2, name) ||
                sqlite3_step(add.get()) != SQLITE_DONE)
                return std::nullopt;
            id = sqlite3_last_insert_rowid(FDb);
        }
        return id;
    }

    sqlite3* FDb;
    std::mutex& FLock;
};

// A store that cannot be opened: every key fails to open, as a registry the user may not use.
class TUnavailableRegistry final : public TRegistryStore {
public:
    TRegistryWrite WriteValue(TextView, TextView, TextView) override { return TRegistryWrite::KeyNotOpened; }
    TRegistryRead ReadValue(TextView, TextView) override { return {}; }
    bool ValueExists(TextView, TextView) override { return false; }
    bool DeleteValue(TextView, TextView) override { return false; }
    bool KeyExists(TextView) override { return false; }
    bool DeleteKey(TextView) override { return false; }
};

int UserVersion(sqlite3* db) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &raw, nullptr) != SQLITE_OK) return -1;
    const Statement statement(raw);
    return sqlite3_step(raw) == SQLITE_ROW ? sqlite3_column_int(raw, 0) : -1;
}

bool Run(sqlite3* db, const std::string& sql) {
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

// The schema of this version, created in one transaction by whichever process comes first.
bool PrepareSchema(sqlite3* db) {
    const int version = UserVersion(db);
    if (version == SchemaVersion) return true;
    if (version != 0) return false; // unreadable, or a later version we do not know
    if (!Run(db, "BEGIN IMMEDIATE")) return false;
    const int seen = UserVersion(db); // another process may have been first
    if (seen == SchemaVersion) return Run(db, "COMMIT");
    if (seen == 0 && Run(db, Schema) && Run(db, "PRAGMA user_version = " + std::to_string(SchemaVersion)) &&
        Run(db, "COMMIT"))
        return true;
    Run(db, "ROLLBACK");
    return false;
}

Database OpenDatabase(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    sqlite3* raw = nullptr;
    const int opened = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    Database db(raw); // closed on every path, also when the open failed
    if (opened != SQLITE_OK) return nullptr;
    sqlite3_busy_timeout(raw, BusyTimeoutMs);
    // WAL persists in the file once set; readers never wait for a writer.
    if (!Run(raw, "PRAGMA journal_mode = WAL") || !Run(raw, "PRAGMA synchronous = NORMAL")) return nullptr;
    if (!PrepareSchema(raw)) return nullptr;
    return db;
}

// The process's one connection, kept open as the registry keeps the user's hive loaded: opening
// and closing a database per call costs a checkpoint with its syncs each time. It is opened again
// when $XDG_DATA_HOME names another file, when the file there was replaced, and in a forked
// child (a connection must not cross fork).
struct TConnection {
    std::mutex Lock;
    Database Db;
    pid_t Owner = 0;
    std::filesystem::path Path;
    dev_t Device = 0;
    ino_t Inode = 0;
};

TConnection& Connection() {
    static TConnection connection;
    return connection;
}

bool SameFile(const TConnection& connection, const std::filesystem::path& path) {
    struct stat now = {};
    return connection.Path == path && stat(path.c_str(), &now) == 0 && now.st_dev == connection.Device &&
           now.st_ino == connection.Inode;
}

} // namespace

std::unique_ptr<TRegistryStore> OpenUserRegistryStore() {
    TConnection& connection = Connection();
    const std::lock_guard<std::mutex> hold(connection.Lock);
    if (connection.Owner != getpid()) {
        (void)connection.Db.release(); // the parent's; closing it here could disturb the parent
        connection.Owner = getpid();
    }
    const std::filesystem::path path = DatabasePath();
    // Another program (a later version) may have changed the schema since we opened it.
    if (connection.Db && (!SameFile(connection, path) || UserVersion(connection.Db.get()) != SchemaVersion))
        connection.Db.reset();
    if (!connection.Db) {
        connection.Db = OpenDatabase(path);
        struct stat opened = {};
        if (connection.Db && stat(path.c_str(), &opened) == 0) {
            connection.Path = path;
            connection.Device = opened.st_dev;
            connection.Inode = opened.st_ino;
        } else {
            connection.Db.reset();
        }
    }
    if (!connection.Db) return std::make_unique<TUnavailableRegistry>();
    return std::make_unique<TSqliteRegistry>(connection.Db.get(), connection.Lock);
}

} // namespace Velmora::Platform
