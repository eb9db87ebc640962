#include "convert/ConvertFixture.h"

#include "app/AppPath.h"
#include "convert/SourceSchema.h"
#include "platform/core/NumberFormat.h"

#include <cstdlib>
#include <filesystem>
#include <sqlite3.h>

namespace fs = std::filesystem;

namespace ktv::test {

namespace {

void fill(dao::Database& db, const std::string& table, const std::vector<Row>& rows)
{
    auto rs = db.OpenRecordset(table, dao::RecordsetType::Dynaset);
    for (const Row& r : rows) {
        rs->AddNew();
        for (const auto& [c, v] : r)
            rs->SetField(c, v);
        rs->Update();
    }
    rs->Close();
}

} // namespace

void ConvertTest::SetUp()
{
    const char* app = std::getenv("KTV_APP_DIR");
    ASSERT_NE(app, nullptr) << "KTV_APP_DIR names the folder with the templates";
    for (const char* t : {"SABIT.mdx", "KTFIM.mdx", "KTCHM.mdx"})
        fs::copy_file(fs::path(app) / t, dir.path() / t);
    InitAppPath(dir.str());
    sourceFolder = dir.str() + "/kaynak";
    fs::create_directories(sourceFolder);
    NumberFormat::pin({'.', ','});
    run = std::make_unique<ConversionRun>(set, host);
}

std::string ConvertTest::makeSource(const SourceTables& tables, const std::string& name,
                                    const std::string& password)
{
    const std::string path = sourceFolder + "/" + name;
    fs::remove(path);
    dao::CreateDatabase(path, kSourceTablesSchema, password);
    auto db = dao::Database::OpenDatabase(path, false, false, password.empty() ? "" : ";pwd=" + password);
    fill(*db, "AracKarti", tables.vehicles);
    fill(*db, "CariKart", tables.accounts);
    fill(*db, "StokKarti", tables.stock);
    db->Close();
    return path;
}

void ConvertTest::sourceSql(const std::string& statement, const std::string& name)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((sourceFolder + "/" + name).c_str(), &db), SQLITE_OK);
    char* message = nullptr;
    const int rc = sqlite3_exec(db, statement.c_str(), nullptr, nullptr, &message);
    EXPECT_EQ(rc, SQLITE_OK) << (message ? message : "");
    sqlite3_free(message);
    sqlite3_close(db);
}

ConversionRequest ConvertTest::request(const std::string& type, const std::string& file) const
{
    ConversionRequest r;
    r.sourceType = SourceTypeFromName(type);
    r.folder = sourceFolder;
    r.fileName = file;
    r.companyCode = " 7 ";
    r.companyName = "Yedi Ltd.";
    r.year = "2005";
    return r;
}

ConversionReport ConvertTest::convert(const ConversionRequest& r) { return run->Cmd_CevrimYap(r); }

std::vector<Row> ConvertTest::rows(const std::string& dbPath, const std::string& table,
                                   const std::string& where)
{
    auto db = dao::Database::OpenDatabase(dbPath, false, true);
    auto rs = db->OpenRecordset("SELECT * FROM " + table + where, dao::RecordsetType::Snapshot);
    std::vector<Row> out;
    const auto names = rs->FieldNames();
    while (!rs->Eof()) {
        Row r;
        for (const auto& n : names)
            r[n] = rs->Field(n);
        out.push_back(r);
        rs->MoveNext();
    }
    rs->Close();
    db->Close();
    return out;
}

std::string ConvertTest::yearDb(const std::string& file, const std::string& code,
                                const std::string& year) const
{
    return dir.str() + "/DATA/" + code + "/" + year + "/" + file;
}

} // namespace ktv::test
