#pragma once

#include <string>

namespace velmora {

// The computer's IPv4 address as dotted text (the first one the resolver
// gives for the computer's own name), or empty text on any failure.
std::string Local_IP_Address();

} // namespace velmora
