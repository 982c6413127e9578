#include "BusErrorGuard.h"

#include <atomic>
#include <csetjmp>
#include <csignal>
#include <cstring>
#include <mutex>

namespace tables {

namespace {

// volatile and fenced: the compiler must not drop or move the stores around
// the copy, which never reads them.
thread_local sigjmp_buf *volatile activeGuard = nullptr;
struct sigaction previousAction {};

void onBusError(int signal, siginfo_t *info, void *)
{
    if (sigjmp_buf *guard = activeGuard) {
        activeGuard = nullptr;
        siglongjmp(*guard, 1);
    }
    // Not a guarded copy: hand the signal to whoever had it before. A fault
    // repeats when the access is retried; a sent signal is raised again.
    ::sigaction(signal, &previousAction, nullptr);
    if (info && info->si_code <= 0)
        ::raise(signal);
}

void installHandler()
{
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction action {};
        action.sa_sigaction = onBusError;
        // NODEFER: the jump out of the handler leaves SIGBUS unblocked.
        action.sa_flags = SA_SIGINFO | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGBUS, &action, &previousAction);
    });
}

} // namespace

bool copyGuarded(char *to, const char *from, std::size_t size)
{
    installHandler();
    sigjmp_buf guard;
    if (sigsetjmp(guard, 0) != 0)
        return false;
    activeGuard = &guard;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    std::memcpy(to, from, size);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    activeGuard = nullptr;
    return true;
}

} // namespace tables
