#pragma once

#include <string>

// Today's UTC day, "YYYY-MM-DD": the day a time arrived, as the tables show it.
std::string utcDay();
