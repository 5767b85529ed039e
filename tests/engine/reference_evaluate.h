// The text evaluation written the plain way, for comparing the engine's with:
// every group found by scanning the text from its start, every piece copied,
// every place to split searched from the end of the piece.
#pragma once

#include "engine/result.h"
#include "format/short_string.h"

Result ReferenceEvaluate(const ShortString& text);
