#include "BusErrorPatch.h"

#include <atomic>
#include <csignal>
#include <cstdint>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>

namespace tables::buserror {

namespace {

// Plain atomics: the handler reads them without locks.
struct Range {
    std::atomic<std::uintptr_t> start{0};
    std::atomic<std::uintptr_t> end{0};
    std::atomic<bool> damaged{false};
};

constexpr int kSlots = 256;
Range ranges[kSlots];
std::mutex slotMutex; // taking and giving back slots, never in the handler
struct sigaction previousAction {};
std::uintptr_t pageSize = 4096;

void onBusError(int signal, siginfo_t *info, void *context)
{
    const auto address = reinterpret_cast<std::uintptr_t>(info ? info->si_addr : nullptr);
    if (info && info->si_code > 0) {
        for (Range &r : ranges) {
            if (address < r.start.load() || address >= r.end.load())
                continue;
            void *page = reinterpret_cast<void *>(address & ~(pageSize - 1));
            if (::mmap(page, pageSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED) {
                r.damaged.store(true);
                return; // the access is repeated and reads zeros
            }
        }
    }
    // Not ours: whoever had the signal before gets it.
    if (previousAction.sa_flags & SA_SIGINFO) {
        if (previousAction.sa_sigaction) {
            previousAction.sa_sigaction(signal, info, context);
            return;
        }
    } else if (previousAction.sa_handler != SIG_DFL && previousAction.sa_handler != SIG_IGN) {
        previousAction.sa_handler(signal);
        return;
    }
    ::sigaction(signal, &previousAction, nullptr);
    if (!info || info->si_code <= 0)
        ::raise(signal); // a sent signal; a fault repeats by itself
}

void installHandler()
{
    static std::once_flag once;
    std::call_once(once, [] {
        pageSize = std::uintptr_t(::sysconf(_SC_PAGESIZE));
        struct sigaction action {};
        action.sa_sigaction = onBusError;
        action.sa_flags = SA_SIGINFO | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGBUS, &action, &previousAction);
    });
}

} // namespace

int registerRange(const char *start, qint64 length)
{
    installHandler();
    std::lock_guard lock(slotMutex);
    for (int i = 0; i < kSlots; ++i) {
        Range &r = ranges[i];
        if (r.end.load() != 0)
            continue;
        r.damaged.store(false);
        r.start.store(reinterpret_cast<std::uintptr_t>(start));
        r.end.store(reinterpret_cast<std::uintptr_t>(start) + std::uintptr_t(length));
        return i;
    }
    return -1;
}

void unregisterRange(int slot)
{
    if (slot < 0 || slot >= kSlots)
        return;
    std::lock_guard lock(slotMutex);
    ranges[slot].end.store(0);
    ranges[slot].start.store(0);
}

const std::atomic<bool> &damagedFlag(int slot) { return ranges[slot].damaged; }

} // namespace tables::buserror
