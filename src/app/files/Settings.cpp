#include "app/files/Settings.hpp"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "sim/base/FileReplace.hpp"

namespace {

const char* const headerLines = "This file is generated automatically.\nPlease do not edit.\n";

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

// Fields of a line split at TABs; runs of TABs count as one separator.
std::vector<std::string> tabFields(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    for (char c : line) {
        if (c != '\t') {
            field += c;
            continue;
        }
        if (!field.empty()) {
            fields.push_back(field);
            field.clear();
        }
    }
    if (!field.empty()) {
        fields.push_back(field);
    }
    return fields;
}

template <typename Number>
Number parseNumber(const std::string& text, Number fallback) {
    std::istringstream in(text);
    Number value{};
    if (!(in >> value)) {
        return fallback;
    }
    return value;
}

}  // namespace

std::string Settings::filePath() {
    std::string folder = environment("APPDATA");
    if (folder.empty()) {
        folder = environment("USERPROFILE");
    }
    if (folder.empty()) {
        folder = environment("HOME");
    }
    if (folder.empty()) {
        return ".Rollavortex";
    }
    if (folder.back() != '/') {
        folder += '/';
    }
    return folder + ".Rollavortex";
}

bool Settings::load() {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    entries.clear();
    parse(text.str());
    return true;
}

void Settings::parse(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        // A file saved on Windows ends its lines with CR LF. Every trailing CR
        // goes, so no value ends in one: such a value would not read back.
        while (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        std::vector<std::string> fields = tabFields(line);
        if (fields.size() != 2) {
            continue;
        }
        // A value that ended in CR would be written back as a CR LF line end.
        std::string& value = fields[1];
        while (!value.empty() && value.back() == '\r') {
            value.pop_back();
        }
        if (!value.empty()) {
            entries[fields[0]] = value;
        }
    }
}

std::string Settings::format() const {
    std::string text = headerLines;
    for (const auto& [key, value] : entries) {
        text += key;
        text += '\t';
        text += value;
        text += '\n';
    }
    return text;
}

bool Settings::save() const {
    return !path.empty() && replaceFileContents(path, format());
}

int Settings::getInt(const std::string& key, int fallback) const {
    const auto found = entries.find(key);
    return found == entries.end() ? fallback : parseNumber(found->second, fallback);
}

float Settings::getFloat(const std::string& key, float fallback) const {
    const auto found = entries.find(key);
    return found == entries.end() ? fallback : parseNumber(found->second, fallback);
}

std::string& Settings::getString(const std::string& key) {
    return entries[key];
}

std::string Settings::get(const SettingKey<std::string>& setting) const {
    const auto found = entries.find(setting.key);
    return found == entries.end() || found->second.empty() ? setting.fallback : found->second;
}

void Settings::setInt(const std::string& key, int value) {
    entries[key] = std::to_string(value);
}

void Settings::setFloat(const std::string& key, float value) {
    std::ostringstream text;
    text << value;
    entries[key] = text.str();
}

void Settings::setString(const std::string& key, const std::string& value) {
    entries[key] = value;
}
