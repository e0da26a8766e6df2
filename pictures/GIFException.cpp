#include "pictures/GIFException.h"

void GIFError(const char* message) { throw GIFException(message); }
