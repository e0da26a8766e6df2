#include "platform/forms/TSaveDialog.h"

bool TSaveDialog::Execute() { return DoExecute(&GetSaveFileNameA); }
