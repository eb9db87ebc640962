// Vehicle card transfer: every source vehicle whose code is new becomes a target card.
#include "convert/Transfers.h"

namespace ktv {

TableReport Vedaz_AracKarti(TransferContext& ctx)
{
    // Named once; every record only fills in the values.
    std::vector<CardField> fields = {{"AracKod", {}}, {"SurucuAd", {}}, {"AracPlaka", {}}};
    std::vector<KeyCondition> key = {{"AracKod", {}}};
    return RunTableLoop(ctx, "AracKarti", [&](const dao::Recordset& rs, TableReport& report) {
        std::string& code = key[0].second;
        code = CardKey(rs, "Kod", report);
        const auto fill = [&]() -> std::vector<CardField>& {
            fields[0].second = Value(code);
            fields[1].second = Value(Cut(FieldText(rs, "Isim"), 50, report));
            fields[2].second = Value(Cut(FieldText(rs, "Plaka"), 15, report));
            return fields;
        };
        if (ctx.target.addIfNew("AracKarti", key, fill, [&] { return "AracKarti Kod '" + code + "'"; }))
            ++report.added;
        else
            ++report.present;
    });
}

} // namespace ktv
