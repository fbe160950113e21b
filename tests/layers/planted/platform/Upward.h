#pragma once
// A platform header that reaches up into the application: the include-order check must reject it.
#include "app/Shell.h"
