#include "online/FormBody.hpp"

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::optional<std::string> unescape(std::string_view text) {
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            plain += text[i];
            continue;
        }
        if (i + 2 >= text.size()) {
            return std::nullopt;
        }
        const int high = hexValue(text[i + 1]);
        const int low = hexValue(text[i + 2]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        plain += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return plain;
}

}  // namespace

std::string escapeFormValue(std::string_view value) {
    std::string escaped;
    escaped.reserve(value.size());
    for (char c : value) {
        switch (c) {
            case '%':
                escaped += "%25";
                break;
            case '&':
                escaped += "%26";
                break;
            case '=':
                escaped += "%3D";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::optional<std::map<std::string, std::string>> parseFormBody(std::string_view body) {
    std::map<std::string, std::string> fields;
    std::size_t start = 0;
    while (start <= body.size()) {
        std::size_t end = body.find('&', start);
        if (end == std::string_view::npos) {
            end = body.size();
        }
        const std::string_view piece = body.substr(start, end - start);
        start = end + 1;
        if (piece.empty()) {
            continue;
        }
        const std::size_t equals = piece.find('=');
        if (equals == std::string_view::npos) {
            return std::nullopt;
        }
        auto key = unescape(piece.substr(0, equals));
        auto value = unescape(piece.substr(equals + 1));
        if (!key || !value || key->empty()) {
            return std::nullopt;
        }
        if (!fields.emplace(std::move(*key), std::move(*value)).second) {
            return std::nullopt;
        }
    }
    return fields;
}
