#include "app/dialogue.hpp"

#include "app/getit.hpp"
#include "app/run_data.hpp"
#include "app/search_report.hpp"
#include "app/select_stations.hpp"
#include "app/variable_names.hpp"
#include "fmtio/statement_api.hpp"
#include "ghcn/variables.hpp"
#include "units/connection_statements.hpp"
#include "units/termination.hpp"

namespace corvane::app {

namespace {

using namespace fmtio;

// The menu line and the confirmation line of each variable, in menu order.
struct VariableLines {
    FormatRef menu_line;
    FormatRef confirmation_line;
};

constexpr VariableLines variable_lines[] = {
    {fmt<"(1x,'  [1] Mean Temperature')">, fmt<"(/4x,'Extracting Mean Temperature')">},
    {fmt<"(1x,'  [2] Mean Adjusted Temperature')">, fmt<"(/4x,'Extracting Mean Adjusted Temperature')">},
    {fmt<"(1x,'  [3] Min. Temperature')">, fmt<"(/4x,'Extracting Min. Temperature')">},
    {fmt<"(1x,'  [4] Min. Adjusted Temperature')">, fmt<"(/4x,'Extracting MIN Adjusted Temperature')">},
    {fmt<"(1x,'  [5] Max. Temperature')">, fmt<"(/4x,'Extracting MAX. Temperature')">},
    {fmt<"(1x,'  [6] Max. Adjusted Temperature')">, fmt<"(/4x,'Extracting MAX Adjusted Temperature')">},
    {fmt<"(1x,'  [7] Total Monthly Precipitation')">, fmt<"(/4x,'Extracting Total Monthly Precipitation')">},
    {fmt<"(1x,'  [8] Total Monthly Adjusted Precipitation')">,
     fmt<"(/4x,'Extracting Total Monthly Adjusted Precipitation')">},
    {fmt<"(1x,'  [9] Mean Sea Level Pressure')">, fmt<"(/4x,'Extracting Mean SLP')">},
};

void write_welcome() {
    write(default_unit, fmt<"(/1x,' Welcome to program Corvane ',/)">);
    write(default_unit, fmt<"(1x,'  This program is for use only with the most recent GHCN ')">);
    write(default_unit, fmt<"(1x,'version 2 data set as of MARCH, 2006. This version has ')">);
    write(default_unit, fmt<"(1x,'modified to also serve the recently published mean, and')">);
    write(default_unit, fmt<"(1x,'mean adjusted station SLP. A description of these data can')">);
    write(default_unit, fmt<"(1x,'be found at the following website')">);
    write(default_unit, fmt<"(1x,'http://www.ncdc.noaa.gov/ghcnm/v2.php')">);
    write(default_unit, fmt<"(1x,'  This extraction programs permits one to remove a')">);
    write(default_unit, fmt<"(1x,'managable subset of the GHCN data in an automated fashion.')">);
    write(default_unit, fmt<"(1x,'Three output files are created. The first GHCNv2.search')">);
    write(default_unit, fmt<"(1x,'is a listing of the search criteria and stations found')">);
    write(default_unit, fmt<"(1x,'that met the criteria within the data set. The second')">);
    write(default_unit, fmt<"(1x,'file *_TSF is the data itself in Time Series Format.')">);
    write(default_unit, fmt<"(1x,'This *_TSF file may be reformatted and/or seasonalized')">);
    write(default_unit, fmt<"(1x,'using the program Sevrant. The Third is a summary of ')">);
    write(default_unit, fmt<"(1x,'the quality of the data you have selected. See the ')">);
    write(default_unit, fmt<"(1x,'documentation files at the website mentioned above for details.')">);
}

// The menu until a variable 1..9 is chosen; 0 ends the program.
void choose_variable(RunData& run) {
    for (;;) {
        write(default_unit, fmt<"(/1x,'Select variable to extract')">);
        for (const VariableLines& v : variable_lines) write(default_unit, v.menu_line);
        write(default_unit, fmt<"(/1x,'  [0] Quit Program ')">);
        write(default_unit, fmt<"(/1x,'Enter data type desired [0-9] :> ',$)">);
        read(default_unit, fmt<"(i1)">, run.variable_choice);

        if (run.variable_choice == 0) {
            write(default_unit, fmt<"(//1x,'Program Terminated')">);
            units::stop_program();
        }
        if (run.variable_choice >= ghcn::first_variable && run.variable_choice <= ghcn::last_variable) break;
        write(default_unit, fmt<"(/4x,'Unknown Responce.',i1,/4x,' Please enter a number')">, run.variable_choice);
        write(default_unit, fmt<"(4x,'between 1 and 8')">);
        units::pause_statement(" ");
    }
    write(default_unit, variable_lines[run.variable_choice - 1].confirmation_line);
    assign_variable_names(run);
}

bool confirm_variable(RunData& run) {
    write(default_unit, fmt<"(/4x,'Enter [T]rue or [F]alse :> ',$)">);
    read(default_unit, list_directed, run.answer);
    return static_cast<bool>(run.answer);
}

enum class Decision { extract, start_over };

// Continue, start over, or quit; any restart answer but 0 and 1 continues.
Decision decide(RunData& run) {
    write(default_unit, fmt<"(/1x,'Do you want to continue? [T]rue or [F]alse :> ',$)">);
    read(default_unit, list_directed, run.answer);
    if (run.answer) return Decision::extract;

    write(default_unit, fmt<"(/1x,'You may either abort the program or start over.')">);
    write(default_unit, fmt<"(/1x,'Enter [1] to start over')">);
    write(default_unit, fmt<"(1x,'      [0] to quit    :> ',$)">);
    read(default_unit, fmt<"(i1)">, run.restart_answer);
    if (run.restart_answer == 1) {
        units::close_unit(log_unit);
        return Decision::start_over;
    }
    if (run.restart_answer == 0) {
        units::close_unit(log_unit);
        write(default_unit, fmt<"(/1x,'Program Terminated by user')">);
        units::stop_program();
    }
    return Decision::extract;
}

[[noreturn]] void finish(RunData& run) {
    getit(run);
    write(default_unit, fmt<"(/1x,'Program Terminating Normally')">);
    units::pause_statement(" hit RETURN to exit");
    units::stop_program();
}

}  // namespace

static const RunData* running = nullptr;  // the run data of the dialogue in progress
static std::function<void()> pass_start;

void set_pass_start(std::function<void()> routine) { pass_start = std::move(routine); }

void run_dialogue() {
    static RunData run;  // the run data lives for the whole program
    run_dialogue(run);
}

const RunData& current_run() {
    static const RunData none;
    return running ? *running : none;
}

void run_dialogue(RunData& run) {
    running = &run;
    for (;;) {
        if (pass_start) pass_start();
        write_welcome();
        choose_variable(run);
        if (!confirm_variable(run)) continue;
        select_stations(run.criteria, run.variable_choice);
        search_report(run);
        if (decide(run) == Decision::extract) finish(run);
    }
}

}  // namespace corvane::app
