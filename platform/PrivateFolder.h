#pragma once
// A folder only this user can change, for files other processes trust (window sockets, mutexes).
//
// Every folder on the way from "/" is looked at without following links: each must be a real
// folder owned by this user or by root, and one that other users can write to must have the
// sticky bit (like /tmp), so nobody else can replace what lies in it. A link is followed only when
// root owns it (the system's own, like /var/run). Missing folders are made with mode 0700. The
// folder itself must belong to this user and must not be writable by others; it is then set to
// mode 0700. Anything else is refused with a message that names the folder and what is wrong.
#include <filesystem>
#include <string>

namespace kelto::platform {

// True when the folder is ready; otherwise false and, when given, why (one sentence).
bool preparePrivateFolder(const std::filesystem::path& folder, std::string* error = nullptr);

}  // namespace kelto::platform
