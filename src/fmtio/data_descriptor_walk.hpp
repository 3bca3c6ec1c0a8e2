// A constant-evaluable copy of the run time's format walk (format_walker.hpp), reduced to
// the data descriptors: what the item check and the laid-out passes of constant formats
// follow while the program is built.
#pragma once

#include <algorithm>
#include <cstdint>

#include "fmtio/format_program.hpp"

namespace corvane::fmtio::detail {

class DataDescriptorWalk {
public:
    explicit constexpr DataDescriptorWalk(FormatRef format) : format_(format) {}

    // The kind of the next data descriptor; FormatKind::end when the walk cannot be followed
    // any further here (a pass without data, groups nested too deep, or the step budget
    // spent). Kinds rather than pointers: a sanitizer's null checks on a pointer into the
    // constant program would keep the walk from being a constant expression.
    constexpr FormatKind next() {
        if (pending_ > 0) {
            --pending_;
            return pending_kind_;
        }
        while (++steps_ < step_budget) {
            const FormatEntry& e = format_.entries[pc_];
            switch (e.kind) {
                case FormatKind::group_open: if (!open_group(e)) return FormatKind::end; continue;
                case FormatKind::group_close: close_group(); continue;
                case FormatKind::end: if (!revert()) return FormatKind::end; continue;
                default:
                    ++pc_;
                    if (!is_data_kind(e.kind)) continue;
                    entry_ = pc_ - 1;
                    data_since_revert_ = true;
                    pending_ = e.repeat - 1;
                    pending_kind_ = e.kind;
                    return e.kind;
            }
        }
        return FormatKind::end;
    }

    // The entry of the descriptor just returned, and how often the walk has gone back to
    // the format's reversion point.
    constexpr std::uint32_t entry_index() const { return entry_; }
    constexpr std::uint32_t reversions() const { return reversions_; }

    // Up to `wanted` more uses of the descriptor just returned, as the run time takes them.
    constexpr std::uint32_t take_repeats(std::uint32_t wanted) {
        const std::uint32_t n = pending_ < 0 ? 0 : std::min(static_cast<std::uint32_t>(pending_), wanted);
        pending_ -= static_cast<std::int32_t>(n);
        return n;
    }

private:
    static constexpr std::uint32_t step_budget = 1u << 16;

    constexpr bool open_group(const FormatEntry& e) {
        if (e.w > 0) {  // an empty group: nothing to repeat
            pc_ += static_cast<std::uint32_t>(e.w) + 1;
            return true;
        }
        if (depth_ == max_group_depth) return false;
        groups_[depth_++] = {e.repeat, pc_ + 1};
        ++pc_;
        return true;
    }
    constexpr void close_group() {
        Group& top = groups_[depth_ - 1];
        if (--top.remaining > 0) {
            pc_ = top.first;
        } else {
            --depth_;
            ++pc_;
        }
    }
    constexpr bool revert() {
        if (!data_since_revert_) return false;
        data_since_revert_ = false;
        ++reversions_;
        const auto end_index = static_cast<std::int32_t>(format_.count - 1);
        pc_ = static_cast<std::uint32_t>(end_index + format_.entries[format_.count - 1].repeat);
        depth_ = 0;
        return true;
    }

    struct Group {
        std::int32_t remaining = 0;
        std::uint32_t first = 0;
    };
    FormatRef format_;
    std::uint32_t pc_ = 1;
    std::uint32_t steps_ = 0;
    std::int32_t pending_ = 0;
    FormatKind pending_kind_ = FormatKind::end;
    Group groups_[max_group_depth]{};
    int depth_ = 0;
    bool data_since_revert_ = false;
    std::uint32_t entry_ = 0;
    std::uint32_t reversions_ = 0;
};

}  // namespace corvane::fmtio::detail
