// Stock card transfer: cards of the three known kinds become target cards keyed by kind
// code and code; every other kind is skipped.
#include "convert/Transfers.h"

#include "app/Tools.h"
#include "data/ColumnType.h"
#include "platform/core/NumberFormat.h"

namespace ktv {

namespace {
namespace column {
enum : std::size_t { Tip, Kod, Isim, Birim1, Katsayi, Birim2, KDV, Duzey };
} // namespace column
} // namespace

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
    const auto cards = ctx.target.table(
        {"StokKart", {"Tip", "Kod"}, {"Tip", "Kod", "Ad", "Birim1", "Katsayi", "Birim2", "KDV", "Durum"}});
    std::vector<std::string> key(2);
    std::vector<Value> fields(8);
    const std::vector<std::string> source = {"Tip",     "Kod",    "Isim", "Birim1",
                                             "Katsayi", "Birim2", "KDV",  "Duzey"};
    return RunTableLoop(ctx, "StokKarti", source, [&](const SourceRecord& rec, TableReport& report) {
        // A fresh kind code for every record: a skipped card never passes its kind on.
        std::string& kind = key[0];
        kind = StockKindCode(rec.text(column::Tip));
        if (kind.empty()) {
            ++report.skipped;
            return;
        }
        std::string& code = key[1];
        code = CardKey(rec, column::Kod, report);
        const auto fill = [&]() -> std::vector<Value>& {
            fields[0] = Value(kind);
            fields[1] = Value(code);
            CutTextInto(fields[2], rec, column::Isim, 50, report);
            CutTextInto(fields[3], rec, column::Birim1, 10, report);
            fields[4] = RoundedWhole(N_TVAL(rec.value(column::Katsayi)));
            CutTextInto(fields[5], rec, column::Birim2, 10, report);
            fields[6] = RoundedWhole(N_TVAL(rec.value(column::KDV)));
            CutTextInto(fields[7], rec, column::Duzey, 3, report);
            return fields;
        };
        if (cards->addIfNew(key, fill, [&] { return "StokKarti Tip '" + kind + "' Kod '" + code + "'"; }))
            ++report.added;
        else
            ++report.present;
    });
}

} // namespace ktv
