// A snapshot over a Jet table: a forward walk with MoveLast/MoveFirst, record counts as the
// engine gives them, fields by name, and the program's simple conditions. Updates fail with
// the engine's read-only error.
#pragma once

#include "data/Backend.h"

#include <memory>
#include <optional>
#include <vector>

namespace ktv::jet {

class JetTableReader;

class JetRecordsetBackend final : public dao::RecordsetBackend {
public:
    JetRecordsetBackend(std::unique_ptr<JetTableReader> reader, std::vector<dao::Condition> conditions);
    ~JetRecordsetBackend() override;

    long recordCount() const override;
    void moveFirst() override;
    void moveLast() override;
    void moveNext() override;
    bool eof() const override;
    Value field(const std::string& name) const override;
    int fieldIndex(const std::string& name) const override;
    Value field(int index) const override;
    void readField(int index, Value& into) const override;
    std::vector<std::string> fieldNames() const override;
    void setField(const std::string& name, const Value& v) override;
    void addNew() override;
    void edit() override;
    void update() override;
    void close() override;

private:
    JetTableReader& reader() const;
    const Value& current(int index) const; // the field at index of the current record
    bool matches() const;
    void advance(); // to the next row that meets the conditions, or to the end
    std::unique_ptr<JetTableReader> m_reader;
    std::vector<std::pair<int, std::string>> m_conditions; // column index, literal
    long m_visited = 0;
    bool m_eof = false;
    // After MoveLast the reader has run past the end; the last row is kept here.
    std::optional<std::vector<Value>> m_last;
};

} // namespace ktv::jet
