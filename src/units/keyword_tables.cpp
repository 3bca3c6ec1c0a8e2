#include "units/keyword_tables.hpp"

namespace corvane::units {

std::string_view trim_blanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

bool keyword_is(std::string_view given, std::string_view keyword) {
    while (!given.empty() && given.back() == ' ') given.remove_suffix(1);
    if (given.size() != keyword.size()) return false;
    for (std::size_t i = 0; i < given.size(); ++i) {
        char c = given[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != keyword[i]) return false;
    }
    return true;
}

namespace {
template <class T, std::size_t N>
std::optional<T> lookup(std::string_view given, const std::pair<std::string_view, T> (&table)[N]) {
    for (const auto& [name, value] : table) {
        if (keyword_is(given, name)) return value;
    }
    return std::nullopt;
}
}  // namespace

std::optional<OpenStatus> status_keyword(std::string_view given) {
    static constexpr std::pair<std::string_view, OpenStatus> table[] = {
        {"OLD", OpenStatus::old_file}, {"NEW", OpenStatus::new_file}, {"SCRATCH", OpenStatus::scratch},
        {"REPLACE", OpenStatus::replace}, {"UNKNOWN", OpenStatus::unknown}};
    return lookup(given, table);
}

std::optional<ActionMeaning> action_keyword(std::string_view given) {
    static constexpr ActionMeaning read_write{true, true, false, false};
    static constexpr ActionMeaning print{false, true, true, false};
    static constexpr std::pair<std::string_view, ActionMeaning> table[] = {
        {"READ", {true, false, false, false}},
        {"WRITE", {false, true, false, false}},
        {"READWRITE", read_write},
        {"BOTH", read_write},
        {"NONE", read_write},
        {"KEEP", read_write},
        {"SAVE", read_write},
        {"SUBMIT", read_write},
        {"LIST", read_write},
        {"PRINT", print},
        {"FORTRAN", print},
        {"DELETE", {true, true, false, true}},
        {"SUBMIT/DELETE", {true, true, false, true}},
        {"PRINT/DELETE", {false, true, true, true}}};
    return lookup(given, table);
}

std::optional<Access> access_keyword(std::string_view given, bool& append) {
    append = keyword_is(given, "APPEND");
    if (append) return Access::sequential;
    static constexpr std::pair<std::string_view, Access> table[] = {
        {"SEQUENTIAL", Access::sequential}, {"DIRECT", Access::direct},
        {"TRANSPARENT", Access::transparent}, {"WINDOW", Access::window}};
    return lookup(given, table);
}

std::optional<Form> form_keyword(std::string_view given) {
    static constexpr std::pair<std::string_view, Form> table[] = {
        {"FORMATTED", Form::formatted}, {"UNFORMATTED", Form::unformatted}, {"BINARY", Form::binary}};
    return lookup(given, table);
}

std::optional<PositionMode> position_keyword(std::string_view given) {
    static constexpr std::pair<std::string_view, PositionMode> table[] = {
        {"ASIS", PositionMode::as_is}, {"REWIND", PositionMode::rewind}, {"APPEND", PositionMode::append}};
    return lookup(given, table);
}

std::optional<bool> blank_zero_keyword(std::string_view given) {
    static constexpr std::pair<std::string_view, bool> table[] = {{"NULL", false}, {"ZERO", true}};
    return lookup(given, table);
}

std::optional<Delimiter> delim_keyword(std::string_view given) {
    static constexpr std::pair<std::string_view, Delimiter> table[] = {
        {"APOSTROPHE", Delimiter::apostrophe}, {"QUOTE", Delimiter::quote}, {"NONE", Delimiter::none}};
    return lookup(given, table);
}

std::optional<bool> pad_keyword(std::string_view given) {
    static constexpr std::pair<std::string_view, bool> table[] = {{"YES", true}, {"NO", false}};
    return lookup(given, table);
}

std::optional<ByteOrder> byte_order_keyword(std::string_view given) {
    static constexpr std::pair<std::string_view, ByteOrder> table[] = {
        {"BIG_ENDIAN", ByteOrder::big_endian}, {"LITTLE_ENDIAN", ByteOrder::little_endian}};
    return lookup(given, table);
}

std::optional<bool> carriage_control_keyword(std::string_view given) {
    static constexpr std::pair<std::string_view, bool> table[] = {{"FORTRAN", true}, {"LIST", false}};
    return lookup(given, table);
}

std::optional<ActionMeaning> dispose_keyword(std::string_view given) {
    static constexpr ActionMeaning keep{true, true, false, false};
    static constexpr ActionMeaning remove{true, true, false, true};
    static constexpr std::pair<std::string_view, ActionMeaning> table[] = {
        {"KEEP", keep}, {"SAVE", keep}, {"SUBMIT", keep}, {"PRINT", keep},
        {"DELETE", remove}, {"SUBMIT/DELETE", remove}, {"PRINT/DELETE", remove}};
    return lookup(given, table);
}

}  // namespace corvane::units
