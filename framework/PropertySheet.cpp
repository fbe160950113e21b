#include "framework/PropertySheet.h"

#include "framework/ControlIds.h"
#include "framework/PropertyPage.h"
#include "resources/StringTable.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace kelto::framework {

namespace {
QPushButton* addButton(QDialogButtonBox* box, const QString& text, int controlId, QDialogButtonBox::ButtonRole role) {
    auto* button = box->addButton(text, role);
    button->setAutoDefault(controlId == Dialog::IDOK);
    stampControlId(button, controlId);
    return button;
}
}  // namespace

PropertySheet::PropertySheet(const QString& caption, QWidget* parent, Buttons buttons) : Dialog(0, parent) {
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabBar(this);
    tabs_->setExpanding(false);
    stack_ = new QStackedWidget(this);
    layout->addWidget(tabs_);
    // Centred below tabs that may be wider than the pages.
    layout->addWidget(stack_, 0, Qt::AlignHCenter);
    if (buttons == Buttons::OkCancelApply) {
        auto* box = new QDialogButtonBox(this);
        // The buttons' commands go through the table; the box's own accept/reject stay unconnected.
        addButton(box, tr("OK"), IDOK, QDialogButtonBox::ActionRole);
        addButton(box, tr("Cancel"), IDCANCEL, QDialogButtonBox::ActionRole);
        apply_ = addButton(box, tr("&Apply"), ID_APPLY_NOW, QDialogButtonBox::ActionRole);
        apply_->setEnabled(false);
        layout->addWidget(box);
    }
    layout->addStretch();
    wiring().bindButtons();

    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
        if (switching_ || index == active_) return;
        if (!setActivePage(index)) {
            switching_ = true;
            tabs_->setCurrentIndex(active_);
            switching_ = false;
        }
    });
    messageMap().onCommand(IDOK, [this] {
        if (activePage() && !activePage()->onKillActive()) return;
        if (applyAll()) accept();
    });
    messageMap().onCommand(ID_APPLY_NOW, [this] {
        if (activePage() && !activePage()->onKillActive()) return;
        applyAll();
    });
    messageMap().onCommand(IDCANCEL, [this] {
        for (PropertyPage* page : pages_) page->onCancel();
        QDialog::reject();
    });
}

PropertySheet::~PropertySheet() = default;

void PropertySheet::addPage(PropertyPage* page) {
    page->sheet_ = this;
    pages_.push_back(page);
    // A page from a template has the template's size but no layout to say so: the page area
    // takes the size of the largest page.
    if (page->loaded()) stack_->setFixedSize(stack_->minimumSize().expandedTo(page->size()));
    stack_->addWidget(page);
    switching_ = true;
    tabs_->addTab(page->caption());
    switching_ = false;
    if (active_ < 0) {
        showPage(0);
        page->onSetActive();
    }
}

PropertyPage* PropertySheet::page(int index) const {
    return index >= 0 && index < pageCount() ? pages_[std::size_t(index)] : nullptr;
}

bool PropertySheet::setActivePage(int index) {
    PropertyPage* next = page(index);
    if (!next) return false;
    if (index == active_) return true;
    if (PropertyPage* current = activePage(); current && !current->onKillActive()) return false;
    if (!next->onSetActive()) return false;
    showPage(index);
    return true;
}

bool PropertySheet::applyAll() {
    for (int i = 0; i < pageCount(); ++i) {
        if (!pages_[std::size_t(i)]->onApply()) {
            showPage(i);
            return false;
        }
        pages_[std::size_t(i)]->modified_ = false;
    }
    pageModifiedChanged();
    return true;
}

void PropertySheet::pageModifiedChanged() {
    bool any = false;
    for (PropertyPage* page : pages_) any = any || page->isModified();
    if (apply_) apply_->setEnabled(any);
}

void PropertySheet::showPage(int index) {
    active_ = index;
    stack_->setCurrentIndex(index);
    switching_ = true;
    tabs_->setCurrentIndex(index);
    switching_ = false;
}

}  // namespace kelto::framework
