#pragma once
// The registry: two hives, HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE, each a text file in a
// folder (by default $KELTO_ROOT/Registry/HKEY_CURRENT_USER.reg and HKEY_LOCAL_MACHINE.reg).
//
// Every change is saved at once: under a lock shared by all processes, the current file is read
// again, the change applied, and the file replaced atomically, so two writers never lose each
// other's values and a reader never sees half a file. A Batch groups many changes into one save.
// A hive file that does not parse is moved aside as "<file>.bad" (a trace line says so) and an
// empty hive takes its place; the bad file is never overwritten.
// All members are safe to call from any thread.
#include "platform/RegistryHive.h"

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelto::platform {

enum class RegHive { CurrentUser, LocalMachine };

class Registry {
public:
    // The registry of this process's KeltoTV root.
    static Registry& instance();

    explicit Registry(std::filesystem::path folder);
    ~Registry();
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    const std::filesystem::path& folder() const { return folder_; }
    std::filesystem::path hivePath(RegHive hive) const;

    bool createKey(RegHive hive, std::string_view keyPath);
    bool keyExists(RegHive hive, std::string_view keyPath);
    // Deletes the key with all its subkeys and values.
    bool deleteKey(RegHive hive, std::string_view keyPath);
    std::vector<std::string> subkeyNames(RegHive hive, std::string_view keyPath);
    std::vector<std::string> valueNames(RegHive hive, std::string_view keyPath);

    // valueName "" is the key's default value.
    std::optional<RegValue> queryValue(RegHive hive, std::string_view keyPath, std::string_view valueName);
    // A value of another type than asked for reads as absent.
    std::optional<std::uint32_t> queryDword(RegHive hive, std::string_view keyPath, std::string_view valueName);
    std::optional<std::string> queryString(RegHive hive, std::string_view keyPath, std::string_view valueName);

    // Setting a value creates its key. False when the hive could not be saved.
    bool setValue(RegHive hive, std::string_view keyPath, std::string_view valueName, const RegValue& value);
    bool setDword(RegHive hive, std::string_view keyPath, std::string_view valueName, std::uint32_t value);
    bool setString(RegHive hive, std::string_view keyPath, std::string_view valueName, std::string_view value);
    bool deleteValue(RegHive hive, std::string_view keyPath, std::string_view valueName);

    // Holds one hive's lock while it lives; changes made meanwhile by this thread are saved once,
    // when it ends. Other threads and processes wait for it.
    class Batch {
    public:
        Batch(Registry& registry, RegHive hive);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        Registry& registry_;
        RegHive hive_;
    };

private:
    struct HiveState;
    HiveState& state(RegHive hive);
    // Brings the cached tree up to date with the file; the state's mutex is held.
    void refresh(HiveState& s);
    bool beginChange(HiveState& s);
    bool endChange(HiveState& s);
    template <typename Change> bool change(RegHive hive, Change&& apply);

    std::filesystem::path folder_;
    std::unique_ptr<HiveState> currentUser_;
    std::unique_ptr<HiveState> localMachine_;
};

}  // namespace kelto::platform
