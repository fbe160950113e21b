#pragma once
// Allowed: the Qt part uses the plain platform layer.
#include "platform/Plain.h"
