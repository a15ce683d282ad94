// A condition flag as the command line scripts it (see StatusFlags::ParseScript).
#pragma once

// One scripted flag: its state now, and (when changeAfter > 0) the opposite state once that
// many status replies have been sent.
struct FlagScript {
    int flag = 0;          // index in the flag table
    bool set = true;
    int changeAfter = 0;   // 0: never changes
};
