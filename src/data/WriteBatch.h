// The implicit write batch: one policy for every writing backend. Updates outside an explicit
// transaction are grouped into one backend transaction that is committed once kCommitDelay
// (50 ms) has passed, at the next engine call; a lookup that may be followed by its insert
// pins the batch so no commit falls between them; and a save that loses the batch says how
// many records it lost.
//
// How a backend uses it:
//   1. Implement TransactionPort over the backend's own transaction (SQLite: BEGIN IMMEDIATE /
//      COMMIT / ROLLBACK; a server: its transaction on the connection) and own one WriteBatch
//      built with that port and the name of the database as the user knows it.
//   2. Before every stored record call begin() (it also commits a batch whose time is up);
//      after the record is stored call noteStored().
//   3. At the start of every other engine call (moves, opening a recordset) call commitIfDue().
//   4. Around a lookup whose result decides an insert or edit: pin() after the lookup,
//      unpin() once the record is stored or the lookup is given up.
//   5. On close (and from the process's exit hook) call finish() and throw what it returns;
//      commit() saves at once (before another handle on the same data begins its own batch).
//   6. A backend that can commit without waiting (commitTransactionAhead) calls committed()
//      when it reads the answer, and abandon() with a failure it reads instead.
// The batch is not thread-safe: like the engine it runs on the program's one thread.
#pragma once

#include "data/EngineClock.h"
#include "platform/core/Error.h"

#include <optional>
#include <string>

namespace ktv::dao {

// The backend's side of a write batch: its own transaction on its connection.
class TransactionPort {
public:
    virtual void beginTransaction() = 0;
    // Throws ktv::Error when the commit fails; the transaction may then still be open. Its
    // answer comes after those of the commits sent ahead before it (commitTransactionAhead).
    virtual void commitTransaction() = 0;
    virtual void rollbackTransaction() noexcept = 0;
    // After a failed commit: true when the transaction is still open (the commit can be
    // tried again), false when the backend has already rolled it back.
    virtual bool transactionOpen() const = 0;
    // A commit sent without waiting for its answer (a server's COMMIT, answered with the next
    // round trip): true when sent so; false (the default) to commit with commitTransaction.
    // The backend reports the answer through WriteBatch::committed or a failure it reads.
    virtual bool commitTransactionAhead() { return false; }
    // Waits for the answers of the commits sent ahead; throws when one of them failed.
    virtual void awaitCommits() {}

protected:
    ~TransactionPort() = default;
};

class WriteBatch {
public:
    // where: the database as the user knows it (a file's path), named by the lost-batch error.
    WriteBatch(TransactionPort& port, std::string where);
    WriteBatch(const WriteBatch&) = delete;
    WriteBatch& operator=(const WriteBatch&) = delete;

    // Before every stored record: opens the backend's transaction when no batch is open
    // (committing first a batch whose time is up).
    void begin();
    // Every engine call: commits an open, unpinned batch whose time is up (without waiting
    // for the answer where the backend can).
    void commitIfDue();
    // Commits the open batch now and waits for it, and for the commits sent ahead before it.
    // A failed commit that the backend rolled back throws the lost-batch error (the backend's
    // error plus how many records were lost); one that left the transaction open throws the
    // backend's error and keeps the batch for a later try.
    void commit();
    // The last save, on close: tried three times with growing pauses; when it still fails the
    // batch is rolled back and the lost-batch error is returned. Pins are dropped.
    std::optional<Error> finish();
    // The backend read the answers of the commits it sent ahead: their records are saved.
    void committed()
    {
        m_awaiting = false;
        m_inFlight = 0;
    }
    // The backend gave up the open batch after e (a statement refused, the connection lost)
    // and rolled it back, with the commits sent ahead and not yet answered: the lost-batch
    // error, or e itself when no record was at stake.
    Error abandon(const Error& e);

    // A lookup and the AddNew or Edit that may follow must share one batch: while a lookup is
    // pinned the deadline does not commit, so no other writer can add the same key between.
    void pin() { ++m_pins; }
    void unpin()
    {
        if (m_pins > 0)
            --m_pins;
    }
    // More records stored in the open batch: counted so a failed save can say what it lost.
    void noteStored(long records = 1) { m_unsaved += records; }

    bool isOpen() const { return m_open; }
    // Open, and its time is up: it commits at the next engine call that no pin holds back.
    bool due() const { return m_open && engineNow() >= m_deadline; }

private:
    void save(bool wait);
    Error lost(const Error& e); // the error of a save that lost the open batch

    TransactionPort& m_port;
    std::string m_where;
    bool m_open = false;
    int m_pins = 0;
    long m_unsaved = 0;      // records stored in the open batch
    bool m_awaiting = false; // a commit sent ahead is not answered yet
    long m_inFlight = 0;     // the records of the batches it ends
    EngineTime m_deadline{};
};

} // namespace ktv::dao
