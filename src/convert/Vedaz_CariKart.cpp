// Dealer card transfer: every source current account whose code is not yet a dealer card
// ("BAY") in the target becomes one. Cards of other types are neither read nor touched.
#include "convert/Transfers.h"

#include "app/Tools.h"

namespace ktv {

int DealerStatu(const std::string& durum) { return durum == "Çalışıyor" ? 0 : 1; }

TableReport Vedaz_CariKart(TransferContext& ctx)
{
    return RunTableLoop(ctx, "CariKart", [&](const dao::Recordset& rs, TableReport& report) {
        const std::string key = CardKey(rs, "Kod", report);
        const std::string telFaks = FieldText(rs, "TelFaks");
        TableReport telCut; // the fax repeats the phone's cut; count it once
        const std::string phone = Cut(telFaks, 15, telCut);
        report.cut += telCut.cut;
        const std::vector<CardField> fields = {
            {"Tip", Value("BAY")},
            {"Kod", Value(key)},
            {"Ad", Value(Cut(FieldText(rs, "Isim"), 50, report))},
            {"Yetkili", Value(Cut(FieldText(rs, "Yetkili"), 100, report))},
            {"AracKod", Value(Cut(FieldText(rs, "AracKod"), 10, report))},
            {"Adres", Value(FieldText(rs, "Adres"))},
            {"SemtIlce", Value(Cut(FieldText(rs, "Semt"), 50, report))},
            {"Sehir", Value(Cut(FieldText(rs, "Sehir"), 50, report))},
            {"Telefon", Value(phone)},
            {"Fax", Value(phone)},
            {"VergiDaire", Value(Cut(FieldText(rs, "VD"), 50, report))},
            {"VergiNo", Value(Cut(FieldText(rs, "VN"), 50, report))},
            {"KrediLimit", N_TVAL(rs.Field("Kredi"))},
            {"Statu", Value(DealerStatu(FieldText(rs, "Durum")))},
        };
        if (ctx.target.addIfNew("CariKart", {{"Tip", "BAY"}, {"Kod", key}}, fields, "CariKart Kod '" + key + "'"))
            ++report.added;
        else
            ++report.present;
    });
}

} // namespace ktv
