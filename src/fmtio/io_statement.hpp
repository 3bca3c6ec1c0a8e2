// The one READ or WRITE in progress: it is opened on a unit with a format, receives its
// items one by one, and is closed, returning its outcome (ok, or the ERR, END or EOR
// branch).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "fmtio/edit_state.hpp"
#include "fmtio/format_arg.hpp"
#include "fmtio/format_program.hpp"
#include "fmtio/format_walker.hpp"
#include "fmtio/input_editing.hpp"
#include "fmtio/io_item.hpp"
#include "fmtio/list_directed_input.hpp"
#include "fmtio/record_writer.hpp"
#include "units/connection_record.hpp"
#include "units/record_io.hpp"
#include "units/statement_context.hpp"

namespace corvane::fmtio {

// A run-time format compiled into storage that persists between statements.
class RuntimeFormat {
public:
    int compile(std::string_view text);
    FormatRef ref() const { return {entries_.data(), pool_.data(), static_cast<std::uint32_t>(entries_.size())}; }

private:
    std::vector<FormatEntry> entries_;
    std::vector<char> pool_;
};

class IoStatement : private RecordSource {
public:
    units::Outcome open(StatementKind kind, const UnitSpec& unit, Control control, const FormatArg& format);
    units::Outcome transfer(const IoItem& item);
    units::Outcome close();

    // The whole statement in one call.
    units::Outcome run(StatementKind kind, const UnitSpec& unit, Control control, const FormatArg& format,
                       const IoItem* items, std::size_t count);
    // A whole WRITE of character values.
    units::Outcome run_texts(const UnitSpec& unit, Control control, const FormatArg& format,
                             std::span<const std::string_view> texts);

private:
    template <class ItemAt>
    units::Outcome run_items(StatementKind kind, const UnitSpec& unit, Control control, const FormatArg& format,
                             std::size_t count, ItemAt item_at);
    // Where a statement is in the pass of its format.
    struct PassCursor {
        const FormatEntry* entries;
        const std::uint16_t* pass;
        std::uint32_t length;
        std::uint32_t reversion;
        std::uint32_t next;
    };
    template <class ItemAt>
    units::Outcome run_pass(std::size_t count, ItemAt item_at);
    int next_in_pass(PassCursor& cursor, const FormatEntry*& entry);
    static bool is_one_text_a_record(const FormatRef& format);
    units::Outcome run_text_records(std::span<const std::string_view> texts);
    units::Outcome fail(int code);
    void start_fresh(StatementKind kind, const UnitSpec& unit, const Control& control);
    int take_format(const FormatArg& format);
    int open_connection(bool reading);
    int transfer_element(const IoItem& item, void* element);
    int edit_element(const FormatEntry& entry, const IoItem& item, void* element);
    int next_data_descriptor(const FormatEntry*& entry);
    int execute_control(const FormatEntry& e);
    int write_literal(const FormatEntry& e);
    int end_output_record();
    int fetch_record() override;
    const RecordReader& current_record() const override { return in_; }
    RecordReader& current_record() override { return in_; }
    int finish_format();
    int settle_advance(bool reading);
    void keep_rest_of_record();

    StatementKind kind_ = StatementKind::read;
    UnitSpec unit_;
    Control control_;
    units::ConnectionRecord* connection_ = nullptr;
    bool list_ = false;
    bool failed_ = false;
    bool internal_record_used_ = false;
    bool after_character_ = true;  // list-directed output: the record's first item follows one
    bool nonadvancing_ = false;
    bool walker_started_ = false;
    units::Outcome outcome_ = units::outcome_ok;
    int saved_rounding_ = 0;
    std::uint32_t controls_since_data_ = 0;
    FormatRef format_;
    FormatWalker walker_;
    RuntimeFormat runtime_format_;
    EditState state_;
    RecordWriter out_;
    RecordReader in_;
    units::RecordScratch scratch_;
    ListInput list_input_;
};

IoStatement& current_statement();

}  // namespace corvane::fmtio
