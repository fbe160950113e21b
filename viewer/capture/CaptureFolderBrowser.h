#pragma once
// The capture pages' folders: the browser of "Folder &Change.." (file-system folders only, titled
// "Select directory.", starting at the current folder; tests answer it instead of showing it) and
// the test a capture makes before it writes there.
#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace kelto::viewer::capturesheet {

constexpr int kSelectFolderString = 211;

// Whether a page must refuse to capture into `folder`: it is not an existing folder. Every folder
// text is tested, short ones included (a three-character text is no drive root here, and the
// root "/" passes the test anyway).
bool captureFolderMissing(const std::string& folder);

// The chosen folder, or nothing when the user cancelled.
std::optional<std::string> chooseCaptureFolder(QWidget* owner, const std::string& current);

// Replaces the browser (the answerer gets the folder it starts at); nullptr restores it.
void setCaptureFolderAnswerer(std::function<std::optional<std::string>(const std::string& current)> answerer);

}  // namespace kelto::viewer::capturesheet
