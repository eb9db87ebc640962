// Dealer card transfer: every source current account whose code is not yet a dealer card
// ("BAY") in the target becomes one. Cards of other types are neither read nor touched.
#include "convert/Transfers.h"

#include "app/Tools.h"

namespace ktv {

namespace {
namespace column {
enum : std::size_t { Kod, Isim, Yetkili, AracKod, Adres, Semt, Sehir, TelFaks, VD, VN, Kredi, Durum };
} // namespace column
} // namespace

int DealerStatu(const std::string& durum) { return durum == "Çalışıyor" ? 0 : 1; }

TableReport Vedaz_CariKart(TransferContext& ctx)
{
    // The card's columns in the order they are written, named once for the whole table.
    const auto cards = ctx.target.table({"CariKart",
                                         {"Tip", "Kod"},
                                         {"Tip", "Kod", "Ad", "Yetkili", "AracKod", "Adres", "SemtIlce", "Sehir",
                                          "Telefon", "Fax", "VergiDaire", "VergiNo", "KrediLimit", "Statu"}});
    std::vector<std::string> key = {"BAY", {}};
    std::vector<Value> fields(14);
    const std::vector<std::string> source = {"Kod",    "Isim",    "Yetkili", "AracKod", "Adres", "Semt",
                                             "Sehir",  "TelFaks", "VD",      "VN",      "Kredi", "Durum"};
    return RunTableLoop(ctx, "CariKart", source, [&](const SourceRecord& rec, TableReport& report) {
        std::string& code = key[1];
        code = CardKey(rec, column::Kod, report);
        const auto fill = [&]() -> std::vector<Value>& {
            TableReport telCut; // the fax repeats the phone's cut; count it once
            std::string phone = Cut(rec.text(column::TelFaks), 15, telCut);
            report.cut += telCut.cut;
            fields[0] = Value("BAY");
            fields[1] = Value(code);
            fields[2] = Value(Cut(rec.text(column::Isim), 50, report));
            fields[3] = Value(Cut(rec.text(column::Yetkili), 100, report));
            fields[4] = Value(Cut(rec.text(column::AracKod), 10, report));
            fields[5] = Value(rec.text(column::Adres));
            fields[6] = Value(Cut(rec.text(column::Semt), 50, report));
            fields[7] = Value(Cut(rec.text(column::Sehir), 50, report));
            fields[8] = Value(phone);
            fields[9] = Value(std::move(phone));
            fields[10] = Value(Cut(rec.text(column::VD), 50, report));
            fields[11] = Value(Cut(rec.text(column::VN), 50, report));
            fields[12] = N_TVAL(rec.value(column::Kredi));
            fields[13] = Value(DealerStatu(rec.text(column::Durum)));
            return fields;
        };
        if (cards->addIfNew(key, fill, [&] { return "CariKart Kod '" + code + "'"; }))
            ++report.added;
        else
            ++report.present;
    });
}

} // namespace ktv
