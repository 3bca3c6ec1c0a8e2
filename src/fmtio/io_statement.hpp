// The one READ or WRITE in progress: it is opened on a unit with a format, receives its
// items one by one, and is closed, returning its outcome (0, 1 for the ERR branch, 2 for
// the END branch).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "fmtio/edit_state.hpp"
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

using units::Control;
using units::StatementKind;
using units::UnitSpec;

// How a statement is formatted: a compiled constant format, a text compiled when the
// statement runs, or none (list-directed).
struct FormatArg {
    enum class Kind : std::uint8_t { compiled, text, list };
    Kind kind = Kind::list;
    FormatRef compiled;
    std::string_view text;

    constexpr FormatArg(FormatRef f) : kind(Kind::compiled), compiled(f) {}  // NOLINT: a format is a format
    constexpr FormatArg() = default;
};
inline constexpr FormatArg list_directed{};
inline FormatArg runtime_format(std::string_view text) {
    FormatArg f;
    f.kind = FormatArg::Kind::text;
    f.text = text;
    return f;
}

// An internal unit: a character variable read or written as one record.
inline UnitSpec internal_unit(char* chars, std::size_t length) {
    return {UnitSpec::Kind::internal, 0, chars, static_cast<std::uint32_t>(length)};
}
template <std::size_t N>
UnitSpec internal_unit(Text<N>& text) {
    return internal_unit(text.data(), N);
}
template <std::size_t N>
UnitSpec internal_unit(const Text<N>& text) {  // READ only: the variable is not changed
    return internal_unit(const_cast<char*>(text.data()), N);
}

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
    int open(StatementKind kind, const UnitSpec& unit, Control control, const FormatArg& format);
    int transfer(const IoItem& item);
    int close();

    // The whole statement in one call.
    int run(StatementKind kind, const UnitSpec& unit, Control control, const FormatArg& format,
            const IoItem* items, std::size_t count);

private:
    int fail(int code);
    void start_fresh(StatementKind kind, const UnitSpec& unit, const Control& control);
    int take_format(const FormatArg& format);
    int open_connection(bool reading);
    int transfer_element(const IoItem& item, void* element);
    int edit_element(const FormatEntry& entry, const IoItem& item, void* element);
    int next_data_descriptor(const FormatEntry*& entry);
    int execute_control(const FormatEntry& e);
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
    int outcome_ = 0;
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
