// Stock card transfer: cards of the three known kinds become target cards keyed by kind
// code and code; every other kind is skipped.
#include "convert/Transfers.h"

#include "app/Tools.h"
#include "data/ColumnType.h"
#include "platform/core/NumberFormat.h"


namespace ktv {

std::string StockKindCode(const std::string& kind)
{
    if (kind == "Ürün")
        return "U";
    if (kind == "Ara Ürün")
        return "A";
    if (kind == "Malzeme")
        return "M";
    return {};
}

Value RoundedWhole(const Value& numericTextOrZero)
{
    const auto number = parseNumber(numericTextOrZero.toText());
    if (!number)
        return Value(0);
    // Banker's rounding, as the runtime's conversion to a whole number does.
    const double r = dao::roundHalfEven(*number);
    if (r >= -9.2e18 && r <= 9.2e18)
        return Value(static_cast<std::int64_t>(r));
    return Value(r); // far out of range: the column refuses it with an overflow
}

TableReport Vedaz_StokKart(TransferContext& ctx)
{
    return RunTableLoop(ctx, "StokKarti", [&](const dao::Recordset& rs, TableReport& report) {
        // A fresh kind code for every record: a skipped card never passes its kind on.
        const std::string kind = StockKindCode(FieldText(rs, "Tip"));
        if (kind.empty()) {
            ++report.skipped;
            return;
        }
        const std::string key = CardKey(rs, "Kod", report);
        const std::vector<CardField> fields = {
            {"Tip", Value(kind)},
            {"Kod", Value(key)},
            {"Ad", Value(Cut(FieldText(rs, "Isim"), 50, report))},
            {"Birim1", Value(Cut(FieldText(rs, "Birim1"), 10, report))},
            {"Katsayi", RoundedWhole(N_TVAL(rs.Field("Katsayi")))},
            {"Birim2", Value(Cut(FieldText(rs, "Birim2"), 10, report))},
            {"KDV", RoundedWhole(N_TVAL(rs.Field("KDV")))},
            {"Durum", Value(Cut(FieldText(rs, "Duzey"), 3, report))},
        };
        if (ctx.target.addIfNew("StokKart", {{"Tip", kind}, {"Kod", key}}, fields,
                                "StokKarti Tip '" + kind + "' Kod '" + key + "'"))
            ++report.added;
        else
            ++report.present;
    });
}

} // namespace ktv
