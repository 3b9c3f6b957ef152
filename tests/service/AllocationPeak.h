#pragma once
#include <cstddef>

// Watches the bytes this test program holds through operator new (which AllocationPeak.cpp replaces
// for the whole program): the peak reached since the watch began, above the level at its start.
class AllocationPeak {
public:
    AllocationPeak();
    std::size_t bytesAboveStart() const;

private:
    std::size_t start;
};
