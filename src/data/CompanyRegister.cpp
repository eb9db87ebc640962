// The register works on the open members of the set; statements are built with Quoted,
// so a code holding a quote is looked up as itself.
#include "data/CompanyRegister.h"

#include "app/Tools.h"
#include "data/DaoErrors.h"

namespace ktv {

namespace {

// The year-database record: code, name, then every address, bank and tax column empty.
constexpr const char* kEmptyColumns[] = {
    "KB_Adres1",       "KB_Adres2",     "KB_PostaKod",    "KB_Ilce",         "KB_Sehir",
    "KB_Telefon",      "KB_Fax",        "KB_Mail",        "KB_BankaSubeKod", "KB_BankaSubeAd",
    "KB_BankaHesapNo", "KB_VergiDaire", "KB_VergiSicilNo"};

void addCompanyRecord(dao::Database& db, const std::string& code, const std::string& name)
{
    auto rs = db.OpenRecordset("SELECT * FROM FirmaBilgi WHERE KB_Kod = " + dao::Quoted(code),
                               dao::RecordsetType::Dynaset);
    if (rs->RecordCount() < 1) {
        rs->AddNew();
        rs->SetField("KB_Kod", code);
        rs->SetField("KB_Ad", name);
        for (const char* column : kEmptyColumns)
            rs->SetField(column, std::string());
        rs->Update();
    }
    rs->Close();
}

} // namespace

std::string FirmaAdiBul(CompanyDatabases& set, const std::string& code)
{
    if (!set.IsOpen(CompanyDatabases::Sabit))
        set.VeriTabani_Ac(CompanyDatabases::Sabit);
    auto rs =
        set.Db(CompanyDatabases::Sabit)
            .OpenRecordset("SELECT * FROM FirmaBilgi WHERE SB_FirmaKod = " + dao::Quoted(N_Ts(Value(code))),
                           dao::RecordsetType::Snapshot);
    std::string name;
    if (rs->RecordCount() >= 1) {
        rs->MoveFirst();
        name = N_Ts(rs->Field("SB_FirmaAd"));
    }
    rs->Close();
    if (set.IsOpen(CompanyDatabases::Sabit))
        set.VeriTabani_Kapat(CompanyDatabases::Sabit);
    return name;
}

void Firma_Kaydet(CompanyDatabases& set, const std::string& code, const std::string& name,
                  const std::string& year)
{
    const std::string kod = N_Ts(Value(code));
    const std::string ad = N_Ts(Value(name));
    if (!set.IsOpen(CompanyDatabases::Sabit))
        set.VeriTabani_Ac(CompanyDatabases::Sabit);
    auto rs = set.Db(CompanyDatabases::Sabit)
                  .OpenRecordset("SELECT * FROM FirmaBilgi WHERE SB_FirmaKod = " + dao::Quoted(kod),
                                 dao::RecordsetType::Dynaset);
    if (rs->RecordCount() > 0)
        rs->Edit(); // an existing company takes the name now in the box
    else
        rs->AddNew();
    rs->SetField("SB_FirmaKod", kod);
    rs->SetField("SB_FirmaAd", ad);
    rs->Update();

    set.FirmaKodu = kod;
    set.VedazYili = N_Ts(Value(year));

    // Both year databases now follow the stored code and year.
    set.VeriTabani_Kapat(CompanyDatabases::Ktfim);
    set.VeriTabani_Ac(CompanyDatabases::Ktfim);
    set.VeriTabani_Kapat(CompanyDatabases::Ktchm);
    set.VeriTabani_Ac(CompanyDatabases::Ktchm);

    rs->Close();
    if (set.IsOpen(CompanyDatabases::Sabit))
        set.VeriTabani_Kapat(CompanyDatabases::Sabit);

    if (!set.IsOpen(CompanyDatabases::Ktfim))
        set.VeriTabani_Ac(CompanyDatabases::Ktfim);
    addCompanyRecord(set.Db(CompanyDatabases::Ktfim), kod, ad);
    if (set.IsOpen(CompanyDatabases::Ktfim))
        set.VeriTabani_Kapat(CompanyDatabases::Ktfim);

    if (!set.IsOpen(CompanyDatabases::Ktchm))
        set.VeriTabani_Ac(CompanyDatabases::Ktchm);
    addCompanyRecord(set.Db(CompanyDatabases::Ktchm), kod, ad);
    if (set.IsOpen(CompanyDatabases::Ktchm))
        set.VeriTabani_Kapat(CompanyDatabases::Ktchm);
}

} // namespace ktv
