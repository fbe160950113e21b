#include "capture/NextCaptureFileName.h"

#include <filesystem>
#include <system_error>

namespace kelto::capture {

namespace {

std::string upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return text;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The number a title contributes: the last three characters after the stem by place value.
int trailingNumber(const std::string& title, std::size_t stemLength) {
    int number = 0;
    int weight = 1;
    for (std::size_t i = title.size(); i > stemLength && weight <= 100; --i, weight *= 10) {
        const char c = title[i - 1];
        if (isDigit(c)) number += (c - '0') * weight;
    }
    return number;
}

}  // namespace

std::string NextCaptureFileName(const std::string& folder, const std::string& stem, const std::string& extension) {
    namespace fs = std::filesystem;
    const std::string wantedExtension = upper(extension);
    const std::string upperStem = upper(stem);

    int highest = 0;
    bool found = false;
    std::error_code error;
    fs::directory_iterator entries(folder.empty() ? fs::path(".") : fs::path(folder), error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        std::error_code kindError;
        if (entries->is_directory(kindError)) continue;
        const std::string name = entries->path().filename().string();
        const std::size_t dot = name.rfind('.');
        if (dot == std::string::npos) continue;
        const std::string title = upper(name.substr(0, dot));
        if (upper(name.substr(dot + 1)) != wantedExtension) continue;
        if (title.compare(0, upperStem.size(), upperStem) != 0) continue;
        if (title.size() == upperStem.size()) {
            found = true;
        } else if (isDigit(title[upperStem.size()])) {
            const int number = trailingNumber(title, upperStem.size());
            if (number >= highest) {
                highest = number;
                found = true;
            }
        }
    }

    const std::string separator = (folder.empty() || folder.back() == '/') ? "" : "/";
    std::string result = folder + separator + stem;
    if (found) result += std::to_string(highest + 1);
    return result + "." + wantedExtension;
}

std::string NextCaptureFileName(const std::string& folder, const std::string& stem, StillFileType type) {
    return NextCaptureFileName(folder, stem, type == StillFileType::Jpg ? "JPG" : "BMP");
}

std::string NextCaptureFileName(const std::string& folder, const std::string& stem, RecordingType type) {
    return NextCaptureFileName(folder, stem, type == RecordingType::Avi ? "AVI" : "MPG");
}

}  // namespace kelto::capture
