// The bytes of a stream from its position to its end, as far as they actually arrive: a stream
// that claims more than it delivers gives what it delivered.
#pragma once

#include <string>

class TStream;

std::string UcReadRest(TStream* stream);
