// Which Windows family the calling program is told it runs on.
#pragma once

// True on the NT family. Asked afresh on every call: nothing is cached.
bool IsNtPlatform();
