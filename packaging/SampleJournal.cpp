// Puts a sample source into rollback-journal mode: sample-journal <file>
// The tool that makes samples leaves them in WAL mode, and a WAL file can only be read where
// its -shm file can be made; the samples are installed read-only (share/ktvedaz/samples), so
// they must be readable without one.
#include <sqlite3.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: sample-journal <file>\n");
        return 2;
    }
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(argv[1], &db, SQLITE_OPEN_READWRITE, nullptr);
    char mode[16] = "";
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(
            db, "PRAGMA journal_mode=DELETE",
            [](void* out, int, char** values, char**) {
                std::snprintf(static_cast<char*>(out), 16, "%s", values[0] ? values[0] : "");
                return 0;
            },
            mode, nullptr);
    if (rc != SQLITE_OK || std::strcmp(mode, "delete") != 0) {
        std::fprintf(stderr, "sample-journal: %s: %s\n", argv[1], db ? sqlite3_errmsg(db) : "cannot open");
        sqlite3_close(db);
        return 1;
    }
    return sqlite3_close(db) == SQLITE_OK ? 0 : 1;
}
