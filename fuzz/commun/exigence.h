#pragma once

#include <cstdio>
#include <cstdlib>

// A property the target checks: when it fails, the reason goes to stderr before the abort, so a
// finding's log says which rule broke and not merely that one did.
inline void exiger(bool condition, const char* regle)
{
    if (condition)
        return;
    std::fprintf(stderr, "propriété violée : %s\n", regle);
    std::abort();
}
