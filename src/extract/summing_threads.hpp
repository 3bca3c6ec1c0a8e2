// The threads that work out checksums for the manifest end before the process does, also
// when the run-time ends it midway (an interruption, a run-time error, a full disk): a sum
// still being worked out while the process takes its libraries down could crash it and
// change its exit status.
#pragma once

namespace corvane::extract {

class SummingThread {
public:
    // Ends the thread at once, its sum given up; the thread is joined on return.
    virtual void stop_now() = 0;

protected:
    ~SummingThread() = default;
};

// Keeps `thread` in the list the run-time's exit routine stops, until it is forgotten.
void stop_at_exit(SummingThread* thread);
void forget_at_exit(SummingThread* thread);

}  // namespace corvane::extract
