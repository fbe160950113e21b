#pragma once
// An accelerator table turned into keys: which command a key press stands for.
#include "resources/AcceleratorResource.h"

#include <QKeyCombination>

#include <optional>
#include <vector>

class QKeyEvent;

namespace kelto::framework {

class AcceleratorKeys {
public:
    AcceleratorKeys() = default;
    // Entries whose key text Qt cannot read are left out (and traced).
    explicit AcceleratorKeys(const AcceleratorTable& table);

    // The command of the key (modifiers exact, the keypad flag ignored); the first entry wins.
    std::optional<int> commandFor(QKeyCombination key) const;
    std::optional<int> commandFor(const QKeyEvent& event) const;
    bool empty() const { return entries_.empty(); }

private:
    std::vector<std::pair<QKeyCombination, int>> entries_;
};

}  // namespace kelto::framework
