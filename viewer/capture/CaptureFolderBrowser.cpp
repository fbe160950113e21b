#include "viewer/capture/CaptureFolderBrowser.h"

#include "resources/StringTable.h"

#include <QFileDialog>

#include <filesystem>

namespace kelto::viewer::capturesheet {

namespace {
std::function<std::optional<std::string>(const std::string&)>& answerer() {
    static std::function<std::optional<std::string>(const std::string&)> instance;
    return instance;
}
}  // namespace

bool captureFolderMissing(const std::string& folder) {
    std::error_code error;
    return folder.empty() || !std::filesystem::is_directory(folder, error);
}

std::optional<std::string> chooseCaptureFolder(QWidget* owner, const std::string& current) {
    if (answerer()) return answerer()(current);
    const QString chosen = QFileDialog::getExistingDirectory(
        owner, QString::fromStdString(LoadMessage(kSelectFolderString)), QString::fromStdString(current),
        QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.toStdString();
}

void setCaptureFolderAnswerer(std::function<std::optional<std::string>(const std::string&)> answerer_) {
    answerer() = std::move(answerer_);
}

}  // namespace kelto::viewer::capturesheet
