// A temporary program folder with the templates, a source file builder and a host that
// records what the run did to its window.
#pragma once

#include "app/Value.h"
#include "convert/ConversionRun.h"
#include "data/CompanyDatabases.h"
#include "data/Dao.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace ktv::test {

class RecordingHost final : public ConversionHost {
public:
    bool confirm(const std::string& text, const std::string& title) override
    {
        confirmations.push_back(text + "|" + title);
        return answerYes;
    }
    void setWaitCursor(bool on) override { cursor.push_back(on); }
    void setProgressVisible(bool v) override { visible.push_back(v); }
    void setProgressMax(int m) override { max = m; }
    void setProgressMin(int m) override { min = m; }
    void setProgressValue(int v) override
    {
        value = v;
        if (v >= max && max > 0)
            finals.push_back(v);
    }
    int progressValue() const override { return value; }
    void processEvents() override { ++pumps; }
    void showMessage(const std::string& text, const std::string& title) override
    {
        messages.push_back(text + "|" + title);
    }

    bool answerYes = true;
    std::vector<std::string> confirmations, messages;
    std::vector<bool> cursor, visible;
    std::vector<int> finals; // the bar's value each time it reached its maximum
    int max = -1, min = -1, value = 0, pumps = 0;
};

using Row = std::map<std::string, Value>;

struct SourceTables {
    std::vector<Row> vehicles{};
    std::vector<Row> accounts{};
    std::vector<Row> stock{};
};

class ConvertTest : public ::testing::Test {
protected:
    void SetUp() override;

    // Writes a source file into the source folder; password 7183 unless told otherwise.
    std::string makeSource(const SourceTables& tables, const std::string& name = "kaynak.ktd",
                           const std::string& password = "7183");

    // Runs a statement on the source file as another SQLite tool would, bytes as they are.
    void sourceSql(const std::string& statement, const std::string& name = "kaynak.ktd");

    ConversionRequest request(const std::string& type = "KTD", const std::string& file = "kaynak.ktd") const;
    ConversionReport convert(const ConversionRequest& r);

    // Every record of a table of a year database, columns as text.
    std::vector<Row> rows(const std::string& dbPath, const std::string& table, const std::string& where = "");
    std::string yearDb(const std::string& file, const std::string& code = "7",
                       const std::string& year = "2005") const;

    TempDir dir;
    std::string sourceFolder;
    RecordingHost host;
    CompanyDatabases set;
    std::unique_ptr<ConversionRun> run;
};

} // namespace ktv::test
