// Schemas and helpers shared by the data-layer tests.
#pragma once

#include "data/Dao.h"
#include "platform/core/Error.h"

#include <functional>
#include <memory>
#include <string>

namespace ktv::test {

// A table of every column kind, and a keyed table like the program's lookup tables.
inline const char* kKindsSchema = R"(
TABLE Kinds
  Txt     TEXT(5)
  Memo    MEMO
  B       BYTE
  S       SHORT
  L       LONG
  D       DOUBLE
  C       CURRENCY
  Dt      DATETIME
  Flag    BOOLEAN
TABLE Kart
  Tip     TEXT(3)
  Kod     TEXT(10)
  Ad      TEXT(50)
  Adet    LONG      DEFAULT 0
  INDEX Tip, Kod
)";

// The engine error number a call fails with, or 0 when it does not fail.
inline int errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}

inline std::unique_ptr<dao::Database> makeDatabase(const std::string& path,
                                                   const std::string& schema = kKindsSchema,
                                                   const std::string& password = "")
{
    dao::CreateDatabase(path, schema, password);
    return dao::Database::OpenDatabase(path, false, false, password.empty() ? "" : ";pwd=" + password);
}

inline void addKart(dao::Database& db, const std::string& tip, const std::string& kod,
                    const std::string& ad = "")
{
    auto rs = db.OpenRecordset("Kart", dao::RecordsetType::Dynaset);
    rs->AddNew();
    rs->SetField("Tip", tip);
    rs->SetField("Kod", kod);
    rs->SetField("Ad", ad);
    rs->Update();
}

} // namespace ktv::test
