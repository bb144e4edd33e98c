#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "BoardPage.hpp"
#include "BoardPaths.hpp"
#include "HttpMessage.hpp"
#include "LevelMaps.hpp"
#include "RecordPages.hpp"
#include "ScoreStore.hpp"
#include "ServerLevels.hpp"
#include "TableCache.hpp"

// The tables for people with a browser: GET / lists the game's own levels
// with their top records and the custom levels by name, GET /table/MODE/LEVEL
// a whole table under the level's map, and each verified record has a page of
// its own (RecordPages; paths in BoardPaths).
class WebBoard {
  public:
    static constexpr std::size_t kFrontPageRows = 10;

    WebBoard(TableCache& tables, ScoreStore& store, const ServerLevels& levels)
        : tables(tables), levels(levels), maps(levels), records(tables, store, levels, maps) {}

    static bool serves(std::string_view path);
    HttpResponse handle(const HttpRequest& request);

  private:
    HttpResponse frontPage();
    HttpResponse tablePage(std::string_view path);

    TableCache& tables;
    const ServerLevels& levels;
    LevelMaps maps;
    RecordPages records;
};

// The first `count` of the store's records as board rows, numbered from 1,
// each verified one linking to its page.
std::vector<BoardRow> boardRows(const std::vector<BestTime>& times, std::size_t count,
                                const ServerLevel& level);
