#include "format/number_text.h"
