// Recordset forwards to its backend; after Close every call fails like a released object.
#include "data/Recordset.h"

#include "data/DaoErrors.h"

namespace ktv::dao {

Recordset::Recordset(std::unique_ptr<RecordsetBackend> backend) : m_backend(std::move(backend)) {}

Recordset::~Recordset()
{
    try {
        Close();
    } catch (...) {
        // a destructor must not throw; Close of a recordset only releases statements
    }
}

RecordsetBackend& Recordset::live() const
{
    if (!m_backend)
        raise(err::ObjectClosed);
    return *m_backend;
}

long Recordset::RecordCount() const { return live().recordCount(); }
void Recordset::MoveFirst() { live().moveFirst(); }
void Recordset::MoveLast() { live().moveLast(); }
void Recordset::MoveNext() { live().moveNext(); }
bool Recordset::Eof() const { return live().eof(); }
Value Recordset::Field(const std::string& name) const { return live().field(name); }
int Recordset::FieldIndex(const std::string& name) const { return live().fieldIndex(name); }
Value Recordset::Field(int index) const { return live().field(index); }
void Recordset::ReadField(int index, Value& into) const { live().readField(index, into); }
std::vector<std::string> Recordset::FieldNames() const { return live().fieldNames(); }
void Recordset::SetField(const std::string& name, const Value& v) { live().setField(name, v); }
void Recordset::SetField(const std::string& name, Value&& v) { live().takeField(name, std::move(v)); }
void Recordset::AddNew() { live().addNew(); }
void Recordset::Edit() { live().edit(); }
void Recordset::Update() { live().update(); }

void Recordset::Close()
{
    if (!m_backend)
        return;
    auto backend = std::move(m_backend);
    backend->close();
}

} // namespace ktv::dao
