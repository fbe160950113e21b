#pragma once
// A property sheet that stays open beside its owner and closes only through a close request:
// its own buttons, Escape, WM_CLOSE and the window manager's close all ask mayClose(); when the
// sheet agrees it hides and is destroyed from the event loop (its owner learns that from the
// object's destruction). It has no OK, Cancel or Apply and no close box.
#include "framework/PropertySheet.h"

namespace kelto::framework {

class ModelessSheet : public PropertySheet {
public:
    enum class Stacking { Normal, StaysOnTop };
    ModelessSheet(const QString& caption, QWidget* owner, Stacking stacking);

    // A close request: refused (false) while mayClose() says no, otherwise the sheet goes.
    bool requestClose();

protected:
    // Whether the sheet may close now; a refusal says why in the trace log.
    virtual bool mayClose() const { return true; }

    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    std::int64_t defaultHandling(const platform::WindowMessage& message) override;

private:
    bool closing_ = false;
};

}  // namespace kelto::framework
