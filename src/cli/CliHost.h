// The conversion host of the command-line tool: no confirmation, progress on the standard
// error stream when it is a terminal, messages there too.
#pragma once

#include "convert/ConversionHost.h"

#include <chrono>
#include <string>

namespace ktv::cli {

class CliHost final : public ConversionHost {
public:
    explicit CliHost(bool showProgress);
    bool confirm(const std::string&, const std::string&) override { return true; }
    void setWaitCursor(bool) override {}
    void setProgressVisible(bool visible) override;
    void setProgressMax(int max) override { m_max = max; }
    void setProgressMin(int) override {}
    void setProgressValue(int value) override;
    int progressValue() const override { return m_value; }
    void processEvents() override {}
    void showMessage(const std::string& text, const std::string& title) override;

private:
    bool m_show;
    int m_max = 0;
    int m_value = 0;
    std::chrono::steady_clock::time_point m_lastDraw{};
};

} // namespace ktv::cli
