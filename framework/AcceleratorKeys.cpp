#include "framework/AcceleratorKeys.h"

#include "platform/Trace.h"

#include <QKeyEvent>
#include <QKeySequence>

namespace kelto::framework {

namespace {
QKeyCombination normalised(QKeyCombination key) {
    return QKeyCombination(key.keyboardModifiers() & ~Qt::KeypadModifier, key.key());
}
}  // namespace

AcceleratorKeys::AcceleratorKeys(const AcceleratorTable& table) {
    for (const AcceleratorEntry& entry : table) {
        const QKeySequence sequence = QKeySequence::fromString(QString::fromStdString(entry.key), QKeySequence::PortableText);
        if (sequence.count() != 1 || sequence[0].key() == Qt::Key_unknown) {
            platform::tracef("Accelerators: key \"%s\" of command %d is not a key; left out", entry.key.c_str(), entry.command);
            continue;
        }
        entries_.emplace_back(normalised(sequence[0]), entry.command);
    }
}

std::optional<int> AcceleratorKeys::commandFor(QKeyCombination key) const {
    const QKeyCombination wanted = normalised(key);
    for (const auto& [combination, command] : entries_)
        if (combination == wanted) return command;
    return std::nullopt;
}

std::optional<int> AcceleratorKeys::commandFor(const QKeyEvent& event) const {
    return commandFor(QKeyCombination(event.modifiers(), Qt::Key(event.key())));
}

}  // namespace kelto::framework
