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
    // The card's columns in the order they are written, named once for the whole table.
    std::vector<CardField> fields = {{"Tip", {}},     {"Kod", {}},    {"Ad", {}},  {"Birim1", {}},
                                     {"Katsayi", {}}, {"Birim2", {}}, {"KDV", {}}, {"Durum", {}}};
    std::vector<KeyCondition> key = {{"Tip", {}}, {"Kod", {}}};
    return RunTableLoop(ctx, "StokKarti", [&](const dao::Recordset& rs, TableReport& report) {
        // A fresh kind code for every record: a skipped card never passes its kind on.
        std::string& kind = key[0].second;
        kind = StockKindCode(FieldText(rs, "Tip"));
        if (kind.empty()) {
            ++report.skipped;
            return;
        }
        std::string& code = key[1].second;
        code = CardKey(rs, "Kod", report);
        const auto fill = [&]() -> std::vector<CardField>& {
            fields[0].second = Value(kind);
            fields[1].second = Value(code);
            fields[2].second = Value(Cut(FieldText(rs, "Isim"), 50, report));
            fields[3].second = Value(Cut(FieldText(rs, "Birim1"), 10, report));
            fields[4].second = RoundedWhole(N_TVAL(rs.Field("Katsayi")));
            fields[5].second = Value(Cut(FieldText(rs, "Birim2"), 10, report));
            fields[6].second = RoundedWhole(N_TVAL(rs.Field("KDV")));
            fields[7].second = Value(Cut(FieldText(rs, "Duzey"), 3, report));
            return fields;
        };
        if (ctx.target.addIfNew("StokKart", key, fill,
                                [&] { return "StokKarti Tip '" + kind + "' Kod '" + code + "'"; }))
            ++report.added;
        else
            ++report.present;
    });
}

} // namespace ktv
