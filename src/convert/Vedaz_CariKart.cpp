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
    const auto cards =
        ctx.target.table({"CariKart",
                          {"Tip", "Kod"},
                          {"Tip", "Kod", "Ad", "Yetkili", "AracKod", "Adres", "SemtIlce", "Sehir", "Telefon",
                           "Fax", "VergiDaire", "VergiNo", "KrediLimit", "Statu"}});
    std::vector<std::string> key = {"BAY", {}};
    std::vector<Value> fields(14);
    const std::vector<std::string> source = {"Kod",   "Isim",    "Yetkili", "AracKod", "Adres", "Semt",
                                             "Sehir", "TelFaks", "VD",      "VN",      "Kredi", "Durum"};
    return RunTableLoop(ctx, "CariKart", source, [&](const SourceRecord& rec, TableReport& report) {
        std::string& code = key[1];
        code = CardKey(rec, column::Kod, report);
        const auto fill = [&]() -> std::vector<Value>& {
            fields[0] = Value("BAY");
            fields[1] = Value(code);
            CutTextInto(fields[2], rec, column::Isim, 50, report);
            CutTextInto(fields[3], rec, column::Yetkili, 100, report);
            CutTextInto(fields[4], rec, column::AracKod, 10, report);
            rec.textInto(column::Adres, fields[5]);
            CutTextInto(fields[6], rec, column::Semt, 50, report);
            CutTextInto(fields[7], rec, column::Sehir, 50, report);
            // The fax repeats the phone, and its cut is counted once.
            CutTextInto(fields[8], rec, column::TelFaks, 15, report);
            fields[9] = fields[8];
            CutTextInto(fields[10], rec, column::VD, 50, report);
            CutTextInto(fields[11], rec, column::VN, 50, report);
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
