#pragma once
// The viewer's help command and home-page command: both hand a document to the desktop's own
// program (framework::openDocument), the help pages from the program's data folder.
#include <filesystem>

namespace kelto::viewer {

// The home-page command's address. The project has no site of its own yet, so it opens the Linux
// documentation of the Bt848/Bt878 cards' driver; a distribution puts its own here.
inline constexpr const char* kHomePageAddress = "https://www.kernel.org/doc/html/latest/admin-guide/media/bttv.html";

// data/help/index.html in the program's data folder.
std::filesystem::path viewerHelpPath();

// Opens the help pages; false when the desktop could not be asked (the reason is traced).
bool openViewerHelp();
// Opens the home page; false when the desktop could not be asked.
bool openHomePage();

}  // namespace kelto::viewer
