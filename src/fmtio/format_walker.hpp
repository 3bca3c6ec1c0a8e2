// Walking a compiled format while a statement runs: repeat counts, groups, and the
// reversion at the end of the format.
#pragma once

#include <algorithm>
#include <cstdint>

#include "fmtio/format_program.hpp"

namespace corvane::fmtio {

class FormatWalker {
public:
    enum class Step : std::uint8_t {
        descriptor,   // `entry` is a data or control descriptor
        format_end,   // the format is exhausted; end the record, then revert()
        error,        // `error` holds the condition code
    };

    void start(const FormatRef& format);

    // The next descriptor that is not a group control.
    Step next(const FormatEntry*& entry, int& error);

    // Continues at the reversion point: the last group at the outermost level, or the
    // start of the format. Fails (10006) when a whole pass of the format met no data
    // descriptor, which would otherwise write records for ever.
    int revert();

    // Takes up to `wanted` of the pending repeats of the descriptor just returned, as if
    // next() had returned it that many more times; returns how many were taken.
    std::uint32_t take_repeats(std::uint32_t wanted) {
        const std::uint32_t n = pending_ < 0 ? 0 : std::min(static_cast<std::uint32_t>(pending_), wanted);
        pending_ -= static_cast<std::int32_t>(n);
        return n;
    }

    // At the end of the items: is the next descriptor a control one to be carried out?
    bool more_non_data_ahead() const;

    bool has_data() const { return end_entry_ && end_entry_->has_data; }

private:
    struct Group {
        std::int32_t repeat;
        std::int32_t remaining;
        std::uint32_t first;
    };

    FormatRef format_;
    const FormatEntry* end_entry_ = nullptr;
    std::uint32_t pc_ = 1;
    std::int32_t pending_ = 0;
    const FormatEntry* pending_entry_ = nullptr;
    Group groups_[max_group_depth];
    int depth_ = 0;
    bool data_since_revert_ = false;
};

// Called for every item of every statement: kept inline.
inline FormatWalker::Step FormatWalker::next(const FormatEntry*& entry, int& error) {
    if (pending_ > 0) {
        --pending_;
        entry = pending_entry_;
        return Step::descriptor;
    }
    for (;;) {
        const FormatEntry& e = format_.entries[pc_];
        switch (e.kind) {
            case FormatKind::group_open:
                if (e.w > 0) {  // an empty group: nothing to repeat
                    pc_ += static_cast<std::uint32_t>(e.w) + 1;
                    continue;
                }
                if (depth_ == max_group_depth) {
                    error = format_error::group_overflow;
                    return Step::error;
                }
                groups_[depth_++] = {e.repeat, e.repeat, pc_ + 1};
                ++pc_;
                continue;
            case FormatKind::group_close: {
                Group& top = groups_[depth_ - 1];
                if (--top.remaining > 0) {
                    pc_ = top.first;
                } else {
                    --depth_;
                    ++pc_;
                }
                continue;
            }
            case FormatKind::end:
                return Step::format_end;
            default:
                ++pc_;
                if (is_data_kind(e.kind)) {
                    data_since_revert_ = true;
                    if (e.repeat > 1) {
                        pending_ = e.repeat - 1;
                        pending_entry_ = &e;
                    }
                }
                entry = &e;
                return Step::descriptor;
        }
    }
}

}  // namespace corvane::fmtio
