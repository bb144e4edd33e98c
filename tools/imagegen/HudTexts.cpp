#include "Font.hpp"
#include "Pictures.hpp"
void addHudTexts(Pictures&, const Font&) {}
