// The list is only touched from the program's own thread: the summing threads never add
// or remove themselves.
#include "extract/summing_threads.hpp"

#include <algorithm>
#include <vector>

#include "units/termination.hpp"

namespace corvane::extract {

namespace {

// Never destroyed: the sinks that own threads end with the program's static objects, in an
// order the list cannot be sure to outlive.
std::vector<SummingThread*>& running() {
    static auto* const threads = new std::vector<SummingThread*>;
    return *threads;
}

void stop_all() {
    std::vector<SummingThread*> threads;
    threads.swap(running());
    for (SummingThread* thread : threads) thread->stop_now();
}

}  // namespace

void stop_at_exit(SummingThread* thread) {
    static const bool registered = (units::register_exit_routine(stop_all), true);
    (void)registered;
    running().push_back(thread);
}

void forget_at_exit(SummingThread* thread) { std::erase(running(), thread); }

}  // namespace corvane::extract
