#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "BoardPage.hpp"
#include "HttpMessage.hpp"
#include "ScoreStore.hpp"
#include "ServerLevels.hpp"
#include "TableCache.hpp"

// The tables for people with a browser: GET / lists the game's own levels
// with their top records and the custom levels by name, GET
// /table/MODE/LEVEL a whole table (LEVEL: BoardLevels.hpp).
class WebBoard {
  public:
    static constexpr std::size_t kFrontPageRows = 10;

    WebBoard(TableCache& tables, const ServerLevels& levels) : tables(tables), levels(levels) {}

    static bool serves(std::string_view path);
    HttpResponse handle(const HttpRequest& request);

  private:
    HttpResponse frontPage();
    HttpResponse tablePage(std::string_view path);

    TableCache& tables;
    const ServerLevels& levels;
};

// The first `count` of the store's records as board rows, numbered from 1.
std::vector<BoardRow> boardRows(const std::vector<BestTime>& times, std::size_t count);
