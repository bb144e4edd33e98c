#include "Font.hpp"
#include "Pictures.hpp"
void addEffects(Pictures&, const Font&) {}
