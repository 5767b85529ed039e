// How much of a control's text the program reads.
#pragma once

#include <cstddef>

// An edit or combo box is read with a 255-byte buffer: at most 254 characters
// and the terminating zero.
constexpr std::size_t kFieldTextLength = 254;
