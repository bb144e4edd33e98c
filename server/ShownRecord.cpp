#include "ShownRecord.hpp"

std::optional<ShownRecord> shownRecord(TableCache& tables, ScoreStore& store, int mode, int levelId,
                                       std::size_t position) {
    const auto shown = tables.table(mode, levelId);
    if (!shown) {
        return std::nullopt;
    }
    ShownRecord record;
    if (position == 0 || position > shown->rows.size()) {
        return record;
    }
    record.row = shown->rows[position - 1];
    if (!record.row->verified) {
        return record;
    }
    auto verified = store.verifiedBest(mode, levelId, record.row->name);
    if (!verified) {
        return std::nullopt;
    }
    record.verified = std::move(*verified);
    return record;
}
