#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "BoardPage.hpp"
#include "HttpMessage.hpp"
#include "ScoreStore.hpp"
#include "TableCache.hpp"

// The tables for people with a browser: GET / lists every level with its top
// records, GET /table/MODE/LEVEL a whole table.
class WebBoard {
  public:
    static constexpr std::size_t kFrontPageRows = 10;

    explicit WebBoard(TableCache& tables) : tables(tables) {}

    static bool serves(std::string_view path);
    HttpResponse handle(const HttpRequest& request);

  private:
    HttpResponse frontPage();
    HttpResponse tablePage(std::string_view path);

    TableCache& tables;
};

// The first `count` of the store's records as board rows, numbered from 1.
std::vector<BoardRow> boardRows(const std::vector<BestTime>& times, std::size_t count);
