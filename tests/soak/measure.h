// What a long run watches of another process, by means that give real
// figures under Wine as well as on Windows: Wine answers 0 to
// GetProcessHandleCount and GetGuiResources and leaves PrivateUsage at 0.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace soak {

struct Figures {
    std::uint64_t privateBytes = 0;  // committed MEM_PRIVATE regions
    std::uint64_t workingSet = 0;
    long handles = -1;               // -1: the system handle list gave nothing
    int handleClass = 0;             // the information class that answered
    int windows = 0;                 // top-level windows and all their children
    // The figures as the usual calls give them, to show whether they are real.
    DWORD apiHandleCount = 0;
    std::uint64_t apiPrivateUsage = 0;
    DWORD apiUserObjects = 0, apiGdiObjects = 0;
};

// Sum of the committed private regions of the process's address space, from
// VirtualQueryEx (needs PROCESS_QUERY_INFORMATION).
std::uint64_t privateBytes(HANDLE process);

// Entries of pid in the system-wide handle list (information class 64, else
// 16); -1 when neither class answers. *cls, when given, says which answered.
long handleCount(DWORD pid, int* cls = nullptr);

// Windows owned by pid, children included: what the program holds of USER
// objects, since GetGuiResources is not counted under Wine.
int windowCount(DWORD pid);

Figures measure(HANDLE process, DWORD pid);

struct Sample {
    double minutes;
    Figures f;
};

// Growth from the settled sample to the last. It looks unbounded when it is
// large and the second half of that stretch grew too: a cache fills and
// stops, a leak goes on.
struct Growth {
    double minutes = 0;
    double bytes = 0, handles = 0;
    bool bytesUnbounded = false, handlesUnbounded = false;
};
Growth growthSince(const std::vector<Sample>& samples, std::size_t settled);

// 1234567 -> "1,234,567"
std::string grouped(std::uint64_t n);

}  // namespace soak
