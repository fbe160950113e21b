#pragma once
// What KeltoTV does before it starts anything: answer --help and --version, and create the Qt
// application, or say in one line that there is no graphical session.
#include <memory>
#include <string>

class QApplication;

namespace kelto {

enum class InfoRequest { None, Help, Version, ListCards };

// --help (-h), --version or --list-cards among the arguments; they are answered without starting
// anything.
InfoRequest infoRequest(int argc, char** argv);

// The usage: switches, environment variables and where the files are (with the folders as they
// are resolved now).
std::string usageText();
std::string versionText();
// The one line printed when no display can be opened.
std::string noDisplayText();

// Exit code when no graphical session can be opened.
constexpr int kExitNoDisplay = 1;

// Creates the application. When Qt cannot open any display it prints noDisplayText() on stderr
// and ends the process with kExitNoDisplay instead of Qt's abort.
std::unique_ptr<QApplication> createApplication(int& argc, char** argv);

}  // namespace kelto
