#include "platform/Registry.h"

#include "platform/AtomicFile.h"
#include "platform/Paths.h"
#include "platform/Trace.h"

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace kelto::platform {

namespace {

const char* rootNameOf(RegHive hive) {
    return hive == RegHive::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

// Identifies one version of a file: a replacement by rename changes the inode.
struct FileIdentity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};

    static FileIdentity of(const fs::path& path) {
        struct stat st{};
        FileIdentity id;
        if (::stat(path.c_str(), &st) != 0) return id;
        id.exists = true;
        id.device = st.st_dev;
        id.inode = st.st_ino;
        id.size = st.st_size;
        id.modified = st.st_mtim;
        return id;
    }
    bool operator==(const FileIdentity& o) const {
        return exists == o.exists && device == o.device && inode == o.inode && size == o.size &&
               modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec;
    }
};

}  // namespace

struct Registry::HiveState {
    RegHive which;
    fs::path path;
    std::recursive_mutex mutex;
    RegistryHive tree;
    FileIdentity loaded;
    bool everLoaded = false;
    // Batch bookkeeping: depth of nested changes, the cross-process lock, unsaved changes.
    int depth = 0;
    std::unique_ptr<FileLock> lock;
    bool dirty = false;

    HiveState(RegHive hive, fs::path file) : which(hive), path(std::move(file)), tree(rootNameOf(hive)) {}
};

Registry& Registry::instance() {
    static Registry registry(registryFolder());
    return registry;
}

Registry::Registry(fs::path folder)
    : folder_(std::move(folder)),
      currentUser_(std::make_unique<HiveState>(RegHive::CurrentUser, folder_ / "HKEY_CURRENT_USER.reg")),
      localMachine_(std::make_unique<HiveState>(RegHive::LocalMachine, folder_ / "HKEY_LOCAL_MACHINE.reg")) {}

Registry::~Registry() = default;

fs::path Registry::hivePath(RegHive hive) const {
    return hive == RegHive::CurrentUser ? currentUser_->path : localMachine_->path;
}

Registry::HiveState& Registry::state(RegHive hive) {
    return hive == RegHive::CurrentUser ? *currentUser_ : *localMachine_;
}

void Registry::refresh(HiveState& s) {
    const FileIdentity now = FileIdentity::of(s.path);
    if (s.everLoaded && now == s.loaded) return;
    s.everLoaded = true;
    s.loaded = now;
    if (!now.exists) {
        s.tree = RegistryHive(rootNameOf(s.which));
        return;
    }
    std::string text;
    if (!readWholeFile(s.path, text)) {
        tracef("Registry: cannot read %s; using an empty hive", s.path.c_str());
        s.tree = RegistryHive(rootNameOf(s.which));
        return;
    }
    std::string error;
    if (auto parsed = RegistryHive::parse(text, rootNameOf(s.which), &error)) {
        s.tree = std::move(*parsed);
        return;
    }
    // Move the unreadable file aside under the writers' lock, unless a writer replaced it since.
    std::unique_ptr<FileLock> lock;
    if (s.depth == 0) lock = std::make_unique<FileLock>(s.path.string() + ".lock");
    fs::path aside;
    if (FileIdentity::of(s.path) == now) aside = moveAside(s.path, ".bad");
    tracef("Registry: %s does not parse (%s); moved aside as %s, using an empty hive", s.path.c_str(),
           error.c_str(), aside.empty() ? "(failed)" : aside.c_str());
    s.tree = RegistryHive(rootNameOf(s.which));
    s.loaded = FileIdentity::of(s.path);
}

bool Registry::beginChange(HiveState& s) {
    if (s.depth++ > 0) return true;
    std::error_code ec;
    fs::create_directories(folder_, ec);
    s.lock = std::make_unique<FileLock>(s.path.string() + ".lock");
    s.dirty = false;
    // Read the file again now that no other writer can change it.
    s.everLoaded = false;
    refresh(s);
    return s.lock->locked();
}

