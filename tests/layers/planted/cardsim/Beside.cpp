// A card simulator source that includes the hardware-control library beside it.
#include "rurorizi/Api.h"
