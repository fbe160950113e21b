#pragma once
// Loading shared libraries by the file names the program was written with.
//
// "RURORIZI.DLL" stands for "librurorizi.so": the name without its ".dll" ending, in lower case,
// with "lib" before and ".so" after. The library is looked for in the program's own folder
// first (compared without regard to case), then on the system's library path.
//
// A library may export the module entry (see ModuleEntry.h). The loader calls it with
// kModuleAttach when the library is first loaded and kModuleDetach when the last reference is
// freed. An attach that returns 0 makes the load fail: the library is unloaded again without a
// detach call, so the attach code itself releases what it took before failing.
// Loads and frees may happen on any thread; entry calls run under the loader's lock.
#include <string>
#include <string_view>

namespace kelto::platform {

struct LoadedModule;
using ModuleHandle = LoadedModule*;

// The shared-object file name for a library name ("BtVid_32.dll" gives "libbtvid_32.so").
std::string sharedObjectNameFor(std::string_view libraryName);

// Loads (or adds a reference to) a library; null on failure, with lastLoadError() saying why.
ModuleHandle loadLibrary(std::string_view libraryName);
// Looks up an exported function or object; null when the library has no such export.
void* getProcAddress(ModuleHandle module, std::string_view exportName);
// Drops one reference; the last one detaches and unloads. False for a null handle.
bool freeLibrary(ModuleHandle module);
// The path the module was loaded from.
std::string modulePath(ModuleHandle module);

// The driver set chosen at start: a later load of `libraryName` ("BtVid_32.dll") loads
// `replacementName` instead, for every caller in the process. An empty replacement ends it.
void substituteLibrary(std::string_view libraryName, std::string_view replacementName);

// For tests of callers that must cope with an incomplete library: getProcAddress answers null for
// this export of the named library ("BtVid_32.dll"), as if the library did not have it.
// clearHiddenExports makes every export visible again.
void hideExport(std::string_view libraryName, std::string_view exportName);
void clearHiddenExports();

// Why the calling thread's last loadLibrary failed.
std::string lastLoadError();

template <typename Function>
Function getProc(ModuleHandle module, std::string_view exportName) {
    return reinterpret_cast<Function>(getProcAddress(module, exportName));
}

}  // namespace kelto::platform
