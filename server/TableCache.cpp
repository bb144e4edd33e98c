#include "TableCache.hpp"

#include "sim/base/PlainDecimal.hpp"

namespace {

std::string gameAnswerOf(const std::vector<BestTime>& rows) {
    std::string text;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const BestTime& row = rows[i];
        const std::string_view mark = row.verified ? kVerifiedDayMark : "";
        text += std::to_string(i + 1) + "\t" + row.day + std::string(mark) + "\t" + row.name +
                "\t" + plainDecimal(row.seconds) + "\n";
    }
    return text;
}

}  // namespace

TableCache::TableCache(ScoreStore& store, std::chrono::milliseconds maxAge, bool verifiedOnly)
    : store(store), maxAge(maxAge), verifiedOnly(verifiedOnly) {}

std::shared_ptr<const CachedTable> TableCache::tableInMemory(int mode, int levelId) {
    std::lock_guard lock(mutex);
    const auto slot = slots.find({mode, levelId});
    if (slot == slots.end() || !slot->second.table || Clock::now() - slot->second.readAt > maxAge) {
        return nullptr;
    }
    return slot->second.table;
}

std::shared_ptr<const CachedTable> TableCache::table(int mode, int levelId) {
    if (auto kept = tableInMemory(mode, levelId)) {
        return kept;
    }
    unsigned changesBefore = 0;
    {
        std::lock_guard lock(mutex);
        changesBefore = slots[{mode, levelId}].changes;
    }
    const auto readAt = Clock::now();
    auto rows = store.table(mode, levelId, kMaxRecords, verifiedOnly);
    if (!rows) {
        return nullptr;
    }
    auto table = std::make_shared<CachedTable>();
    table->gameAnswer = gameAnswerOf(*rows);
    table->rows = std::move(*rows);
    std::lock_guard lock(mutex);
    Slot& slot = slots[{mode, levelId}];
    if (slot.changes == changesBefore) {
        slot.table = table;
        slot.readAt = readAt;
    }
    return table;
}

void TableCache::changed(int mode, int levelId) {
    std::lock_guard lock(mutex);
    Slot& slot = slots[{mode, levelId}];
    ++slot.changes;
    slot.table = nullptr;
}
