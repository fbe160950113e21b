#pragma once
// A property sheet: a dialog of tabs, each a PropertyPage, with OK (1), Cancel (2) and Apply
// (0x3021) buttons routed through the sheet's message map like any dialog's buttons.
//   - Changing tabs asks the current page onKillActive (a refusal keeps it), then the new one
//     onSetActive.
//   - OK asks the current page onKillActive, then applies every page in order (a refusal keeps
//     the sheet open on that page) and closes accepted. Apply does the same without closing.
//   - Cancel tells every page onCancel and closes rejected.
#include "framework/Dialog.h"

#include <vector>

class QPushButton;
class QStackedWidget;
class QTabBar;

namespace kelto::framework {

class PropertyPage;

class PropertySheet : public Dialog {
public:
    static constexpr int ID_APPLY_NOW = 0x3021;

    // Which buttons the sheet has below its pages: OK, Cancel and Apply, or none (a sheet whose
    // pages act at once and that brings its own way to close).
    enum class Buttons { OkCancelApply, None };

    explicit PropertySheet(const QString& caption, QWidget* parent = nullptr, Buttons buttons = Buttons::OkCancelApply);
    ~PropertySheet() override;

    // Adds a page (the sheet takes ownership); the first page added is the current one.
    void addPage(PropertyPage* page);
    int pageCount() const { return int(pages_.size()); }
    PropertyPage* page(int index) const;
    int activeIndex() const { return active_; }
    PropertyPage* activePage() const { return page(active_); }
    // Makes page `index` current; false when the current page refused or the index is wrong.
    bool setActivePage(int index);
    // Applies every page; false when one refused.
    bool applyAll();
    // The tabs (one per page, in page order) and the area the pages are shown in.
    QTabBar* tabBar() const { return tabs_; }
    QStackedWidget* pageArea() const { return stack_; }

private:
    friend class PropertyPage;
    void pageModifiedChanged();
    void showPage(int index);

    QTabBar* tabs_;
    QStackedWidget* stack_;
    QPushButton* apply_ = nullptr;
    std::vector<PropertyPage*> pages_;
    int active_ = -1;
    bool switching_ = false;
};

}  // namespace kelto::framework
