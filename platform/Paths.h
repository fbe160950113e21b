#pragma once
// Where things live on disk. One per-user root stands for the whole machine the program was
// designed for: $KELTO_ROOT, by default $XDG_DATA_HOME/KeltoTV (~/.local/share/KeltoTV).
//   Windows/   the "Windows folder": Zududaz2000.ini
//   Program/   the program folder: .freq tables, reserve.rsd; the program path is Program/KeltoTV
//   Capture/   the default capture folder (derived from the program path)
//   Registry/  the registry hives
#include <filesystem>
#include <string>

namespace kelto::platform {

std::filesystem::path keltoRoot();
std::filesystem::path windowsFolder();
std::filesystem::path programFolder();
// The program's own path as the program sees it (Program/KeltoTV); folders are derived from it.
std::filesystem::path programPath();
std::filesystem::path registryFolder();
// Per-user folder for window sockets and mutexes: $XDG_RUNTIME_DIR/keltotv (mode 0700), or
// $TMPDIR/keltotv-<uid>/keltotv without XDG_RUNTIME_DIR. Its users check it with preparePrivateFolder.
std::filesystem::path runtimeFolder();

// The folder of the running executable (build/bin in a build tree): shared libraries are
// looked for here first.
std::filesystem::path executableFolder();
// Files shipped with the program (Zududaz2000.ini, the broadcast world, help pages):
// $KELTO_DATA_DIR, else <executable folder>/data, else <executable folder>/../share/keltotv.
std::filesystem::path dataFolder();

// The capture folder derived from a program path: cut off the file name and the last folder,
// then append "Capture". "/a/b/KeltoTV" gives "/a/Capture".
std::string deriveCaptureFolder(const std::string& programPath);

// Creates the root's folders and, on first run, copies Zududaz2000.ini from the data folder into
// the Windows folder. Returns false (with a trace line) when a folder cannot be created.
bool prepareInstallRoot();

}  // namespace kelto::platform
