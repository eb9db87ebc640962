// A card transfer as data: the key a card is looked up by and the target columns in the order
// a new card is written, each with the source column it is made from, the characters kept and
// its conversion. RunTransfer is the one filler that runs such a table over its source table.
#pragma once

#include "convert/TableLoop.h"

#include <cstddef>
#include <span>
#include <string_view>

namespace ktv {

// How the value of a key column is made from a source record.
enum class KeyMade {
    Text,          // the text given, the same for every record (the dealer cards' "BAY")
    CardKey,       // the first 10 characters of N_T of the source column (CardKey)
    StockKindCode, // StockKindCode of N_T of the source column; a record with none is skipped
};

struct KeyColumn {
    std::string_view target; // the target column
    KeyMade made;
    std::string_view from; // the source column, or for KeyMade::Text the text itself
};

// How the value of a target column is made from its source column.
enum class Conversion {
    Key,         // the value of the key column of the same name, as the key made it
    Cut,         // N_T, cut to the characters kept (each cut counted in the report)
    Whole,       // N_T, whole: a memo is never cut
    AsAbove,     // the value of the column above, read and cut once (its cut counted once)
    Number,      // N_TVAL: the numeric text, or 0; the column converts it
    WholeNumber, // N_TVAL rounded to a whole number, halves to the even neighbour (RoundedWhole)
    DealerStatu, // DealerStatu of N_T: 0 for "Çalışıyor", 1 for anything else
};

struct ColumnRow {
    std::string_view target; // the target column
    std::string_view source; // the source column; empty for Conversion::Key
    std::size_t kept;        // the characters kept, for Conversion::Cut and AsAbove; 0 otherwise
    Conversion conversion;
};

struct TransferTable {
    // The source table read; with the key's source columns it names a record in an error
    // ("StokKarti Tip 'U' Kod 'K1'").
    std::string_view source;
    std::string_view target; // the target table written
    std::span<const KeyColumn> key;
    std::span<const ColumnRow> columns; // in the order a new card's values are written
};

// One pass of the table loop: for every source record the key is made (a record whose stock
// kind is unknown is skipped), the card looked up, and a new card filled and added. The key
// and the card's values are made once for the table and filled in place record by record.
TableReport RunTransfer(TransferContext& ctx, const TransferTable& table);

// Whether a table holds together, checked where each table is written (static_assert): every
// key column has exactly one Key row and every Key row a key column, every other row a source
// column, a cut a length, and a row AsAbove the same source and length as the Cut row above it.
constexpr bool WellFormed(const TransferTable& t)
{
    for (const KeyColumn& k : t.key) {
        if (k.from.empty())
            return false;
        int rows = 0;
        for (const ColumnRow& c : t.columns)
            rows += c.conversion == Conversion::Key && c.target == k.target;
        if (rows != 1)
            return false;
    }
    for (std::size_t i = 0; i < t.columns.size(); ++i) {
        const ColumnRow& c = t.columns[i];
        switch (c.conversion) {
        case Conversion::Key: {
            bool found = false;
            for (const KeyColumn& k : t.key)
                found = found || k.target == c.target;
            if (!found || !c.source.empty() || c.kept != 0)
                return false;
            break;
        }
        case Conversion::Cut:
            if (c.source.empty() || c.kept == 0)
                return false;
            break;
        case Conversion::AsAbove:
            if (i == 0 || t.columns[i - 1].conversion != Conversion::Cut ||
                t.columns[i - 1].source != c.source || t.columns[i - 1].kept != c.kept)
                return false;
            break;
        default:
            if (c.source.empty() || c.kept != 0)
                return false;
        }
    }
    return true;
}

} // namespace ktv
