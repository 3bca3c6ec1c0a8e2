// One line, in the order a user looks for the place: file, line, field.
#include "ghcn/ghcnm_read_problem.hpp"

namespace corvane::ghcn {

std::string describe(const ReadProblem& problem) {
    std::string text = problem.file;
    if (problem.line > 0) text += ", line " + std::to_string(problem.line);
    if (!problem.field.empty()) text += ", field " + problem.field;
    return text + ": " + problem.what;
}

}  // namespace corvane::ghcn
