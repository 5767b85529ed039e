// The name and version of Vantel, for its version resources and for vantel-cli. Plain
// preprocessor definitions: the resource compiler reads them too. The first three
// numbers are the release's (release.txt), through CMake's project version.
#pragma once

#include "version_numbers.h"

#define VANTEL_PRODUCT_NAME "Vantel"
#define VANTEL_VERSION_BUILD 0

#define VANTEL_STRINGIZE_(x) #x
#define VANTEL_STRINGIZE(x) VANTEL_STRINGIZE_(x)
// "1.0.0.0"
#define VANTEL_VERSION_TEXT                                                                                   \
  VANTEL_STRINGIZE(VANTEL_VERSION_MAJOR)                                                                      \
  "." VANTEL_STRINGIZE(VANTEL_VERSION_MINOR) "." VANTEL_STRINGIZE(VANTEL_VERSION_PATCH) "." VANTEL_STRINGIZE( \
      VANTEL_VERSION_BUILD)
