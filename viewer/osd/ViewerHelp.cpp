#include "viewer/osd/ViewerHelp.h"

#include "framework/ShellServices.h"
#include "platform/Paths.h"
#include "platform/Trace.h"

namespace kelto::viewer {

std::filesystem::path viewerHelpPath() { return platform::dataFolder() / "help" / "index.html"; }

bool openViewerHelp() {
    const auto help = viewerHelpPath();
    std::error_code error;
    if (!std::filesystem::exists(help, error)) platform::tracef("Help: %s is missing", help.c_str());
    return framework::openDocument(help.string());
}

bool openHomePage() { return framework::openDocument(kHomePageAddress); }

}  // namespace kelto::viewer
