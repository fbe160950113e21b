#pragma once
// The viewer's help command and home-page command: both hand a document to the desktop's own
// program (framework::openDocument), the help pages from the program's data folder.
#include <filesystem>

namespace kelto::viewer {

// The program's home page. The project has no site of its own yet, so this is a reserved
// example address; a distribution puts its own here.
inline constexpr const char* kHomePageAddress = "https://www.example.org/keltotv/";

// data/help/index.html in the program's data folder.
std::filesystem::path viewerHelpPath();

// Opens the help pages; false when the desktop could not be asked (the reason is traced).
bool openViewerHelp();
// Opens the home page; false when the desktop could not be asked.
bool openHomePage();

}  // namespace kelto::viewer
