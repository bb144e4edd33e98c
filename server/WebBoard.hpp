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
#include "TableCache.hpp"

// The tables for people with a browser: GET / lists every level with its top
// records, GET /table/MODE/LEVEL a whole table under the level's map, and
// each verified record has a page of its own (RecordPages).
class WebBoard {
  public:
    static constexpr std::size_t kFrontPageRows = 10;

    WebBoard(TableCache& tables, ScoreStore& store)
        : tables(tables), records(tables, store, maps) {}

    static bool serves(std::string_view path);
    HttpResponse handle(const HttpRequest& request);

  private:
    HttpResponse frontPage();
    HttpResponse tablePage(std::string_view path);

    TableCache& tables;
    LevelMaps maps;
    RecordPages records;
};

// The first `count` of the store's records as board rows, numbered from 1,
// each verified one linking to its page.
std::vector<BoardRow> boardRows(const std::vector<BestTime>& times, std::size_t count, int mode,
                                const LevelIdentity& level);
