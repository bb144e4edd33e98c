#pragma once

#include "Pictures.hpp"

// All pictures on the sky-blue backdrop with their names, plus a small sample
// scene built from the tiles, for judging the set as a whole.
Canvas contactSheet(const Pictures& pictures, const Font& font);
