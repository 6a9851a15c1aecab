#include "platform/signal_cleanup.h"

#include <limits.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>

namespace quorvel {

namespace {

// A fixed table, so that the handler reads it without allocating or locking:
// a slot's name is read only while its state is Ready.
enum SlotState : int { Free, Writing, Ready };

struct Slot {
    std::atomic<int> state{Free};
    char path[PATH_MAX];
};

constexpr std::size_t kSlotCount = 64;
std::array<Slot, kSlotCount> slots;

constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGHUP};

void removeRegisteredFiles(int signal) {
    const int savedErrno = errno;
    for (Slot& slot : slots) {
        if (slot.state.load() == Ready) ::unlink(slot.path);
    }
    // The default action now ends the program with the signal's status.
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
    errno = savedErrno;
    raise(signal);
}

}  // namespace

void installTemporaryFileCleanup() {
    static std::once_flag installed;
    std::call_once(installed, [] {
        for (const int signal : kSignals) {
            struct sigaction previous {};
            if (sigaction(signal, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) {
                continue;
            }
            struct sigaction action {};
            action.sa_handler = removeRegisteredFiles;
            sigemptyset(&action.sa_mask);
            for (const int other : kSignals)
                sigaddset(&action.sa_mask, other);
            sigaction(signal, &action, nullptr);
        }
    });
}

int registerTemporaryFile(std::string_view path) {
    if (path.size() >= PATH_MAX) return -1;
    for (std::size_t n = 0; n < slots.size(); ++n) {
        int expected = Free;
        if (!slots[n].state.compare_exchange_strong(expected, Writing)) continue;
        std::memcpy(slots[n].path, path.data(), path.size());
        slots[n].path[path.size()] = '\0';
        slots[n].state.store(Ready);
        return static_cast<int>(n);
    }
    return -1;
}

CleanupSignalsHeld::CleanupSignalsHeld() {
    sigset_t held;
    sigemptyset(&held);
    for (const int signal : kSignals)
        sigaddset(&held, signal);
    pthread_sigmask(SIG_BLOCK, &held, &previous_);
}

CleanupSignalsHeld::~CleanupSignalsHeld() {
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

void unregisterTemporaryFile(int slot) {
    if (slot < 0 || static_cast<std::size_t>(slot) >= slots.size()) return;
    slots[static_cast<std::size_t>(slot)].state.store(Free);
}

}  // namespace quorvel
