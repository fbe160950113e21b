#pragma once
// A dialog of the program: a Window's wiring on a QDialog, its controls built from the dialog
// template with the resource number, its buttons routed into its message map. Default handling:
// command 1 (OK) accepts, command 2 (Cancel) and WM_CLOSE reject.
#include "framework/WindowWiring.h"

#include <QDialog>

namespace kelto::framework {

class Dialog : public QDialog {
public:
    static constexpr int IDOK = 1;
    static constexpr int IDCANCEL = 2;

    // Builds template `resourceId` (traced and left empty when it is missing); 0: no template,
    // the subclass builds its controls.
    explicit Dialog(int resourceId, QWidget* parent = nullptr);
    ~Dialog() override;

    int resourceId() const { return resourceId_; }
    bool loaded() const { return form_ != nullptr; }
    MessageMap& messageMap() { return wiring_.map(); }
    WindowTimers& timers() { return wiring_.timers(); }
    WindowWiring& wiring() { return wiring_; }
    platform::WindowHandle windowHandle() const { return wiring_.handle(); }
    // The control with the identifier, or null.
    QWidget* control(int controlId) const;
    template <typename Control>
    Control* control(int controlId) const {
        return qobject_cast<Control*>(control(controlId));
    }

protected:
    virtual std::int64_t defaultHandling(const platform::WindowMessage& message);
    // Escape and the close box go through the table as command 2, so a Cancel handler sees them.
    void reject() override;

private:
    int resourceId_;
    WindowWiring wiring_;
    QWidget* form_ = nullptr;
};

}  // namespace kelto::framework
