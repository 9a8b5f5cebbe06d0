#include "compteurmodule.h"

#include <atomic>

namespace {
std::atomic<long> utilisations{0};
} // namespace

void moduleRetenir() noexcept
{
    ++utilisations;
}

void moduleRelacher() noexcept
{
    --utilisations;
}

bool moduleInutilise() noexcept
{
    return utilisations.load() == 0;
}
