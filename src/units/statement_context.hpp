// What every I/O and connection statement tells the error path about itself: its kind,
// its unit, and how it catches conditions (branches and an iostat variable).
#pragma once

#include <cstdint>
#include <string_view>

namespace corvane::units {

enum class StatementKind : std::uint8_t {
    rewind = 0,
    backspace = 1,
    open = 2,
    close = 3,
    inquire = 4,
    read = 5,
    write = 6,
    endfile = 7,
};

// The unit a statement names: the default unit (the console, "*"), a unit number, or an
// internal unit (a character variable). A READ takes its record from `internal`; a WRITE puts
// its record in `internal_target`, which a variable that may not change leaves null.
struct UnitSpec {
    enum class Kind : std::uint8_t { default_unit, number, internal };
    Kind kind = Kind::default_unit;
    std::int32_t number = -1;
    const char* internal = nullptr;
    std::uint32_t internal_length = 0;
    char* internal_target = nullptr;
};

inline constexpr UnitSpec default_unit{};
inline constexpr UnitSpec unit(std::int32_t n) { return {UnitSpec::Kind::number, n, nullptr, 0}; }

// Branch flags of a statement: bit 0 ERR, bit 1 END, bit 2 EOR.
enum BranchFlag : std::uint8_t { branch_err = 1, branch_end = 2, branch_eor = 4 };

// An integer variable that receives the condition code, at its width (1, 2, 4 or 8 bytes).
struct IostatTarget {
    void* address = nullptr;
    std::uint8_t width = 0;

    constexpr IostatTarget() = default;
    template <class Int>
    explicit IostatTarget(Int& v) : address(&v), width(static_cast<std::uint8_t>(sizeof(Int))) {}
    constexpr bool present() const { return address != nullptr; }
};

// The optional catching specifiers of a statement.
struct Control {
    std::uint8_t branches = 0;
    IostatTarget iostat;
    std::string_view advance;         // ADVANCE= "YES" or "NO"; empty: not given
    std::int32_t* size = nullptr;     // SIZE=: characters a non-advancing READ transferred
};

inline constexpr Control on_eor{branch_eor, {}};
inline Control advancing(std::string_view text, std::int32_t* size = nullptr) { return {0, {}, text, size}; }

inline Control with_iostat(std::int32_t& v) { return {0, IostatTarget(v)}; }
inline constexpr Control on_end{branch_end, {}};
inline constexpr Control on_err{branch_err, {}};
constexpr Control operator|(Control a, const Control& b) {
    a.branches = static_cast<std::uint8_t>(a.branches | b.branches);
    if (!a.iostat.present()) a.iostat = b.iostat;
    if (a.advance.empty()) a.advance = b.advance;
    if (!a.size) a.size = b.size;
    return a;
}

// What a statement hands back to its caller: a type of its own, so that a condition code
// cannot be passed for it nor it for a condition.
enum class Outcome : int {
    ok = 0,
    error = 1,  // take the ERR branch (or read the iostat variable)
    end = 2,    // take the END branch
    eor = 3,    // take the EOR branch (non-advancing input)
};
inline constexpr Outcome outcome_ok = Outcome::ok;
inline constexpr Outcome outcome_error = Outcome::error;
inline constexpr Outcome outcome_end = Outcome::end;
inline constexpr Outcome outcome_eor = Outcome::eor;

struct ConditionContext {
    StatementKind kind = StatementKind::read;
    UnitSpec unit;
    Control control;
};

}  // namespace corvane::units
