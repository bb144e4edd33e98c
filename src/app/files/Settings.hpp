#pragma once

#include <map>
#include <string>

#include "app/files/SettingKeys.hpp"

// The program's one persistent store: text keys to text values, kept in the
// file ".Rollavortex" in the user's folder as two header lines and then one
// "key TAB value" line per entry, in byte order of the keys.
//
// Reading is forgiving: any line that is not exactly two TAB-separated fields
// is skipped, so a damaged file costs at most the damaged lines.
class Settings {
  public:
    Settings() = default;
    explicit Settings(std::string filePath) : path(std::move(filePath)) {}

    // Where the file lives: $APPDATA, else $USERPROFILE, else $HOME, joined with
    // "/"; ".Rollavortex" in the working folder when none is set.
    static std::string filePath();

    // Replaces the store with the file's entries; false when there is no file.
    bool load();
    // Fills the store from file contents (CR LF and LF alike), keeping what is
    // not mentioned.
    void parse(const std::string& text);
    // Writes through a temporary file renamed over the old one, so a crash or a
    // full disk while saving never leaves a truncated settings file.
    bool save() const;
    // The exact bytes save() writes.
    std::string format() const;

    // The stored number, or the default when the key is absent or its text does
    // not start with a number. Leading white space is skipped and trailing text
    // ignored ("12abc" is 12, "1.0" read as an integer is 1).
    int getInt(const std::string& key, int fallback) const;
    float getFloat(const std::string& key, float fallback) const;
    // The stored text; an absent key is created empty first.
    std::string& getString(const std::string& key);

    void setInt(const std::string& key, int value);
    // Like a default output stream: 6 significant digits, no trailing zeros.
    void setFloat(const std::string& key, float value);
    void setString(const std::string& key, const std::string& value);

    // The game's typed access, one key and default per setting (SettingKeys).
    // A text reads as its default while absent or empty, and reading it never
    // adds the key.
    int get(const SettingKey<int>& setting) const { return getInt(setting.key, setting.fallback); }
    float get(const SettingKey<float>& setting) const {
        return getFloat(setting.key, setting.fallback);
    }
    std::string get(const SettingKey<std::string>& setting) const;
    void set(const SettingKey<int>& setting, int value) { setInt(setting.key, value); }
    void set(const SettingKey<float>& setting, float value) { setFloat(setting.key, value); }
    void set(const SettingKey<std::string>& setting, const std::string& value) {
        setString(setting.key, value);
    }
    // Reads the setting and writes it straight back, so the file lists it for
    // players who edit it by hand.
    template <typename Value>
    Value keep(const SettingKey<Value>& setting) {
        const Value value = get(setting);
        set(setting, value);
        return value;
    }

    bool contains(const std::string& key) const { return entries.count(key) != 0; }
    void erase(const std::string& key) { entries.erase(key); }
    const std::map<std::string, std::string>& all() const { return entries; }
    const std::string& location() const { return path; }

  private:
    std::string path;
    std::map<std::string, std::string> entries;
};
