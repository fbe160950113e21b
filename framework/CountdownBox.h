#pragma once
// A question that answers itself: it shows a countdown and takes OK when it runs out, so an
// unattended computer still carries out what was planned. Tests answer it like a message box.
#include "framework/MessageBoxes.h"

namespace kelto::framework {

// IDOK when accepted or when the countdown ran out, IDCANCEL when declined.
int countdownBox(QWidget* parent, const MessageBoxRequest& request, int seconds);

}  // namespace kelto::framework
