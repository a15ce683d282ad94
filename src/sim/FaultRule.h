// One fault the simulator injects, and how often: into every Nth exchange.
#pragma once

enum class FaultKind { Drop, Noise, BadCheck, Truncate, Disconnect };

struct FaultRule {
    FaultKind kind = FaultKind::Drop;
    int every = 1;
};
