#include "platform/DynamicLibrary.h"

#include "platform/ModuleEntry.h"
#include "platform/Paths.h"
#include "platform/Text.h"

#include <dlfcn.h>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <utility>

namespace fs = std::filesystem;

namespace kelto::platform {

struct LoadedModule {
    void* dl = nullptr;
    std::string path;
    int references = 0;
};

namespace {

std::recursive_mutex loaderMutex;
std::map<void*, LoadedModule*> modulesByHandle;
thread_local std::string loadError;
// (shared-object file name, export name) pairs that getProcAddress does not find.
std::set<std::pair<std::string, std::string>> hiddenExports;
// Shared-object file names loaded in place of others (substituteLibrary).
std::map<std::string, std::string> substitutes;

std::string findInProgramFolder(const std::string& fileName) {
    std::error_code ec;
    const fs::path folder = executableFolder();
    const fs::path exact = folder / fileName;
    if (fs::is_regular_file(exact, ec)) return exact.string();
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (equalsIgnoreCase(entry.path().filename().string(), fileName) && entry.is_regular_file(ec))
            return entry.path().string();
    return {};
}

// The module entry defined by the library itself; one found in its dependencies does not count.
ModuleEntryFunction ownEntry(const LoadedModule& module) {
    auto entry = reinterpret_cast<ModuleEntryFunction>(::dlsym(module.dl, kModuleEntryName));
    Dl_info info{};
    if (!entry || ::dladdr(reinterpret_cast<void*>(entry), &info) == 0 || !info.dli_fname) return nullptr;
    if (fs::path(info.dli_fname).filename() != fs::path(module.path).filename()) return nullptr;
    return entry;
}

}  // namespace

std::string sharedObjectNameFor(std::string_view libraryName) {
    // Drop any folder part written either way.
    const auto slash = libraryName.find_last_of("\\/");
    if (slash != std::string_view::npos) libraryName.remove_prefix(slash + 1);
    std::string stem = toLowerAscii(libraryName);
    if (stem.size() > 4 && stem.ends_with(".dll")) stem.resize(stem.size() - 4);
    if (stem.ends_with(".so")) return stem;
    return "lib" + stem + ".so";
}

ModuleHandle loadLibrary(std::string_view libraryName) {
    std::lock_guard lock(loaderMutex);
    std::string fileName = sharedObjectNameFor(libraryName);
    if (const auto substitute = substitutes.find(fileName); substitute != substitutes.end()) fileName = substitute->second;
    std::string path = findInProgramFolder(fileName);
    void* dl = ::dlopen(path.empty() ? fileName.c_str() : path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!dl) {
        const char* why = ::dlerror();
        loadError = "cannot load " + std::string(libraryName) + " (" + fileName + "): " + (why ? why : "not found");
        return nullptr;
    }
    if (auto found = modulesByHandle.find(dl); found != modulesByHandle.end()) {
        ::dlclose(dl);  // keep one dynamic-loader reference per module; ours counts the rest
        ++found->second->references;
        return found->second;
    }
    auto* module = new LoadedModule{dl, path.empty() ? fileName : path, 1};
    modulesByHandle[dl] = module;
    const auto entry = ownEntry(*module);
    if (entry && entry(module, kModuleAttach) == 0) {
        modulesByHandle.erase(dl);
        delete module;
        ::dlclose(dl);
        loadError = "cannot load " + std::string(libraryName) + ": its initialisation failed";
        return nullptr;
    }
    return module;
}

void* getProcAddress(ModuleHandle module, std::string_view exportName) {
    if (!module) return nullptr;
    {
        std::lock_guard lock(loaderMutex);
        const std::string fileName = toLowerAscii(fs::path(module->path).filename().string());
        if (hiddenExports.contains({fileName, std::string(exportName)})) return nullptr;
    }
    ::dlerror();
    return ::dlsym(module->dl, std::string(exportName).c_str());
}

bool freeLibrary(ModuleHandle module) {
    if (!module) return false;
    std::lock_guard lock(loaderMutex);
    if (--module->references > 0) return true;
    if (const auto entry = ownEntry(*module)) entry(module, kModuleDetach);
    modulesByHandle.erase(module->dl);
    ::dlclose(module->dl);
    delete module;
    return true;
}

std::string modulePath(ModuleHandle module) { return module ? module->path : std::string(); }

std::string lastLoadError() { return loadError; }

void substituteLibrary(std::string_view libraryName, std::string_view replacementName) {
    std::lock_guard lock(loaderMutex);
    const std::string fileName = sharedObjectNameFor(libraryName);
    if (replacementName.empty()) substitutes.erase(fileName);
    else substitutes[fileName] = sharedObjectNameFor(replacementName);
}

void hideExport(std::string_view libraryName, std::string_view exportName) {
    std::lock_guard lock(loaderMutex);
    hiddenExports.insert({sharedObjectNameFor(libraryName), std::string(exportName)});
}

void clearHiddenExports() {
    std::lock_guard lock(loaderMutex);
    hiddenExports.clear();
}

}  // namespace kelto::platform
