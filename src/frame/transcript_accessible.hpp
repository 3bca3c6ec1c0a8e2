// What a screen reader learns of a text window: the transcript is custom-painted, so the
// widget tells the accessibility framework its name, its role (editable text) and its text
// through QAccessibleTextInterface: the lines joined by line feeds, the caret's offset, the
// selection and the cells of the characters on the screen.
#pragma once

namespace corvane::frame {

// Makes the accessibility framework ask this file for text windows; once is enough.
void install_transcript_accessibility();

}  // namespace corvane::frame
