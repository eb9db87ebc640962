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
    return RunTableLoop(ctx, "AracKarti", {"Kod", "Isim", "Plaka"},
                        [&](const SourceRecord& rec, TableReport& report) {
                            std::string& code = key[0];
                            code = CardKey(rec, column::Kod, report);
                            const auto fill = [&]() -> std::vector<Value>& {
                                fields[0] = Value(code);
                                CutTextInto(fields[1], rec, column::Isim, 50, report);
                                CutTextInto(fields[2], rec, column::Plaka, 15, report);
                                return fields;
                            };
                            if (cards->addIfNew(key, fill, [&] { return "AracKarti Kod '" + code + "'"; }))
                                ++report.added;
                            else
                                ++report.present;
                        });
}

} // namespace ktv
