#pragma once
#include <cstdlib>
#include <cstring>
// Planted faults, switched on one at a time by TESSLIN_FAULT=<id>.
inline bool FaultOn(const char* id) {
    static const char* on = std::getenv("TESSLIN_FAULT");
    return on && std::strcmp(on, id) == 0;
}
