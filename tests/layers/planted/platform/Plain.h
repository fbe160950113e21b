#pragma once
// Plain platform code that reaches into the platform's Qt part: the check must reject it.
#include "platform/qt/Pump.h"
