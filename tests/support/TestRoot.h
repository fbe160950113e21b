#pragma once
// Test helpers: temporary folders and small file utilities.
#include <filesystem>
#include <string>
#include <string_view>

namespace kelto::test {

// A fresh folder under the system's temporary folder, deleted with everything in it at the end.
class TemporaryFolder {
public:
    explicit TemporaryFolder(std::string_view prefix = "kelto");
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, std::string_view content);

// The folder of the running test program (build/bin), where the built libraries lie.
std::filesystem::path binaryFolder();

}  // namespace kelto::test