bool Registry::endChange(HiveState& s) {
    if (--s.depth > 0) return true;
    bool ok = s.lock && s.lock->locked();
    if (ok && s.dirty) {
        std::string error;
        const std::string text = s.tree.serialize();
        // A hive is never written larger than it may be read back.
        if (text.size() > kMaxHiveBytes) error = "the hive would be larger than " + std::to_string(kMaxHiveBytes) + " bytes";
        ok = error.empty() && writeFileAtomically(s.path, text, &error);
        if (!ok) {
            tracef("Registry: cannot save %s: %s", s.path.c_str(), error.c_str());
            s.everLoaded = false;  // reload the file's real content next time
        } else {
            s.loaded = FileIdentity::of(s.path);
        }
    }
    s.dirty = false;
    s.lock.reset();
    return ok;
}

template <typename Change>
bool Registry::change(RegHive hive, Change&& apply) {
    HiveState& s = state(hive);
    std::lock_guard guard(s.mutex);
    const bool locked = beginChange(s);
    bool changed = false;
    if (locked) {
        changed = apply(s.tree);
        s.dirty = s.dirty || changed;
    }
    const bool saved = endChange(s);
    // Inside a batch the save happens later; report the change itself.
    return locked && changed && (s.depth > 0 || saved);
}

bool Registry::createKey(RegHive hive, std::string_view keyPath) {
    return change(hive, [&](RegistryHive& t) {
        if (t.keyExists(keyPath)) return true;
        return t.createKey(keyPath);
    });
}

bool Registry::keyExists(RegHive hive, std::string_view keyPath) {
    HiveState& s = state(hive);
    std::lock_guard guard(s.mutex);
    refresh(s);
    return s.tree.keyExists(keyPath);
}

bool Registry::deleteKey(RegHive hive, std::string_view keyPath) {
    return change(hive, [&](RegistryHive& t) { return t.deleteKey(keyPath); });
}

std::vector<std::string> Registry::subkeyNames(RegHive hive, std::string_view keyPath) {
    HiveState& s = state(hive);
    std::lock_guard guard(s.mutex);
    refresh(s);
    return s.tree.subkeyNames(keyPath);
}

std::vector<std::string> Registry::valueNames(RegHive hive, std::string_view keyPath) {
    HiveState& s = state(hive);
    std::lock_guard guard(s.mutex);
    refresh(s);
    return s.tree.valueNames(keyPath);
}

std::optional<RegValue> Registry::queryValue(RegHive hive, std::string_view keyPath, std::string_view valueName) {
    HiveState& s = state(hive);
    std::lock_guard guard(s.mutex);
    refresh(s);
    return s.tree.value(keyPath, valueName);
}

std::optional<std::uint32_t> Registry::queryDword(RegHive hive, std::string_view keyPath,
                                                  std::string_view valueName) {
    auto v = queryValue(hive, keyPath, valueName);
    if (!v || v->type != RegType::Dword) return std::nullopt;
    return v->dword;
}

std::optional<std::string> Registry::queryString(RegHive hive, std::string_view keyPath,
                                                 std::string_view valueName) {
    auto v = queryValue(hive, keyPath, valueName);
    if (!v || v->type != RegType::String) return std::nullopt;
    return v->text;
}

bool Registry::setValue(RegHive hive, std::string_view keyPath, std::string_view valueName, const RegValue& value) {
    return change(hive, [&](RegistryHive& t) { return t.setValue(keyPath, valueName, value); });
}

bool Registry::setDword(RegHive hive, std::string_view keyPath, std::string_view valueName, std::uint32_t value) {
    return setValue(hive, keyPath, valueName, RegValue::ofDword(value));
}

bool Registry::setString(RegHive hive, std::string_view keyPath, std::string_view valueName,
                         std::string_view value) {
    return setValue(hive, keyPath, valueName, RegValue::ofString(value));
}

bool Registry::deleteValue(RegHive hive, std::string_view keyPath, std::string_view valueName) {
    return change(hive, [&](RegistryHive& t) { return t.deleteValue(keyPath, valueName); });
}

Registry::Batch::Batch(Registry& registry, RegHive hive) : registry_(registry), hive_(hive) {
    HiveState& s = registry_.state(hive_);
    s.mutex.lock();
    registry_.beginChange(s);
}

Registry::Batch::~Batch() {
    HiveState& s = registry_.state(hive_);
    registry_.endChange(s);
    s.mutex.unlock();
}

}  // namespace kelto::platform
