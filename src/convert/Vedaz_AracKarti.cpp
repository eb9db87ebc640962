// Vehicle card transfer: every source vehicle whose code is new becomes a target card.
#include "convert/Transfers.h"

namespace ktv {

namespace {
namespace column {
enum : std::size_t { Kod, Isim, Plaka };
} // namespace column
} // namespace

TableReport Vedaz_AracKarti(TransferContext& ctx)
{
    // Named once; every record only fills in the values.
    const auto cards = ctx.target.table({"AracKarti", {"AracKod"}, {"AracKod", "SurucuAd", "AracPlaka"}});
    std::vector<std::string> key(1);
    std::vector<Value> fields(3);
    return RunTableLoop(ctx, "AracKarti", {"Kod", "Isim", "Plaka"}, [&](const SourceRecord& rec, TableReport& report) {
        std::string& code = key[0];
        code = CardKey(rec, column::Kod, report);
        const auto fill = [&]() -> std::vector<Value>& {
            fields[0] = Value(code);
            fields[1] = Value(Cut(rec.text(column::Isim), 50, report));
            fields[2] = Value(Cut(rec.text(column::Plaka), 15, report));
            return fields;
        };
        if (cards->addIfNew(key, fill, [&] { return "AracKarti Kod '" + code + "'"; }))
            ++report.added;
        else
            ++report.present;
    });
}

} // namespace ktv
