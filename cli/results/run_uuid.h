// The random id each run gets when its results document is made, so that
// the run is known again wherever its document travels.
#pragma once

#include <string>

// A new RFC 4122 version-4 UUID in lower case, "1b4e28ba-2fa1-4d2b-a83c-0e02b2c3d479",
// from the kernel's random source; "" when the kernel gives no random bytes.
std::string newRunUuid();

// True for a UUID in its usual text form (8-4-4-4-12 hex digits, either case).
bool isRunUuid(const std::string& text);
