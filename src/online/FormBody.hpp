#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

// Request bodies are "key=value" pairs joined by "&". The game writes values as
// they are, which is safe for every name its name entry produces; only the three
// characters that would change the meaning of the body are escaped, so a name
// from an edited settings file cannot add or replace a field.

// Escapes "%", "&" and "=" as %25, %26 and %3D; every other byte stays as it is.
std::string escapeFormValue(std::string_view value);

// Splits a body into its fields and decodes %XX escapes (a raw space is a
// space, "+" is a plus sign). Empty pieces between "&" are skipped, so the
// table request's leading "&" is fine. Empty when a piece has no "=", a key is
// empty or repeated, or an escape is not "%" and two hex digits.
std::optional<std::map<std::string, std::string>> parseFormBody(std::string_view body);
