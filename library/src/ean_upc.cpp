#include "symbology.h"
namespace kelda {
int eanCheckDigit(std::string_view, bool) { return 0; }
int encodeEAN13(std::string_view, std::int32_t, Widths, Parity) { return -1; }
int encodeEAN8(std::string_view, std::int32_t, Widths, Parity) { return -1; }
int encodeUPCE(std::string_view, std::int32_t, Widths, Parity) { return -1; }
int encodeWithAddOn(int, std::string_view, std::int32_t, Widths, Parity) { return -1; }
}
