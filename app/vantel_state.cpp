// The one record of the calculator's process-wide state.
#include "app/vantel_state.h"

VantelState App;
