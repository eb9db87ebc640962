// A DAO-style recordset: a snapshot (read-only walk) or a dynaset (lookup that may be
// followed by AddNew or Edit) over one table, optionally filtered by up to two conditions.
#pragma once

#include "app/Value.h"
#include "data/Backend.h"

#include <memory>
#include <string>
#include <vector>

namespace ktv::dao {

class Recordset {
public:
    explicit Recordset(std::unique_ptr<RecordsetBackend> backend);
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    long RecordCount() const; // right after opening: 0 or >=1; after MoveLast: exact count
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    bool Eof() const;                                       // "EOF" is a C macro, hence the name
    Value Field(const std::string& name) const;             // by name (case-insensitive); Null possible
    int FieldIndex(const std::string& name) const;          // its position; err::ItemNotFound when none
    Value Field(int index) const;                           // by a position FieldIndex gave
    void ReadField(int index, Value& into) const;           // the same into a value kept by the caller
    std::vector<std::string> FieldNames() const;            // in table order
    void SetField(const std::string& name, const Value& v); // converts to the column type or throws
    void SetField(const std::string& name, Value&& v);      // the same, taking the value
    void AddNew();
    void Edit();
    void Update();
    void Close(); // idempotent

private:
    RecordsetBackend& live() const;
    std::unique_ptr<RecordsetBackend> m_backend;
};

} // namespace ktv::dao
