#include "app/ProgramStart.h"

#include "platform/Paths.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#ifndef KELTO_VERSION
#define KELTO_VERSION "0.0"
#endif

namespace kelto {

InfoRequest infoRequest(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") return InfoRequest::Help;
        if (arg == "--version") return InfoRequest::Version;
        if (arg == "--list-cards") return InfoRequest::ListCards;
    }
    return InfoRequest::None;
}

std::string versionText() { return std::string("KeltoTV ") + KELTO_VERSION + "\n"; }

std::string usageText() {
    const std::string root = platform::keltoRoot().string();
    return "usage: KeltoTV [/t | /r]\n"
           "       KeltoTV --help | --version | --list-cards\n"
           "\n"
           "Analogue TV viewer and recorder for Bt848/Bt878 TV cards. One process runs the tray\n"
           "agent (with the scheduled recordings) and the TV window; a second start hands its\n"
           "request to the process that runs and ends. Needs a graphical session.\n"
           "\n"
           "  (no switch)  start the tray agent and open the TV window\n"
           "               (or ask the running agent to open it)\n"
           "  /t           start the tray agent only (for the session's autostart)\n"
           "  /r           wait 5 seconds, then start as without a switch\n"
           "  --help       print this text and exit\n"
           "  --version    print the version and exit\n"
           "  --list-cards list the TV cards found (Video4Linux2 devices) and the card.ini\n"
           "               lines that choose one, and exit\n"
           "\n"
           "Environment:\n"
           "  KELTO_ROOT       the folder that holds everything the program keeps\n"
           "                   (default $XDG_DATA_HOME/KeltoTV, or ~/.local/share/KeltoTV)\n"
           "  KELTO_DATA_DIR   the shipped files: country plans, stations, help pages\n"
           "                   (default data/ beside the program)\n"
           "  KELTO_CARD       the card file (default card.ini of the data folder): the simulated\n"
           "                   card, or Driver=v4l2 and Device=/dev/videoN for a real card\n"
           "  KELTO_DEBUG      set: the trace log is also written to stderr\n"
           "  XDG_RUNTIME_DIR  where the windows' sockets are (its keltotv/ folder)\n"
           "  LANGUAGE, LC_ALL, LC_MESSAGES, LANG\n"
           "                   the language of the texts (English, Japanese, Korean, Chinese)\n"
           "  QT_QPA_PLATFORM  Qt's display platform (offscreen runs without a screen)\n"
           "\n"
           "Files (now under " + root + "):\n"
           "  Registry/HKEY_CURRENT_USER.reg   the settings\n"
           "  Program/reserve.rsd              the reservations\n"
           "  Program/*.freq                   frequency tables\n"
           "  Windows/Zududaz2000.ini          channel plans and tuner data\n"
           "  Capture/                         still pictures and recordings\n"
           "  KeltoTV.log                      the trace log\n"
           "\n"
           "Without a desktop session: xvfb-run -a KeltoTV /t\n"
           "Other programs and remotes drive a running KeltoTV with keltoctl (keltoctl --help).\n";
}

std::string noDisplayText() {
    return "KeltoTV: no display could be opened; KeltoTV needs a graphical session (start it from "
           "the desktop, or without one under a virtual display: xvfb-run -a KeltoTV /t)\n";
}

namespace {

// Qt's messages while the application is created: kept back, since without a display they are
// several lines about platform plugins before an abort; replayed when the start succeeds.
struct HeldMessage {
    QtMsgType type;
    QString text;
};
std::vector<HeldMessage>* heldMessages = nullptr;

void holdMessage(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtFatalMsg) {
        const std::string line = noDisplayText();
        std::fputs(line.c_str(), stderr);
        if (std::getenv("KELTO_DEBUG")) std::fprintf(stderr, "Qt: %s\n", qPrintable(text));
        std::fflush(stderr);
        std::_Exit(kExitNoDisplay);
    }
    if (heldMessages) heldMessages->push_back({type, text});
}

}  // namespace

std::unique_ptr<QApplication> createApplication(int& argc, char** argv) {
    std::vector<HeldMessage> held;
    heldMessages = &held;
    const QtMessageHandler previous = qInstallMessageHandler(holdMessage);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    heldMessages = nullptr;
    for (const auto& message : held) qt_message_output(message.type, QMessageLogContext(), message.text);
    return application;
}

}  // namespace kelto
