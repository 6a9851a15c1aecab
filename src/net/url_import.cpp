#include "net/url_import.h"

#include "platform/ascii_text.h"
#include "settings/user_settings.h"

namespace quorvel {

bool isBareHttpScheme(std::string_view url) {
    return url.size() == 7 && startsWithIgnoringAsciiCase(url, "http://");
}

bool isUsableImportUrl(std::string_view url) {
    return url.size() >= 7 && !isBareHttpScheme(url);
}

std::optional<std::string> fileNameFromUrl(std::string_view url) {
    if (url.size() <= 6 || isBareHttpScheme(url)) return std::nullopt;
    const std::size_t last = url.find_last_of("/\\");
    if (last == std::string_view::npos) return std::nullopt;
    if (last > 0 && url[last - 1] == url[last]) return std::nullopt;
    const std::string_view name = url.substr(last + 1);
    if (name.empty()) return std::nullopt;
    return std::string(name);
}

std::string importStartUrl(std::string_view homeUrl) {
    std::string url = homeUrl.empty() ? std::string("http://") : std::string(homeUrl);
    if (url.back() != '/') url += '/';
    return url;
}

bool isPlainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

bool addImportedFile(UserSettings& settings, std::string_view name) {
    for (const UserSettings::FileItem& item : settings.files()) {
        if (startsWithIgnoringAsciiCase(item.name, name)) return false;
    }
    settings.addFile(name);
    return true;
}

}  // namespace quorvel
