#include "app/vantel_state.h"

VantelState App;
