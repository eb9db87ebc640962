#include "convert/ConversionRun.h"

#include "app/AppPath.h"
#include "app/AppPathLayout.h"
#include "app/Tools.h"
#include "convert/Transfers.h"
#include "data/CompanyRegister.h"
#include "data/TemplateSchemas.h"
#include "platform/core/NumberFormat.h"

#include <filesystem>

namespace ktv {

namespace {

// Vehicle, dealer and stock cards, in that order.
std::vector<TableReport> RunTransfers(TransferContext& ctx)
{
    std::vector<TableReport> tables;
    tables.push_back(Vedaz_AracKarti(ctx));
    tables.push_back(Vedaz_CariKart(ctx));
    tables.push_back(Vedaz_StokKart(ctx));
    return tables;
}

// Which number format the run reads numbers in.
void NoteNumberFormat(ConversionReport& report)
{
    const NumberFormat& format = NumberFormat::current();
    report.numberFormat = NumberFormat::currentName();
    report.decimalSeparator = format.decimal;
    report.groupSeparator = format.group;
}

// Clears the running flag however the run ends.
struct RunningGuard {
    bool& flag;
    explicit RunningGuard(bool& f) : flag(f) { flag = true; }
    ~RunningGuard() { flag = false; }
};

} // namespace

ConversionRun::ConversionRun(CompanyDatabases& set, ConversionHost& host) : m_set(set), m_host(host) {}

ConversionRun::~ConversionRun() = default;

std::string ConversionRun::SourcePath(const ConversionRequest& request)
{
    return request.folder + "/" + request.fileName;
}

ConversionReport ConversionRun::Cmd_CevrimYap(const ConversionRequest& request)
{
    ConversionReport report;
    if (m_running)
        return report; // a click while a run yields to events starts nothing
    RunningGuard guard(m_running);

    if (!request.sourceType) {
        // Without a source type there is no year database to write into; say so before
        // anything is changed instead of failing half-way.
        m_host.showMessage("Lütfen kaynak dosya tipini (KTD/PVD) seçiniz.", request.formCaption);
        return report;
    }
    const CompanyDatabases::Member member = TargetMember(*request.sourceType);
    if (request.askConfirmation && !m_host.confirm("Çevrim yapmak istiyor musunuz ?", request.formCaption))
        return report;
    report.confirmed = true;
    NoteNumberFormat(report);
    if (request.dryRun)
        return dryRun(request);

    m_host.setWaitCursor(true);
    m_host.setProgressVisible(true);

    const std::string code = N_Ts(Value(request.companyCode));
    const std::string year = N_Ts(Value(request.year));
    if (m_set.Server.empty()) {
        MakePath(DataFolder());
        MakePath(DataFolder() + "/" + code);
        MakePath(DataFolder() + "/" + code + "/" + year);
    }

    Firma_Kaydet(m_set, request.companyCode, request.companyName, request.year);

    if (!m_set.IsOpen(member))
        m_set.VeriTabani_Ac(member);
    report.target = m_set.MemberPath(member);

    m_source.reset(); // the new handle replaces the previous run's
    // Only read: never locked for writing, changed or given files beside it.
    m_source =
        dao::Database::OpenDatabase(SourcePath(request), false, true, std::string(";pwd=") + kSourcePassword);

    // A year database that failed to open (already reported) leaves the lookups nothing to
    // run on: Db() fails as an unset object, and the run ends there.
    DatabaseCardTarget target(m_set.Db(member));
    TransferContext ctx{*m_source, target, m_host};
    report.tables = RunTransfers(ctx);

    if (m_set.IsOpen(member))
        m_set.VeriTabani_Kapat(member);
    m_host.setProgressVisible(false);
    m_host.setWaitCursor(false);
    m_host.showMessage("Çevrim işlemi tamamlandı...", "KTVedaz");
    return report;
}

ConversionReport ConversionRun::dryRun(const ConversionRequest& request)
{
    ConversionReport report;
    report.confirmed = true;
    report.dryRun = true;
    NoteNumberFormat(report);
    const CompanyDatabases::Member member = TargetMember(*request.sourceType);
    CompanyDatabases probe; // only for the member's path; nothing is opened through it
    probe.FirmaKodu = N_Ts(Value(request.companyCode));
    probe.VedazYili = N_Ts(Value(request.year));
    probe.Server = m_set.Server;
    report.target = probe.MemberPath(member);

    auto source =
        dao::Database::OpenDatabase(SourcePath(request), false, true, std::string(";pwd=") + kSourcePassword);
    std::unique_ptr<dao::Database> existing;
    if (!probe.Server.empty()) // read only, and a missing schema is not made
        existing = dao::Database::OpenServer(probe.Server, probe.ServerSchema(member), TemplateSchema(member),
                                             false, true);
    else if (std::filesystem::exists(report.target))
        existing = dao::Database::OpenDatabase(report.target, false, true, "");
    DryRunCardTarget target(existing.get(), TemplateSchema(member));
    TransferContext ctx{*source, target, m_host};
    report.tables = RunTransfers(ctx);
    return report;
}

} // namespace ktv
