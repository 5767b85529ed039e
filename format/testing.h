// What only the tests call: the reference that FormatNumber is checked against.
#pragma once

#include "format/short_string.h"

// FormatNumber from the exact decimal expansion of the value, always.
ShortString ExactNumberText(double value);
