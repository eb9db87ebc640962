// How this program waits for a lock another connection holds: short polls, given up only
// after kBusyTimeout without any sign of progress (the watched file changing). SQLite's busy
// handler and the steps SQLite does not wait for itself (a switch of the journal mode, the
// opening checks meeting one) both wait this one way.
#pragma once

#include "data/DaoErrors.h"

#include <sqlite3.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

namespace ktv::dao {

inline constexpr auto kBusyTimeout = std::chrono::seconds(10);

class BusyWait {
public:
    // watched: the file whose changes show that the other side is moving (asked at each poll).
    explicit BusyWait(std::function<std::string()> watched) : m_watched(std::move(watched)) {}
    BusyWait(const BusyWait&) = delete;
    BusyWait& operator=(const BusyWait&) = delete;

    // After a failed try; tries: how many failed before it in this wait (0 starts a new wait).
    // Pauses and returns true, or returns false when it is time to give up.
    bool again(int tries);
    // Makes SQLite wait this way on the connection whenever it meets a lock.
    void install(sqlite3* db);
    // Runs fn, and again while it fails with err::Locked and again() allows.
    template <class F> decltype(auto) retryWhileLocked(F&& fn)
    {
        for (int tries = 0;; ++tries) {
            try {
                return fn();
            } catch (const Error& e) {
                if (e.number() != err::Locked || !again(tries))
                    throw;
            }
        }
    }

private:
    using FileStamp = std::pair<std::int64_t, std::int64_t>; // size and modification time

    std::function<std::string()> m_watched;
    std::chrono::steady_clock::time_point m_since{}; // of the last sign of progress
    FileStamp m_lastStamp{};                         // of the watched file, at the last poll
};

} // namespace ktv::dao
