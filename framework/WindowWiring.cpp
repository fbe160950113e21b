#include "framework/WindowWiring.h"

#include "framework/ControlIds.h"
#include "framework/QtMenus.h"
#include "resources/MenuResource.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

namespace kelto::framework {

namespace {
constexpr const char* kBoundProperty = "keltoButtonBound";
// Set on a widget whose WindowWiring translates keys, so nested windows (a page inside a sheet)
// find the nearest table.
constexpr const char* kAcceleratorOwnerProperty = "keltoAcceleratorOwner";
}  // namespace

WindowWiring::WindowWiring(QWidget& window, Fallback fallback) : window_(window), fallback_(std::move(fallback)) {}

WindowWiring::~WindowWiring() {
    timers_.killAll();
    if (filtering_ && QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

bool WindowWiring::createPlatformWindow(std::string_view className, std::string_view title,
                                        platform::WindowSystem& system) {
    platformWindow_ = std::make_unique<PlatformWindow>(
        className, title, map_,
        [this](const platform::WindowMessage& m) { return fallback_ ? fallback_(m) : std::int64_t(0); }, system);
    return platformWindow_->valid();
}

void WindowWiring::bindButtons() {
    for (QAbstractButton* button : window_.findChildren<QAbstractButton*>()) {
        const int id = controlIdOf(button);
        if (id == 0 || button->property(kBoundProperty).toBool()) continue;
        button->setProperty(kBoundProperty, true);
        connect(button, &QAbstractButton::clicked, this, [this, id] { sendCommand(id); });
    }
}

bool WindowWiring::loadAccelerators(int tableId) {
    const auto table = kelto::loadAccelerators(tableId);
    if (!table) return false;
    setAccelerators(AcceleratorKeys(*table));
    return true;
}

void WindowWiring::setAccelerators(AcceleratorKeys keys) {
    accelerators_ = std::move(keys);
    window_.setProperty(kAcceleratorOwnerProperty, QVariant::fromValue<QObject*>(this));
    if (!filtering_ && QCoreApplication::instance()) {
        // Keys are translated before the focused control sees them, as a message pre-translation
        // would; an application filter sees them first.
        QCoreApplication::instance()->installEventFilter(this);
        filtering_ = true;
    }
}

QMenu* WindowWiring::buildPopupMenu(int menuId, int popupIndex, QWidget* parent) {
    const auto menu = loadMenu(menuId);
    if (!menu || popupIndex < 0 || std::size_t(popupIndex) >= menu->children.size()) return nullptr;
    const MenuItem& popup = menu->children[std::size_t(popupIndex)];
    if (popup.kind != MenuItem::Kind::Popup) return nullptr;
    return buildMenu(popup, parent, [this](int command) { sendCommand(command); });
}

QMenu* WindowWiring::buildPopupMenu(int menuId, std::string_view popupText, QWidget* parent) {
    const auto menu = loadMenu(menuId);
    if (!menu) return nullptr;
    for (std::size_t i = 0; i < menu->children.size(); ++i)
        if (menu->children[i].kind == MenuItem::Kind::Popup && menu->children[i].text == popupText)
            return buildPopupMenu(menuId, int(i), parent);
    return nullptr;
}

std::int64_t WindowWiring::dispatch(const platform::WindowMessage& message) {
    if (auto answer = map_.dispatch(message)) return *answer;
    return fallback_ ? fallback_(message) : 0;
}

std::int64_t WindowWiring::sendCommand(int commandId, std::uint16_t source) {
    platform::WindowMessage message;
    message.window = handle();
    message.message = platform::WM_COMMAND;
    message.wParam = (std::uint64_t(source) << 16) | std::uint64_t(commandId & 0xFFFF);
    return dispatch(message);
}

bool WindowWiring::ownsKeysOf(QObject* receiver) const {
    if (!receiver || !receiver->isWidgetType()) return false;
    for (auto* widget = static_cast<QWidget*>(receiver); widget; widget = widget->parentWidget()) {
        const QVariant owner = widget->property(kAcceleratorOwnerProperty);
        if (owner.isValid()) return owner.value<QObject*>() == this;
        if (widget->isWindow()) break;  // keys of another top-level window are not ours
    }
    return false;
}

bool WindowWiring::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || accelerators_.empty() || !ownsKeysOf(watched)) return false;
    const auto command = accelerators_.commandFor(*static_cast<QKeyEvent*>(event));
    if (!command) return false;
    sendCommand(*command, kFromAccelerator);
    return true;
}

}  // namespace kelto::framework
