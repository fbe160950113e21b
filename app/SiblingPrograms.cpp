#include "app/SiblingPrograms.h"

#include "app/AppMessages.h"

namespace kelto {

void closeSiblingPrograms(platform::WindowSystem& system) {
    if (const auto fm = system.findWindow("KELTOFM", "")) {
        if (system.sendMessage(fm, kMsgSiblingQuery, 0, 0) == kSiblingAnswerFm)
            system.sendMessage(fm, platform::WM_CLOSE, 0, 0);
    }
    for (const char* cls : {"KELTOVCD", "KELTOMP3"})
        if (const auto window = system.findWindow(cls, "")) system.sendMessage(window, platform::WM_CLOSE, 0, 0);
}

}  // namespace kelto
