// How a configuration document gets its protocol object. A port number 1..99 reads the port's
// mode text and protocol kind from the "Comm" settings and opens a serial line; port 0 connects
// over TCP/IP to the address value's four octets on port 7734. Returns nullptr only for a
// protocol kind other than 0 (Terminal) or 1 (Minicomputer); a port that cannot be opened
// still gives a protocol whose port reports "not open".
#pragma once

#include "ComStream.h"
#include "FrameFormat.h"
#include "VandtProtocol.h"

#include <QString>
#include <cstdint>
#include <memory>

// addressValue: the device's IP address, first octet most significant; on a serial line its
// last octet is the unit address.
std::unique_ptr<VandtProtocol> MakeProtocol(int portNumber, uint32_t addressValue);

// A protocol of the given kind over a port the caller made (a device path, a TCP/IP host).
std::unique_ptr<VandtProtocol> MakeProtocol(std::unique_ptr<ComStream> port, ProtocolKind kind,
                                            int unitAddress);

// "%d.%d.%d.%d" of the address value, most significant octet first.
QString HostTextOf(uint32_t addressValue);
