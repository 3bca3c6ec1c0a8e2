#include "fmtio/format_walker.hpp"

namespace corvane::fmtio {

void FormatWalker::start(FormatRef format) {
    format_ = format;
    end_entry_ = &format.entries[format.count - 1];
    pc_ = 1;
    pending_ = 0;
    pending_entry_ = nullptr;
    depth_ = 0;
    data_since_revert_ = false;
}

FormatWalker::Step FormatWalker::next(const FormatEntry*& entry, int& error) {
    if (pending_ > 0) {
        --pending_;
        entry = pending_entry_;
        return Step::descriptor;
    }
    for (;;) {
        const FormatEntry& e = format_.entries[pc_];
        switch (e.kind) {
            case FormatKind::group_open:
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

int FormatWalker::revert() {
    if (!data_since_revert_) return format_error::bad_format;
    data_since_revert_ = false;
    const auto end_index = static_cast<std::int32_t>(format_.count - 1);
    pc_ = static_cast<std::uint32_t>(end_index + end_entry_->repeat);
    depth_ = 0;
    return 0;
}

bool FormatWalker::more_non_data_ahead() const {
    if (pending_ > 0) return false;
    const FormatKind next_kind = format_.entries[pc_].kind;
    if (next_kind == FormatKind::end) return false;
    if (next_kind != FormatKind::group_open && next_kind != FormatKind::group_close) return !is_data_kind(next_kind);
    // Through group controls the walk itself tells what comes next.
    FormatWalker ahead = *this;
    const FormatEntry* entry = nullptr;
    int error = 0;
    switch (ahead.next(entry, error)) {
        case Step::descriptor: return !is_data_kind(entry->kind);
        case Step::format_end: return false;
        case Step::error: return true;  // let the real step raise it
    }
    return false;
}

}  // namespace corvane::fmtio
