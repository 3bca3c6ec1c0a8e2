// The Extract menu of the desktop program: "Select stations…" opens the criteria form for
// a data set of any version, beside the dialogue, which stays as it is. Run starts the
// extraction in a window of its own that shows its progress and then its stations.
#pragma once

#include "extract/criteria_choices.hpp"

namespace corvane::frame {

class CriteriaForm;
class DesktopFrame;
class ExtractionWindow;

// Adds the Extract menu with its item.
void add_extract_menu(DesktopFrame& frame);

// Opens the form (not modal: the frame stays live); Run starts the extraction.
CriteriaForm* open_criteria_form(DesktopFrame& frame);

// Opens the series plot of the station in row `row` of a finished run's stations.csv.
void open_result_series(DesktopFrame& frame, const ExtractionWindow& window, int row);

// Starts the extraction of `choices` in a new child window.
ExtractionWindow* run_criteria(DesktopFrame& frame, const extract::CriteriaChoices& choices);

}  // namespace corvane::frame
