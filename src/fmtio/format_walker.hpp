// Walking a compiled format while a statement runs: repeat counts, groups, and the
// reversion at the end of the format.
#pragma once

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

    void start(FormatRef format);

    // The next descriptor that is not a group control.
    Step next(const FormatEntry*& entry, int& error);

    // Continues at the reversion point: the last group at the outermost level, or the
    // start of the format. Fails (10006) when a whole pass of the format met no data
    // descriptor, which would otherwise write records for ever.
    int revert();

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

}  // namespace corvane::fmtio
