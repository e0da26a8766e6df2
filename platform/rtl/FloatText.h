// Locale-free text of floating-point numbers, with "." as the decimal point: the building
// blocks of FloatToStr and of Format's e, f, g, n and m.
#pragma once

#include <string>

namespace platform {

// The shortest text that reads back as the same double ("2.5", "3", "0.1", "1E20").
std::string ShortestText(double v);
// Fixed notation with exactly `decimals` digits after the point.
std::string FixedText(double v, int decimals);
// d.ddd...E+ddd with `digits` significant digits and at least `exponentDigits` exponent digits.
std::string ScientificText(double v, int digits, int exponentDigits, bool plusSign);
// At most `precision` significant digits, trailing zeros dropped; fixed notation while the
// integer part has at most `precision` digits and the value is at least 0.00001, else
// scientific ("1.5E20", "1E-7").
std::string GeneralText(double v, int precision);

}  // namespace platform
