// Whether any process still holds a named shared block.
#pragma once

// Waits up to `milliseconds` until no process holds the named mapping, so the
// next opener creates it afresh; false if it is still held.
bool WaitUntilUnheld(const char *name, unsigned long milliseconds = 10000);
