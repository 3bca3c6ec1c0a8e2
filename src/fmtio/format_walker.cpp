#include "fmtio/format_walker.hpp"

namespace corvane::fmtio {

void FormatWalker::start(const FormatRef& format) {
    format_ = format;
    end_entry_ = &format.entries[format.count - 1];
    pc_ = 1;
    pending_ = 0;
    pending_entry_ = nullptr;
    depth_ = 0;
    data_since_revert_ = false;
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
