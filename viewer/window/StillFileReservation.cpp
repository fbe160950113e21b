#include "viewer/window/StillFileReservation.h"

#include "capture/NextCaptureFileName.h"
#include "platform/Trace.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace kelto::viewer {

std::optional<std::string> reserveStillFile(const std::string& folder, const std::string& stem,
                                            capture::StillFileType type) {
    // A name taken between the search and the creation is searched again; the numbering is finite,
    // so is the number of tries.
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::string path = capture::NextCaptureFileName(folder, stem, type);
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
        if (errno != EEXIST) {
            platform::tracef("Viewer: cannot create %s: %s", path.c_str(), std::strerror(errno));
            return std::nullopt;
        }
    }
    platform::tracef("Viewer: no free still-picture name in %s", folder.c_str());
    return std::nullopt;
}

}  // namespace kelto::viewer
