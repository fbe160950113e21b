#pragma once
// Allowed: the application includes a layer below it.
#include "platform/Upward.h"
