// The writer's façade; the writers themselves belong to the backends.
#include "data/CardWriter.h"

#include "data/DaoErrors.h"

namespace ktv::dao {

std::unique_ptr<CardWriterBackend> DatabaseBackend::openCardWriter(const CardLayout&)
{
    // A backend that writes nothing (a reader of another file format) has no writer.
    raise(err::ReadOnly);
}

Error columnError(const Error& e, const ErrorContext& context, const std::string& table,
                  const std::string& column)
{
    return Error(e.number(), e.description() + " (" + context() + ", " + table + "." + column + ")");
}

CardWriter::CardWriter(std::unique_ptr<CardWriterBackend> backend) : m_backend(std::move(backend)) {}

CardWriter::~CardWriter()
{
    try {
        Close();
    } catch (...) {
        // a destructor must not throw; closing a writer only releases statements
    }
}

CardWriterBackend& CardWriter::live() const
{
    if (!m_backend)
        raise(err::ObjectClosed);
    return *m_backend;
}

bool CardWriter::AddIfNew(const std::vector<std::string>& key, const CardValues& values,
                          const ErrorContext& context)
{
    return live().addIfNew(key, values, context);
}

void CardWriter::Prefetch(const std::vector<std::vector<std::string>>& keys) { live().prefetch(keys); }

void CardWriter::Flush() { live().flush(); }

bool CardWriter::Holds(const std::vector<std::string>& key) { return live().holds(key); }

void CardWriter::Close()
{
    if (!m_backend)
        return;
    auto backend = std::move(m_backend);
    backend->close();
}

} // namespace ktv::dao
