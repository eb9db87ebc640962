// A killed process loses at most the last ~50 ms of records: the batch is committed once its
// time is up, on close, and by the exit hook of whoever owns it.
#include "data/WriteBatch.h"

#include <chrono>
#include <thread>
#include <utility>

namespace ktv::dao {

WriteBatch::WriteBatch(TransactionPort& port, std::string where) : m_port(port), m_where(std::move(where)) {}

void WriteBatch::begin()
{
    commitIfDue();
    if (m_open)
        return;
    m_port.beginTransaction();
    m_open = true;
    m_deadline = engineNow() + kCommitDelay;
}

void WriteBatch::commitIfDue()
{
    if (m_open && m_pins == 0 && engineNow() >= m_deadline)
        save(false);
}

void WriteBatch::commit() { save(true); }

void WriteBatch::save(bool wait)
{
    // A failed commit (busy beyond the timeout, a full disk) normally leaves the transaction
    // open for a later try; when the backend has rolled it back itself, the batch is gone and
    // the error says how much of it, with the commits sent ahead it had not answered.
    try {
        if (m_open) {
            const bool sent = !wait && m_port.commitTransactionAhead();
            if (!sent)
                m_port.commitTransaction(); // answered after every commit sent before it
            m_open = false;
            m_awaiting = sent;
            m_inFlight = sent ? m_inFlight + m_unsaved : 0;
            m_unsaved = 0;
        } else if (wait && m_awaiting) {
            m_port.awaitCommits();
            committed();
        }
    } catch (const Error& e) {
        if (m_open && m_port.transactionOpen())
            throw;
        m_open = false;
        throw lost(e);
    }
}

std::optional<Error> WriteBatch::finish()
{
    m_pins = 0;
    // Tried again after a pause: a lock held a moment too long, space freed meanwhile.
    std::optional<Error> failure;
    for (int attempt = 0; attempt < 3 && (m_open || m_awaiting); ++attempt) {
        try {
            commit();
            failure.reset();
        } catch (const Error& e) {
            failure = e;
            std::this_thread::sleep_for(std::chrono::milliseconds(50 << attempt));
        }
    }
    if (failure && m_open) {
        m_port.rollbackTransaction();
        m_open = false;
        failure = lost(*failure);
    }
    return failure;
}

Error WriteBatch::abandon(const Error& e)
{
    const bool atStake = m_open || m_awaiting;
    m_open = false;
    m_pins = 0;
    return atStake ? lost(e) : e;
}

Error WriteBatch::lost(const Error& e)
{
    const long count = m_unsaved + m_inFlight;
    m_unsaved = 0;
    committed();
    return Error(e.number(), e.description() + " The last " + std::to_string(count) +
                                 (count == 1 ? " record was" : " records were") + " not stored in '" +
                                 m_where + "'.");
}

} // namespace ktv::dao
