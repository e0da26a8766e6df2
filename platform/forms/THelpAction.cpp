#include "platform/forms/THelpAction.h"

#include "platform/rtl/Exceptions.h"

void THelpAction::ExecuteTarget(TObject* /*target*/) { throw EInvalidOperation("Help is not available"); }
