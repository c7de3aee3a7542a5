#include "soak/measure.h"

#include <psapi.h>

#include <algorithm>
#include <vector>

namespace soak {

namespace {

// The layouts of the two classes of NtQuerySystemInformation; the extended
// one carries the whole process id, the old one only its low 16 bits.
struct HandleEntryEx {
    PVOID object;
    ULONG_PTR pid;
    ULONG_PTR value;
    ULONG access;
    USHORT backTrace;
    USHORT type;
    ULONG attributes;
    ULONG reserved;
};
struct HandleInfoEx {
    ULONG_PTR count;
    ULONG_PTR reserved;
    HandleEntryEx entries[1];
};
struct HandleEntry {
    USHORT pid;
    USHORT backTrace;
    UCHAR type;
    UCHAR attributes;
    USHORT value;
    PVOID object;
    ULONG access;
};
struct HandleInfo {
    ULONG count;
    HandleEntry entries[1];
};

constexpr LONG kLengthMismatch = static_cast<LONG>(0xC0000004);
constexpr ULONG kClassHandles = 16, kClassHandlesEx = 64;

using QueryFn = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

QueryFn queryFn() {
    static QueryFn fn = reinterpret_cast<QueryFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    return fn;
}

// The whole list of one class, the buffer grown until it fits (handles come
// and go between the calls); empty when the class does not answer.
std::vector<char> systemHandles(ULONG cls) {
    QueryFn q = queryFn();
    if (!q) return {};
    std::vector<char> buf(1 << 16);
    for (int tries = 0; tries < 16; ++tries) {
        ULONG needed = 0;
        LONG status = q(cls, buf.data(), static_cast<ULONG>(buf.size()), &needed);
        if (status >= 0) return buf;
        if (status != kLengthMismatch) return {};
        buf.resize(std::max<std::size_t>(buf.size() * 2, needed + 4096));
    }
    return {};
}

BOOL CALLBACK countChild(HWND, LPARAM lp) {
    ++*reinterpret_cast<int*>(lp);
    return TRUE;
}

struct TopCount {
    DWORD pid;
    int n;
};

BOOL CALLBACK countTop(HWND h, LPARAM lp) {
    auto* c = reinterpret_cast<TopCount*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    if (owner == c->pid) {
        ++c->n;
        EnumChildWindows(h, countChild, reinterpret_cast<LPARAM>(&c->n));
    }
    return TRUE;
}

}  // namespace

std::uint64_t privateBytes(HANDLE process) {
    std::uint64_t sum = 0;
    MEMORY_BASIC_INFORMATION mbi;
    char* at = nullptr;
    while (VirtualQueryEx(process, at, &mbi, sizeof mbi) == sizeof mbi) {
        if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE) sum += mbi.RegionSize;
        char* next = static_cast<char*>(mbi.BaseAddress) + mbi.RegionSize;
        if (next <= at) break;  // wrapped at the top of the address space
        at = next;
    }
    return sum;
}

long handleCount(DWORD pid, int* cls) {
    int dummy;
    if (!cls) cls = &dummy;
    *cls = 0;
    std::vector<char> buf = systemHandles(kClassHandlesEx);
    if (!buf.empty()) {
        const auto* info = reinterpret_cast<const HandleInfoEx*>(buf.data());
        long n = 0;
        for (ULONG_PTR i = 0; i < info->count; ++i) n += info->entries[i].pid == pid;
        if (info->count > 0) {
            *cls = kClassHandlesEx;
            return n;
        }
    }
    buf = systemHandles(kClassHandles);
    if (buf.empty()) return -1;
    const auto* info = reinterpret_cast<const HandleInfo*>(buf.data());
    if (info->count == 0) return -1;
    long n = 0;
    for (ULONG i = 0; i < info->count; ++i) n += info->entries[i].pid == (pid & 0xFFFF);
    *cls = kClassHandles;
    return n;
}

int windowCount(DWORD pid) {
    TopCount c{pid, 0};
    EnumWindows(countTop, reinterpret_cast<LPARAM>(&c));
    return c.n;
}

Figures measure(HANDLE process, DWORD pid) {
    Figures f;
    f.privateBytes = privateBytes(process);
    f.handles = handleCount(pid, &f.handleClass);
    f.windows = windowCount(pid);
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof pmc;
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc)) {
        f.workingSet = pmc.WorkingSetSize;
        f.apiPrivateUsage = pmc.PrivateUsage;
    }
    GetProcessHandleCount(process, &f.apiHandleCount);
    f.apiUserObjects = GetGuiResources(process, GR_USEROBJECTS);
    f.apiGdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
    return f;
}

Growth growthSince(const std::vector<Sample>& s, std::size_t settled) {
    Growth g;
    if (s.size() < settled + 3) return g;
    const Sample& first = s[settled];
    const Sample& mid = s[(settled + s.size() - 1) / 2];
    const Sample& last = s.back();
    g.minutes = last.minutes - first.minutes;
    g.bytes = static_cast<double>(last.f.privateBytes) - static_cast<double>(first.f.privateBytes);
    g.bytesUnbounded = g.bytes > std::max(2.0 * 1024 * 1024, first.f.privateBytes * 0.1) &&
                       last.f.privateBytes > mid.f.privateBytes;
    if (first.f.handles >= 0 && last.f.handles >= 0) {
        g.handles = last.f.handles - first.f.handles;
        g.handlesUnbounded = g.handles > std::max(20.0, first.f.handles * 0.1) && last.f.handles > mid.f.handles;
    }
    return g;
}

std::string grouped(std::uint64_t n) {
    const std::string digits = std::to_string(n);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

}  // namespace soak
