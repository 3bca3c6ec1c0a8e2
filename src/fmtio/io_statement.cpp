#include "fmtio/io_statement.hpp"

#include <cfenv>
#include <new>
#if defined(__SSE__)
#include <xmmintrin.h>
#endif

#include "fmtio/format_compiler.hpp"
#include "fmtio/output_editing.hpp"
#include "fmtio/statement_api.hpp"
#include "units/conditions.hpp"
#include "units/console_streams.hpp"
#include "units/error_report.hpp"
#include "units/interruption.hpp"
#include "units/keyword_tables.hpp"
#include "units/record_limits.hpp"
#include "units/runtime_options.hpp"
#include "units/unit_table.hpp"

namespace corvane::fmtio {

namespace {
// More control descriptors than this between two items (or after the last) can only come
// from nested repeats of a group without data: 10006.
constexpr std::uint32_t max_controls_between_items = 1u << 20;

using units::condition::advance_not_allowed;
using units::condition::bad_advance;
using units::condition::end_of_record_nonadvancing;
using units::condition::eor_with_advancing;
using units::condition::illegal_internal_use;
using units::condition::no_record_for_direct;
using units::condition::not_open_for_read;
using units::condition::not_open_for_write;
using units::condition::record_too_long;
using units::condition::size_with_advancing;

// The floating-point rounding mode, read cheaply: statements check it at every start.
int current_rounding() {
#if defined(__SSE__) && defined(FE_TONEAREST) && FE_TONEAREST == 0
    if ((_mm_getcsr() & 0x6000u) == 0) return FE_TONEAREST;
#endif
    return std::fegetround();
}

}  // namespace

int RuntimeFormat::compile(std::string_view text) {
    entries_.clear();
    pool_.clear();
    try {
        return compile_format_into(text, entries_, pool_).error;
    } catch (const std::bad_alloc&) {
        return format_error::buffer_allocation;
    }
}

IoStatement& current_statement() {
    static IoStatement statement;
    return statement;
}

units::Outcome run_statement(StatementKind kind, const UnitSpec& u, Control control, const FormatArg& format,
                             const IoItem* items, std::size_t count) {
    return current_statement().run(kind, u, control, format, items, count);
}

units::Outcome run_text_statement(const UnitSpec& u, Control control, const FormatArg& format,
                                  std::span<const std::string_view> texts) {
    return current_statement().run_texts(u, control, format, texts);
}

units::Outcome IoStatement::open(StatementKind kind, const UnitSpec& unit, Control control, const FormatArg& format) {
    units::end_if_interrupted();
    const units::RuntimeOptions& options = units::runtime_options();  // read on the first statement
    units::poll_events();
    // Conversions assume round-to-nearest; the caller's mode comes back at the end. A
    // constant format that edits no real value leaves the mode alone: reading it costs
    // more than the rest of a short statement's start.
    const bool real_editing = format.kind != FormatArg::Kind::compiled || format.compiled.edits_reals;
    saved_rounding_ = real_editing ? current_rounding() : FE_TONEAREST;
    if (saved_rounding_ != FE_TONEAREST) std::fesetround(FE_TONEAREST);
    start_fresh(kind, unit, control);
    state_.hex_uppercase = options.hex_uppercase;
    state_.no_lead_zero = options.no_lead_zero;
    if (int err = take_format(format)) return fail(err);
    const bool reading = kind == StatementKind::read;
    // Most statements give neither ADVANCE=, SIZE= nor an EOR branch: nothing to settle.
    const bool plain_advance = control.advance.empty() && !control.size && !(control.branches & units::branch_eor);
    if (!plain_advance) {
        if (int err = settle_advance(reading)) return fail(err);
    }
    if (unit.kind != UnitSpec::Kind::internal) {
        if (int err = open_connection(reading)) return fail(err);
    } else if (reading) {
        in_ = {unit.internal, unit.internal_length, 0};
        internal_record_used_ = true;
    }
    if (list_ && !reading) out_.put(' ', 1);  // a list-directed record starts with a blank
    return units::outcome_ok;
}

// Nothing of the previous statement is left; the iostat variable starts at 0. The steps of
// open() are inlined into it: they run at every statement.
[[gnu::always_inline]] inline void IoStatement::start_fresh(StatementKind kind, const UnitSpec& unit, const Control& control) {
    kind_ = kind;
    unit_ = unit;
    control_ = control;
    connection_ = nullptr;
    failed_ = false;
    outcome_ = units::outcome_ok;
    internal_record_used_ = false;
    after_character_ = true;
    nonadvancing_ = false;
    controls_since_data_ = 0;
    state_ = EditState{};
    out_.start_record();
    in_ = RecordReader{};
    if (control.iostat.present()) units::store_iostat(control.iostat, 0);
}

// The compiled format, a run-time format compiled now, or list-directed editing.
[[gnu::always_inline]] inline int IoStatement::take_format(const FormatArg& format) {
    list_ = format.kind == FormatArg::Kind::list;
    switch (format.kind) {
        case FormatArg::Kind::compiled: format_ = format.compiled; break;
        case FormatArg::Kind::text:
            if (int err = runtime_format_.compile(strip_statement_label(format.text))) return err;
            format_ = runtime_format_.ref();
            break;
        case FormatArg::Kind::list: list_input_.start(); break;
    }
    // A format laid out as a pass is followed without the walk: the walker starts only if
    // an item needs it after all.
    walker_started_ = !list_ && format_.pass == nullptr;
    if (walker_started_) walker_.start(format_);
    return 0;
}

// The statement's unit (connected now if it was not) must allow the transfer; a READ
// then has its first record.
[[gnu::always_inline]] inline int IoStatement::open_connection(bool reading) {
    int error = 0;
    const int number = unit_.kind == UnitSpec::Kind::default_unit ? units::unit_default : unit_.number;
    connection_ = units::unit_for_transfer(number, reading, error);
    if (error) return error;
    if (reading && !connection_->mode.can_read) return not_open_for_read;
    if (!reading && !connection_->mode.can_write) return not_open_for_write;
    if (connection_->mode.access == units::Access::direct) return no_record_for_direct;
    if (nonadvancing_ && connection_->mode.form != units::Form::formatted) return advance_not_allowed;
    state_.blank_zero = connection_->mode.blank_zero;
    state_.pad = connection_->mode.pad;
    if (!reading) return 0;
    if (!connection_->has_pending_input) return fetch_record();
    // A non-advancing READ left this record part-read: go on where it stopped.
    connection_->has_pending_input = false;
    in_ = {connection_->pending_input.data(), connection_->pending_input.size(), connection_->pending_input_position};
    return 0;
}

units::Outcome IoStatement::transfer(const IoItem& item) {
    if (failed_) return outcome_;
    units::poll_events();
    // An item needs a data descriptor: a format without one fails now rather than
    // walking its repeats in search of one.
    if (!list_ && !walker_started_) {
        walker_.start(format_);
        walker_started_ = true;
    }
    if (!list_ && !walker_.has_data()) return fail(format_error::bad_format);
    if (item.count == 1 && !list_ && item.type != TypeClass::complex) {
        // Most items are one variable: one step of the walk and its editing.
        const FormatEntry* entry = nullptr;
        if (int err = next_data_descriptor(entry)) return fail(err);
        if (int err = edit_element(*entry, item, item.address)) return fail(err);
        return out_.overflowed ? fail(units::condition::buffer_allocation) : units::outcome_ok;
    }
    auto* base = static_cast<char*>(item.address);
    const std::size_t stride = item.stride();
    if (list_ || item.type == TypeClass::complex) {
        for (std::uint32_t i = 0; i < item.count; ++i) {
            if (int err = transfer_element(item, base + i * stride)) return fail(err);
        }
    } else {
        for (std::uint32_t i = 0; i < item.count;) {
            const FormatEntry* entry = nullptr;
            if (int err = next_data_descriptor(entry)) return fail(err);
            // A repeated descriptor serves the following elements without further steps of the walk.
            const std::uint32_t end = i + 1 + walker_.take_repeats(item.count - i - 1);
            for (; i < end; ++i) {
                if (int err = edit_element(*entry, item, base + i * stride)) return fail(err);
            }
        }
    }
    if (out_.overflowed) return fail(units::condition::buffer_allocation);
    return units::outcome_ok;
}

units::Outcome IoStatement::close() {
    if (failed_) return outcome_;
    // A format laid out as a pass holds no control descriptor to finish with.
    if (!list_ && format_.pass == nullptr) {
        if (int err = finish_format()) return fail(err);
    }
    if (kind_ == StatementKind::write) {
        if (nonadvancing_) state_.suppress_line_end = true;  // the next WRITE goes on in the line
        if (int err = end_output_record()) return fail(err);
    } else if (nonadvancing_) {
        keep_rest_of_record();
    }
    units::poll_events();
    if (saved_rounding_ != FE_TONEAREST) std::fesetround(saved_rounding_);
    return units::outcome_ok;
}

template <class ItemAt>
units::Outcome IoStatement::run_items(StatementKind kind, const UnitSpec& unit, Control control,
                                      const FormatArg& format, std::size_t count, ItemAt item_at) {
    try {
        if (const auto outcome = open(kind, unit, control, format); outcome != units::outcome_ok) return outcome;
        if (!list_ && format_.pass != nullptr) return run_pass(count, item_at);
        for (std::size_t i = 0; i < count; ++i) {
            if (const auto outcome = transfer(item_at(i)); outcome != units::outcome_ok) return outcome;
        }
        return close();
    } catch (const std::bad_alloc&) {
        return fail(units::condition::memory_allocation);
    }
}

// The items edited under the entries of the pass in turn: what transfer() does, without
// the steps of the walk. When the pass is spent and elements remain, the record ends and
// the pass goes on from its reversion point. The pass and each item are kept in locals:
// the elements stored into could be this statement's own members, for all the compiler
// can tell, and every step would load them again.
template <class ItemAt>
units::Outcome IoStatement::run_pass(std::size_t count, ItemAt item_at) {
    PassCursor cursor{format_.entries, format_.pass, format_.pass_length, format_.pass_reversion, 0};
    for (std::size_t i = 0; i < count; ++i) {
        const IoItem item = item_at(i);
        units::poll_events();
        auto* const base = static_cast<char*>(item.address);
        if (item.type == TypeClass::complex) {
            // The two real parts of each element, each under an entry of its own.
            const IoItem part{TypeClass::real, static_cast<std::uint8_t>(item.size / 2), nullptr, 0, 1};
            for (std::uint32_t element = 0; element < 2 * item.count; ++element) {
                const FormatEntry* entry = nullptr;
                if (int err = next_in_pass(cursor, entry)) return fail(err);
                if (int err = edit_element(*entry, part, base + element * (item.size / 2))) return fail(err);
            }
        } else {
            const std::size_t stride = item.stride();
            for (std::uint32_t element = 0; element < item.count; ++element) {
                const FormatEntry* entry = nullptr;
                if (int err = next_in_pass(cursor, entry)) return fail(err);
                if (int err = edit_element(*entry, item, base + element * stride)) return fail(err);
            }
        }
        if (out_.overflowed) return fail(units::condition::buffer_allocation);
    }
    return close();
}

// The next entry of the pass; at its end the record ends first.
[[gnu::always_inline]] inline int IoStatement::next_in_pass(PassCursor& cursor, const FormatEntry*& entry) {
    if (cursor.next == cursor.length) {
        if (int err = kind_ == StatementKind::write ? end_output_record() : fetch_record()) return err;
        cursor.next = cursor.reversion;
    }
    entry = &cursor.entries[cursor.pass[cursor.next++]];
    return 0;
}

// "(a)" and its like: one A without a width, the whole format, each item a record of its own.
bool IoStatement::is_one_text_a_record(const FormatRef& format) {
    if (format.pass_length != 1 || format.pass_reversion != 0) return false;
    const FormatEntry& entry = format.entries[format.pass[0]];
    return entry.kind == FormatKind::A && !entry.width_given;
}

// Texts under such a format on a unit that is not internal: each text goes to the unit as
// the record it is, without a copy in the statement's own record. The last one is that
// record, which close() ends as it ends any. A text longer than the longest record stops
// the statement where its record would have overflowed.
units::Outcome IoStatement::run_text_records(std::span<const std::string_view> texts) {
    units::poll_events();
    std::size_t whole = texts.size() - 1;
    bool overflow = false;
    for (std::size_t i = 0; i < whole; ++i) {
        if (texts[i].size() > units::max_record_length) {
            whole = i;
            overflow = true;
        }
    }
    std::size_t written = 0;
    if (int err = units::write_records(*connection_, texts.first(whole), written)) return fail(err);
    if (overflow) return fail(units::condition::buffer_allocation);
    out_.put(texts.back().data(), texts.back().size());
    if (out_.overflowed) return fail(units::condition::buffer_allocation);
    return close();
}

units::Outcome IoStatement::run(StatementKind kind, const UnitSpec& unit, Control control, const FormatArg& format,
                                const IoItem* items, std::size_t count) {
    return run_items(kind, unit, control, format, count, [items](std::size_t i) -> const IoItem& { return items[i]; });
}

units::Outcome IoStatement::run_texts(const UnitSpec& unit, Control control, const FormatArg& format,
                                      std::span<const std::string_view> texts) {
    if (texts.size() > 1 && format.kind == FormatArg::Kind::compiled && is_one_text_a_record(format.compiled)) {
        try {
            if (const auto outcome = open(StatementKind::write, unit, control, format); outcome != units::outcome_ok)
                return outcome;
            if (connection_ && !nonadvancing_) return run_text_records(texts);
            return run_pass(texts.size(), [texts](std::size_t i) { return make_item(texts[i]); });
        } catch (const std::bad_alloc&) {
            return fail(units::condition::memory_allocation);
        }
    }
    return run_items(StatementKind::write, unit, control, format, texts.size(),
                     [texts](std::size_t i) { return make_item(texts[i]); });
}

int IoStatement::settle_advance(bool reading) {
    const Control& c = control_;
    if (!c.advance.empty()) {
        if (units::keyword_is(c.advance, "NO")) nonadvancing_ = true;
        else if (!units::keyword_is(c.advance, "YES")) return bad_advance;
        if (list_) return bad_advance;  // list-directed statements always advance
    }
    if (c.size && (!nonadvancing_ || !reading)) return size_with_advancing;
    if ((c.branches & units::branch_eor) && (!nonadvancing_ || !reading)) return eor_with_advancing;
    return 0;
}

void IoStatement::keep_rest_of_record() {
    if (control_.size) *control_.size = static_cast<std::int32_t>(in_.taken);
    if (!connection_) return;
    if (in_.data != connection_->pending_input.data()) connection_->pending_input.assign(in_.data, in_.length);
    connection_->pending_input_position = in_.position;
    connection_->has_pending_input = true;
}

units::Outcome IoStatement::fail(int code) {
    if (code == end_of_record_nonadvancing && control_.size) *control_.size = static_cast<std::int32_t>(in_.taken);
    failed_ = true;
    out_.start_record();  // the record is dropped, not written
    in_ = RecordReader{};
    state_ = EditState{};
    if (saved_rounding_ != FE_TONEAREST) std::fesetround(saved_rounding_);
    const units::ConditionContext context{kind_, unit_, control_};
    outcome_ = units::raise_io_condition(units::Condition{code}, context);
    return outcome_;
}

// List-directed elements, and the two real parts of a complex element under a format.
int IoStatement::transfer_element(const IoItem& item, void* element) {
    if (list_) {
        if (kind_ == StatementKind::write) return list_output(out_, state_, item, element, after_character_);
        return list_input_.read_element(*this, item, element);
    }
    const IoItem part{TypeClass::real, static_cast<std::uint8_t>(item.size / 2), nullptr, 0, 1};
    for (char* at : {static_cast<char*>(element), static_cast<char*>(element) + item.size / 2}) {
        const FormatEntry* entry = nullptr;
        if (int err = next_data_descriptor(entry)) return err;
        if (int err = edit_element(*entry, part, at)) return err;
    }
    return 0;
}

// One element under its data descriptor; whole decimal integer fields take the direct path.
[[gnu::always_inline]] inline int IoStatement::edit_element(const FormatEntry& entry, const IoItem& item,
                                                            void* element) {
    if (kind_ == StatementKind::write) {
        if (edit_plain_integer_output(out_, state_, entry, item, element)) return 0;
        if (edit_plain_character_output(out_, entry, item, element)) return 0;
        return edit_output(out_, state_, entry, item, element);
    }
    if (!edit_plain_integer(in_, entry, item, element) && !edit_plain_character(in_, entry, item, element)) {
        if (int err = edit_input(in_, state_, entry, item, element)) return err;
    }
    // Non-advancing input that reaches the end of its record ends there, the item padded.
    return nonadvancing_ && in_.ran_short ? end_of_record_nonadvancing : 0;
}

// The commonest control of an output line, a delimiter, straight into the record: what
// execute_control does with it, without the steps for the other controls.
[[gnu::always_inline]] inline int IoStatement::write_literal(const FormatEntry& e) {
    if (++controls_since_data_ > max_controls_between_items) return format_error::bad_format;
    const std::string_view text = format_.literal(e);
    out_.put(text.data(), text.size());
    return out_.overflowed ? units::condition::buffer_allocation : 0;
}

[[gnu::always_inline]] inline int IoStatement::next_data_descriptor(const FormatEntry*& entry) {
    for (;;) {
        int error = 0;
        switch (walker_.next(entry, error)) {
            case FormatWalker::Step::error:
                return error;
            case FormatWalker::Step::format_end:
                // Items remain: the record ends and the format starts again at its
                // reversion point.
                if (int err = walker_.revert()) return err;
                if (int err = kind_ == StatementKind::write ? end_output_record() : fetch_record()) return err;
                continue;
            case FormatWalker::Step::descriptor:
                if (is_data_kind(entry->kind)) {
                    controls_since_data_ = 0;
                    return 0;
                }
                if (entry->kind == FormatKind::literal && kind_ == StatementKind::write) {
                    if (int err = write_literal(*entry)) return err;
                    continue;
                }
                if (int err = execute_control(*entry)) return err;
                continue;
        }
    }
}


int IoStatement::execute_control(const FormatEntry& e) {
    // Nested repeats of control descriptors alone could keep a statement busy for hours.
    if (++controls_since_data_ > max_controls_between_items) return format_error::bad_format;
    if (e.kind == FormatKind::slash) {
        for (std::int32_t i = 0; i < e.w; ++i) {
            if (int err = kind_ == StatementKind::write ? end_output_record() : fetch_record()) return err;
        }
        return 0;
    }
    if (kind_ == StatementKind::write) execute_output_control(out_, state_, e, format_);
    else execute_input_control(in_, state_, e);
    const std::size_t position = kind_ == StatementKind::write ? out_.position : in_.position;
    if (position > units::max_record_length || out_.overflowed) return units::condition::buffer_allocation;
    return 0;
}

// Trailing literals and positioning after the last item, up to a ":", a data
// descriptor or the end of the format.
int IoStatement::finish_format() {
    while (walker_.more_non_data_ahead()) {
        const FormatEntry* entry = nullptr;
        int error = 0;
        if (walker_.next(entry, error) == FormatWalker::Step::error) return error;
        if (entry->kind == FormatKind::colon) break;
        if (int err = execute_control(*entry)) return err;
    }
    return 0;
}

int IoStatement::end_output_record() {
    if (out_.overflowed) return units::condition::buffer_allocation;
    if (unit_.kind == UnitSpec::Kind::internal) {
        // An internal unit is one record: the variable, blank-padded at the end.
        if (internal_record_used_ || !unit_.internal_target) return illegal_internal_use;
        if (out_.high_water > unit_.internal_length) return record_too_long;
        text_assign(unit_.internal_target, unit_.internal_length, {out_.data(), out_.high_water});
        internal_record_used_ = true;
    } else if (int err = units::write_record(*connection_, out_.data(), out_.high_water, !state_.suppress_line_end)) {
        return err;
    }
    out_.start_record();
    return 0;
}

int IoStatement::fetch_record() {
    if (unit_.kind == UnitSpec::Kind::internal) return units::condition::end_of_file;  // one record only
    units::RecordView view;
    const int rc = units::read_record(*connection_, view, scratch_);
    if (rc == units::record_end_of_file) return units::condition::end_of_file;
    if (rc != units::record_ok) return rc;
    in_ = {view.data, view.length, 0};
    return 0;
}

}  // namespace corvane::fmtio
