// Vehicle card transfer: every source vehicle whose code is new becomes a target card.
#include "convert/Transfers.h"

namespace ktv {

TableReport Vedaz_AracKarti(TransferContext& ctx)
{
    return RunTableLoop(ctx, "AracKarti", [&](const dao::Recordset& rs, TableReport& report) {
        const std::string key = CardKey(rs, "Kod", report);
        const std::vector<CardField> fields = {
            {"AracKod", Value(key)},
            {"SurucuAd", Value(Cut(FieldText(rs, "Isim"), 50, report))},
            {"AracPlaka", Value(Cut(FieldText(rs, "Plaka"), 15, report))},
        };
        if (ctx.target.addIfNew("AracKarti", {{"AracKod", key}}, fields, "AracKarti Kod '" + key + "'"))
            ++report.added;
        else
            ++report.present;
    });
}

} // namespace ktv
