#pragma once
// A page of a property sheet: a dialog built from its template, shown as one tab. The sheet asks
// it before leaving it, tells it when it becomes the current page, and lets it apply or drop
// its changes.
#include "framework/Dialog.h"

namespace kelto::framework {

class PropertySheet;

class PropertyPage : public Dialog {
public:
    explicit PropertyPage(int resourceId, QWidget* parent = nullptr);

    // The page's tab caption: its template's title.
    QString caption() const { return windowTitle(); }
    PropertySheet* sheet() const { return sheet_; }

    // The page becomes the current one; false keeps the sheet where it was.
    virtual bool onSetActive() { return true; }
    // The page is about to be left (another tab, OK); false keeps it (its data is not valid).
    virtual bool onKillActive() { return true; }
    // OK or Apply: write the page's changes; false stops the sheet from closing.
    virtual bool onApply() { return true; }
    // Cancel: drop the changes.
    virtual void onCancel() {}

    // Marks the page changed; the sheet enables Apply while any page is changed.
    void setModified(bool modified = true);
    bool isModified() const { return modified_; }

private:
    friend class PropertySheet;
    PropertySheet* sheet_ = nullptr;
    bool modified_ = false;
};

}  // namespace kelto::framework
