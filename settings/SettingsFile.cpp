#include "settings/SettingsFile.h"
namespace tesslin {
const std::string kSettingsFileName = "TesslinGUI.ini";
const char* const kCannotOpenForWriting = "Cannot open setting.ini";
const char* const kCannotOpenForReading = "file not opened";
const char* const kBadBooleanValue =
    "bad lexical cast: source type value could not be interpreted as target";
std::string FormatSettingsFile(const Settings&) {
    return {};
}
void WriteSettings(const Settings&, const std::string&) {}
SettingsMap ParseSettingsText(std::string_view) {
    return {};
}
SettingsMap ParseSettingsFile(const std::string&) {
    return {};
}
void ApplySettingsMap(const SettingsMap&, Settings& s) {
    s.ResetToDefaults();
}
bool ReadSettings(Settings& s, const std::string&) {
    s.ResetToDefaults();
    return true;
}
} // namespace tesslin
