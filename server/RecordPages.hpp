#pragma once

#include <string_view>

#include "HttpMessage.hpp"
#include "LevelMaps.hpp"
#include "ScoreStore.hpp"
#include "ServerLevels.hpp"
#include "TableCache.hpp"

// The pages of verified records and their runs (paths in BoardPaths.hpp).
// A record is named by its position in the table the board shows, so a page
// is of whoever holds that place now; its run is fetched by position and
// identity together, and a link from a page of a record that has moved since
// answers 404 rather than another record's run.
class RecordPages {
  public:
    RecordPages(TableCache& tables, ScoreStore& store, const ServerLevels& levels, LevelMaps& maps)
        : tables(tables), store(store), levels(levels), maps(maps) {}

    static bool serves(std::string_view path);
    HttpResponse handle(std::string_view path);

  private:
    TableCache& tables;
    ScoreStore& store;
    const ServerLevels& levels;
    LevelMaps& maps;
};
