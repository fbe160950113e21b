#include "platform/Paths.h"

#include "platform/AtomicFile.h"
#include "platform/Text.h"
#include "platform/Trace.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace kelto::platform {

namespace {
std::string env(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}
}  // namespace

fs::path keltoRoot() {
    if (auto root = env("KELTO_ROOT"); !root.empty()) return root;
    if (auto data = env("XDG_DATA_HOME"); !data.empty()) return fs::path(data) / "KeltoTV";
    if (auto home = env("HOME"); !home.empty()) return fs::path(home) / ".local/share/KeltoTV";
    return fs::temp_directory_path() / "KeltoTV";
}

fs::path windowsFolder() { return keltoRoot() / "Windows"; }
fs::path programFolder() { return keltoRoot() / "Program"; }
fs::path programPath() { return programFolder() / "KeltoTV"; }
fs::path registryFolder() { return keltoRoot() / "Registry"; }

fs::path runtimeFolder() {
    fs::path base = env("XDG_RUNTIME_DIR");
    if (base.empty()) base = fs::temp_directory_path() / ("keltotv-" + std::to_string(::getuid()));
    return base / "keltotv";
}

fs::path executableFolder() {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path() : self.parent_path();
}

fs::path dataFolder() {
    if (auto dir = env("KELTO_DATA_DIR"); !dir.empty()) return dir;
    const fs::path beside = executableFolder() / "data";
    std::error_code ec;
    if (fs::is_directory(beside, ec)) return beside;
    return executableFolder().parent_path() / "share" / "keltotv";
}

std::string deriveCaptureFolder(const std::string& path) {
    std::string folder = path;
    for (int cut = 0; cut < 2; ++cut) {
        const auto slash = folder.find_last_of('/');
        if (slash == std::string::npos) return "Capture";
        folder.erase(slash);
    }
    return folder + "/Capture";
}

bool prepareInstallRoot() {
    bool ok = true;
    for (const fs::path& dir : {keltoRoot(), windowsFolder(), programFolder(), registryFolder()}) {
        std::error_code ec;
        fs::create_directories(dir, ec);
        if (ec) {
            tracef("Cannot create folder %s: %s", dir.c_str(), ec.message().c_str());
            ok = false;
        }
    }
    // Saves that a killed process never finished leave temporary files beside the files they replace.
    for (const fs::path& dir : {programFolder(), registryFolder()}) removeStaleTemporaryFiles(dir);
    const fs::path target = windowsFolder() / "Zududaz2000.ini";
    std::error_code ec;
    bool present = false;
    for (const auto& entry : fs::directory_iterator(windowsFolder(), ec))
        present = present || equalsIgnoreCase(entry.path().filename().string(), "Zududaz2000.ini");
    if (!present) {
        const fs::path source = dataFolder() / "Zududaz2000.ini";
        fs::copy_file(source, target, ec);
        if (ec)
            tracef("Cannot copy %s to %s: %s", source.c_str(), target.c_str(), ec.message().c_str());
        else
            ::chmod(target.c_str(), 0644);
    }
    return ok;
}

}  // namespace kelto::platform
