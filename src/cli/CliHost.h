// The conversion host of the command-line tool: no confirmation, progress on the standard
// error stream when it is a terminal, messages there too.
#pragma once

#include "cli/ProgressLine.h"
#include "convert/ConversionHost.h"

#include <string>

namespace ktv::cli {

class CliHost final : public ConversionHost {
public:
    explicit CliHost(bool showProgress) : m_progress(showProgress) {}
    bool confirm(const std::string&, const std::string&) override { return true; }
    void setWaitCursor(bool) override {}
    void setProgressVisible(bool visible) override;
    void setProgressTable(const std::string& table) override { m_table = table; }
    void setProgressMax(int max) override;
    void setProgressMin(int) override {}
    void setProgressValue(int value) override;
    int progressValue() const override { return m_value; }
    void processEvents() override {}
    void showMessage(const std::string& text, const std::string& title) override;

private:
    ProgressLine m_progress; // cleared when the host goes, before the error of a failed run
    std::string m_table;
    int m_value = 0;
};

} // namespace ktv::cli
