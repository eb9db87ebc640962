// Short polls instead of SQLite's growing sleeps: a waiting writer gets its turn as soon as the
// other side commits a batch, so several writers share the file fairly. The timeout counts
// from the last sign of progress, not from the first poll: with three or four instances a
// writer may wait behind the others for longer than the timeout, and that is no reason to
// fail while they are moving.
#include "data/SqliteBusyWait.h"

#include "data/SqliteHandles.h"

#include <sys/stat.h>

#include <thread>

namespace ktv::dao {

namespace {

// Size and modification time: what changes when another instance commits.
std::pair<std::int64_t, std::int64_t> fileStamp(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return {};
    return {static_cast<std::int64_t>(st.st_size),
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

} // namespace

bool BusyWait::again(int tries)
{
    const auto now = std::chrono::steady_clock::now();
    const FileStamp stamp = fileStamp(m_watched());
    if (tries == 0 || stamp != m_lastStamp) {
        m_since = now;
        m_lastStamp = stamp;
    }
    if (now - m_since >= kBusyTimeout)
        return false;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
    return true;
}

void BusyWait::install(sqlite3* db)
{
    const auto handler = [](void* self, int count) {
        return static_cast<BusyWait*>(self)->again(count) ? 1 : 0;
    };
    checkSqlite(sqlite3_busy_handler(db, handler, this), db);
}

} // namespace ktv::dao
