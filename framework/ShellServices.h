#pragma once
// Opening documents and addresses with the desktop's programs (xdg-open). Tests install a
// recorder so nothing is really opened.
#include <functional>
#include <string>

namespace kelto::framework {

// Opens the file or address; false when no opener could be started.
bool openDocument(const std::string& pathOrUrl);
void setDocumentOpener(std::function<bool(const std::string&)> opener);

}  // namespace kelto::framework
