#pragma once

#include <string>

// Writes a number the way a default output stream writes a float (at most
// `significantDigits` significant digits, no trailing zeros, no point when
// nothing follows it) but always in plain decimal: where the stream would switch
// to an exponent (below 0.0001, or a million and above) the digits are written
// out in full instead. Score texts and table times are built digit by digit from
// this text, and an exponent would be read back as a wrong number.
// Non-finite values give "inf", "-inf" or "nan".
std::string plainDecimal(double value, int significantDigits = 6);
