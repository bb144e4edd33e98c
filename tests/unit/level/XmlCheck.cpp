#include "XmlCheck.hpp"

#include <cctype>

namespace {

class XmlParser {
  public:
    explicit XmlParser(const std::string& text) : text(text) {}

    std::unique_ptr<XmlElement> document(std::string& error) {
        skipSpace();
        if (text.compare(at, 5, "<?xml") == 0) {
            const auto end = text.find("?>", at);
            if (end == std::string::npos) {
                return fail(error, "unterminated declaration");
            }
            at = end + 2;
        }
        skipMisc();
        auto root = element(error);
        if (!root) {
            return nullptr;
        }
        skipMisc();
        if (at != text.size()) {
            return fail(error, "content after the root element");
        }
        return root;
    }

  private:
    std::unique_ptr<XmlElement> fail(std::string& error, const std::string& why) {
        if (error.empty()) {
            error = why + " at byte " + std::to_string(at);
        }
        return nullptr;
    }

    void skipSpace() {
        while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) {
            ++at;
        }
    }

    void skipMisc() {
        for (;;) {
            skipSpace();
            if (text.compare(at, 4, "<!--") != 0) {
                return;
            }
            const auto end = text.find("-->", at + 4);
            at = end == std::string::npos ? text.size() : end + 3;
        }
    }

    static bool nameChar(char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.' ||
               c == ':';
    }

    std::string name() {
        const std::size_t start = at;
        if (at < text.size() &&
            (std::isalpha(static_cast<unsigned char>(text[at])) || text[at] == '_')) {
            while (at < text.size() && nameChar(text[at])) {
                ++at;
            }
        }
        return text.substr(start, at - start);
    }

    // Text without '<', with only well-formed references.
    bool checkedText(std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            if (text[i] == '<') {
                return false;
            }
            if (text[i] == '&') {
                const auto semi = text.find(';', i);
                if (semi == std::string::npos || semi > to) {
                    return false;
                }
                const std::string ref = text.substr(i + 1, semi - i - 1);
                const bool named =
                    ref == "amp" || ref == "lt" || ref == "gt" || ref == "quot" || ref == "apos";
                const bool numeric = ref.size() > 1 && ref[0] == '#';
                if (!named && !numeric) {
                    return false;
                }
                i = semi;
            }
        }
        return true;
    }

    std::unique_ptr<XmlElement> element(std::string& error) {
        if (at >= text.size() || text[at] != '<') {
            return fail(error, "expected an element");
        }
        ++at;
        auto node = std::make_unique<XmlElement>();
        node->name = name();
        if (node->name.empty()) {
            return fail(error, "bad element name");
        }
        for (;;) {
            const std::size_t before = at;
            skipSpace();
            if (text.compare(at, 2, "/>") == 0) {
                at += 2;
                return node;
            }
            if (at < text.size() && text[at] == '>') {
                ++at;
                break;
            }
            if (at == before) {
                return fail(error, "attributes need white space between them");
            }
            const std::string key = name();
            if (key.empty() || at >= text.size() || text[at] != '=') {
                return fail(error, "bad attribute in <" + node->name + ">");
            }
            ++at;
            if (at >= text.size() || (text[at] != '"' && text[at] != '\'')) {
                return fail(error, "unquoted attribute " + key);
            }
            const char quote = text[at++];
            const auto end = text.find(quote, at);
            if (end == std::string::npos || !checkedText(at, end)) {
                return fail(error, "bad value of attribute " + key);
            }
            if (!node->attributes.emplace(key, text.substr(at, end - at)).second) {
                return fail(error, "attribute " + key + " given twice");
            }
            at = end + 1;
        }
        for (;;) {
            const auto next = text.find('<', at);
            if (next == std::string::npos || !checkedText(at, next)) {
                return fail(error, "bad text inside <" + node->name + ">");
            }
            at = next;
            if (text.compare(at, 4, "<!--") == 0) {
                skipMisc();
                continue;
            }
            if (text.compare(at, 2, "</") == 0) {
                at += 2;
                if (name() != node->name || at >= text.size() || text[at] != '>') {
                    return fail(error, "mismatched end of <" + node->name + ">");
                }
                ++at;
                return node;
            }
            auto child = element(error);
            if (!child) {
                return nullptr;
            }
            node->children.push_back(std::move(child));
        }
    }

    const std::string& text;
    std::size_t at = 0;
};

}  // namespace

std::unique_ptr<XmlElement> parseXml(const std::string& text, std::string& error) {
    error.clear();
    return XmlParser(text).document(error);
}
