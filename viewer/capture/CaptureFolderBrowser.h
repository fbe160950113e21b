#pragma once
// The folder browser of the capture pages ("Folder &Change.."): file-system folders only, titled
// "Select directory.", starting at the current folder. Tests answer it instead of showing it.
#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace kelto::viewer::capturesheet {

constexpr int kSelectFolderString = 211;

// The chosen folder, or nothing when the user cancelled.
std::optional<std::string> chooseCaptureFolder(QWidget* owner, const std::string& current);

// Replaces the browser (the answerer gets the folder it starts at); nullptr restores it.
void setCaptureFolderAnswerer(std::function<std::optional<std::string>(const std::string& current)> answerer);

}  // namespace kelto::viewer::capturesheet
