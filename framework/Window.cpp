#include "framework/Window.h"

namespace kelto::framework {

Window::Window(QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), wiring_(*this, [this](const platform::WindowMessage& m) { return defaultHandling(m); }) {}

Window::~Window() = default;

std::int64_t Window::defaultHandling(const platform::WindowMessage& message) {
    if (message.message == platform::WM_CLOSE) close();
    return 0;
}

}  // namespace kelto::framework
