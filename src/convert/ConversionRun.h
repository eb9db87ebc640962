// The conversion run behind the convert button: confirmation, target folders, the company
// register step, the year database of the source type, the password-protected source, and
// the three table transfers, each one pass of the table loop.
#pragma once

#include "convert/ConversionHost.h"
#include "convert/ConversionReport.h"
#include "convert/SourceType.h"
#include "data/CompanyDatabases.h"
#include "data/Dao.h"

#include <memory>
#include <optional>
#include <string>

namespace ktv {

struct ConversionRequest {
    std::optional<SourceType> sourceType; // the entry of Cbo_KtdPvd; none when none is chosen
    std::string folder;                   // text of Txt_Klasor
    std::string fileName;                 // text of Txt_SecilenDosya
    std::string companyCode;              // text of Cbo_FirmaKodu
    std::string companyName;              // text of Txt_FirmaAdi
    std::string year;                     // text of Cbo_VedazYili
    std::string formCaption = " V4KT";
    bool askConfirmation = true;
    bool dryRun = false; // read source and target, report what would be added, write nothing
};

inline constexpr const char* kSourcePassword = "7183";

class ConversionRun {
public:
    ConversionRun(CompanyDatabases& set, ConversionHost& host);
    ~ConversionRun();

    // The click of Cmd_CevrimYap. Engine failures are not caught here: they reach the
    // caller, which reports them as unhandled; what was stored before stays stored.
    ConversionReport Cmd_CevrimYap(const ConversionRequest& request);

    bool running() const { return m_running; }

    // The source path the run opens: the folder box, a separator, the file box.
    static std::string SourcePath(const ConversionRequest& request);

private:
    ConversionReport dryRun(const ConversionRequest& request);

    CompanyDatabases& m_set;
    ConversionHost& m_host;
    std::unique_ptr<dao::Database> m_source; // kept until the next run, as the form keeps it
    bool m_running = false;
};

} // namespace ktv
