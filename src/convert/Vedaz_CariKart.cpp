// Dealer card transfer: every source current account whose code is not yet a dealer card
// ("BAY") in the target becomes one. Cards of other types are neither read nor touched.
#include "convert/Transfers.h"

#include "app/Tools.h"

namespace ktv {

int DealerStatu(const std::string& durum) { return durum == "Çalışıyor" ? 0 : 1; }

TableReport Vedaz_CariKart(TransferContext& ctx)
{
    // The card's columns in the order they are written, named once for the whole table.
    std::vector<CardField> fields = {
        {"Tip", {}},      {"Kod", {}},   {"Ad", {}},         {"Yetkili", {}}, {"AracKod", {}},
        {"Adres", {}},    {"SemtIlce", {}}, {"Sehir", {}},   {"Telefon", {}}, {"Fax", {}},
        {"VergiDaire", {}}, {"VergiNo", {}}, {"KrediLimit", {}}, {"Statu", {}},
    };
    std::vector<KeyCondition> key = {{"Tip", "BAY"}, {"Kod", {}}};
    return RunTableLoop(ctx, "CariKart", [&](const dao::Recordset& rs, TableReport& report) {
        std::string& code = key[1].second;
        code = CardKey(rs, "Kod", report);
        const auto fill = [&]() -> std::vector<CardField>& {
            TableReport telCut; // the fax repeats the phone's cut; count it once
            std::string phone = Cut(FieldText(rs, "TelFaks"), 15, telCut);
            report.cut += telCut.cut;
            fields[0].second = Value("BAY");
            fields[1].second = Value(code);
            fields[2].second = Value(Cut(FieldText(rs, "Isim"), 50, report));
            fields[3].second = Value(Cut(FieldText(rs, "Yetkili"), 100, report));
            fields[4].second = Value(Cut(FieldText(rs, "AracKod"), 10, report));
            fields[5].second = Value(FieldText(rs, "Adres"));
            fields[6].second = Value(Cut(FieldText(rs, "Semt"), 50, report));
            fields[7].second = Value(Cut(FieldText(rs, "Sehir"), 50, report));
            fields[8].second = Value(phone);
            fields[9].second = Value(std::move(phone));
            fields[10].second = Value(Cut(FieldText(rs, "VD"), 50, report));
            fields[11].second = Value(Cut(FieldText(rs, "VN"), 50, report));
            fields[12].second = N_TVAL(rs.Field("Kredi"));
            fields[13].second = Value(DealerStatu(FieldText(rs, "Durum")));
            return fields;
        };
        if (ctx.target.addIfNew("CariKart", key, fill, [&] { return "CariKart Kod '" + code + "'"; }))
            ++report.added;
        else
            ++report.present;
    });
}

} // namespace ktv
