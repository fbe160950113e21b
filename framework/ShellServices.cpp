#include "framework/ShellServices.h"

#include "platform/Trace.h"

#include <QProcess>
#include <QString>

namespace kelto::framework {

namespace {
std::function<bool(const std::string&)>& opener() {
    static std::function<bool(const std::string&)> instance;
    return instance;
}
}  // namespace

bool openDocument(const std::string& pathOrUrl) {
    if (opener()) return opener()(pathOrUrl);
    const bool started = QProcess::startDetached("xdg-open", {QString::fromStdString(pathOrUrl)});
    if (!started) platform::tracef("Cannot start xdg-open for %s", pathOrUrl.c_str());
    return started;
}

void setDocumentOpener(std::function<bool(const std::string&)> replacement) { opener() = std::move(replacement); }

}  // namespace kelto::framework
