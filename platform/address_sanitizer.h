// Whether this build runs under AddressSanitizer: LFG_ADDRESS_SANITIZER is
// defined then. Code that manages memory itself uses it to leave the
// sanitizer's heap in charge, so that the sanitizer still sees every block.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#define LFG_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LFG_ADDRESS_SANITIZER 1
#endif
#endif
