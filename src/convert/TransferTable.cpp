#include "convert/TransferTable.h"

#include "app/Tools.h"
#include "convert/Transfers.h"

#include <algorithm>

namespace ktv {

namespace {

// A transfer table made ready for its run: the source columns named once (the key's first,
// then the rows', in the order a record reads them), each row's and key column's place in
// that list, and the key and values of a card, made once and filled in place record by record.
class TransferFiller {
public:
    TransferFiller(TransferContext& ctx, const TransferTable& table)
        : m_table(table), m_key(table.key.size()), m_keySource(table.key.size()),
          m_fields(table.columns.size()), m_rowSource(table.columns.size())
    {
        dao::CardLayout layout;
        layout.table = std::string(table.target);
        for (std::size_t j = 0; j < table.key.size(); ++j) {
            const KeyColumn& k = table.key[j];
            layout.keyColumns.emplace_back(k.target);
            if (k.made == KeyMade::Text)
                m_key[j] = std::string(k.from); // never changes: the key is only read
            else
                m_keySource[j] = sourceColumn(k.from);
        }
        for (std::size_t i = 0; i < table.columns.size(); ++i) {
            const ColumnRow& c = table.columns[i];
            layout.columns.emplace_back(c.target);
            if (c.conversion == Conversion::Key)
                m_rowSource[i] = keyPlace(c.target);
            else
                m_rowSource[i] = sourceColumn(c.source);
        }
        m_cards = ctx.target.table(std::move(layout));
    }

    const std::vector<std::string>& sourceColumns() const { return m_sources; }

    void step(const SourceRecord& record, TableReport& report)
    {
        m_record = &record;
        m_report = &report;
        for (std::size_t j = 0; j < m_table.key.size(); ++j) {
            switch (m_table.key[j].made) {
            case KeyMade::Text: break;
            case KeyMade::CardKey: m_key[j] = CardKey(record, m_keySource[j], report); break;
            case KeyMade::StockKindCode:
                // Made anew for every record: a skipped card never passes its kind on.
                m_key[j] = StockKindCode(record.text(m_keySource[j]));
                if (m_key[j].empty()) {
                    ++report.skipped;
                    return;
                }
                break;
            }
        }
        // Both ask for this object alone, so neither is copied to the heap record by record.
        if (m_cards->addIfNew(
                m_key, [this]() -> std::vector<Value>& { return fill(); }, [this] { return errorContext(); }))
            ++report.added;
        else
            ++report.present;
    }

private:
    std::size_t sourceColumn(std::string_view name)
    {
        const auto at = std::find(m_sources.begin(), m_sources.end(), name);
        if (at != m_sources.end())
            return static_cast<std::size_t>(at - m_sources.begin());
        m_sources.emplace_back(name);
        return m_sources.size() - 1;
    }

    std::size_t keyPlace(std::string_view target) const
    {
        std::size_t j = 0;
        while (m_table.key[j].target != target)
            ++j;
        return j;
    }

    // The new card's values, in the layout's order; asked only when the card is to be added.
    std::vector<Value>& fill()
    {
        const SourceRecord& record = *m_record;
        TableReport& report = *m_report;
        for (std::size_t i = 0; i < m_fields.size(); ++i) {
            const ColumnRow& c = m_table.columns[i];
            const std::size_t from = m_rowSource[i];
            Value& field = m_fields[i];
            switch (c.conversion) {
            case Conversion::Key: field = Value(m_key[from]); break;
            case Conversion::Cut: CutTextInto(field, record, from, c.kept, report); break;
            case Conversion::Whole: record.textInto(from, field); break;
            case Conversion::AsAbove: field = m_fields[i - 1]; break;
            case Conversion::Number: field = N_TVAL(record.value(from)); break;
            case Conversion::WholeNumber: field = RoundedWhole(N_TVAL(record.value(from))); break;
            case Conversion::DealerStatu: field = Value(DealerStatu(record.text(from))); break;
            }
        }
        return m_fields;
    }

    // The source record an error happened on: its table and its key's source columns.
    std::string errorContext() const
    {
        std::string text(m_table.source);
        for (std::size_t j = 0; j < m_table.key.size(); ++j)
            if (m_table.key[j].made != KeyMade::Text)
                text.append(" ").append(m_table.key[j].from).append(" '").append(m_key[j]).append("'");
        return text;
    }

    const TransferTable& m_table;
    std::vector<std::string> m_sources;
    std::vector<std::string> m_key;
    std::vector<std::size_t> m_keySource; // per key column: its source column (not for Text)
    std::vector<Value> m_fields;
    std::vector<std::size_t> m_rowSource; // per row: its source column, or for Key its key column
    std::unique_ptr<CardTable> m_cards;
    const SourceRecord* m_record = nullptr; // the record being stepped
    TableReport* m_report = nullptr;
};

} // namespace

TableReport RunTransfer(TransferContext& ctx, const TransferTable& table)
{
    TransferFiller filler(ctx, table);
    return RunTableLoop(
        ctx, std::string(table.source), filler.sourceColumns(),
        [&](const SourceRecord& record, TableReport& report) { filler.step(record, report); });
}

} // namespace ktv
