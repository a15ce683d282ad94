// The status-bar texts of a configuration document's connection state. The table is indexed
// by the state: 0 NoLink, 1 Offline, 2 ReadOnly, 3 (never set; kept for the table's shape),
// 4 Online. The state -1 ("none yet") and any other value show no text.
#pragma once

#include <QString>

// " ? Comm ", " Offline  ", " *READ ONLY* ", " *ONLINE/ARM* ", " *ONLINE* " for 0 to 4; an
// empty text otherwise.
QString ConnectionStateText(int state);
