// Moving several windows in one batch: BeginDeferWindowPos opens a batch, DeferWindowPos adds a
// move (the arguments of SetWindowPos), EndDeferWindowPos applies the moves in the order they
// were added and closes the batch. A failed DeferWindowPos closes the batch and returns null.
#pragma once

#include "platform/win/Win.h"

MMS_DECLARE_HANDLE(HDWP);

// `count` is a hint for the room to keep; a negative one fails (ERROR_INVALID_PARAMETER).
HDWP BeginDeferWindowPos(int count);
// Null (last error ERROR_INVALID_HANDLE) for a batch that is not open or a window that is not
// one; the batch is then closed without applying anything.
HDWP DeferWindowPos(HDWP batch, HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
// FALSE for a batch that is not open; otherwise every move is made, TRUE when all succeeded.
BOOL EndDeferWindowPos(HDWP batch);
