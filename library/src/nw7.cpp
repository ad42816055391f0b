// NW-7 (Codabar): placeholder until its encoder lands.
#include "symbology.h"
namespace kelda {
int nw7CheckCharacter(std::string_view) { return -1; }
int encodeNW7(std::string_view, int, int, Widths) { return KELDA_E_GENERAL; }
}  // namespace kelda
