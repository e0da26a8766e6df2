#include "unicode/TUcAction.h"

#include "platform/forms/THintAction.h"

template class TUcActionOf<TCustomAction>;
template class TUcActionOf<TAction>;
template class TUcActionOf<THintAction>;
