// The simulator's configuration file format, as the stand-in reads it: the
// common layer under the planet (planet_config.h), surface base
// (base_config.h) and vessel class (vessel_config.h) readers.
//
//   ; a comment runs from a semicolon to the end of the line
//   Key = value                an item; keys are compared ignoring case
//   KEY value                  the same item (the '=' may be left out)
//   BEGIN_OBJECTLIST           section lines are items without a value
//   ...
//
// A line is split into its key (the first word, up to a blank or '=') and
// its value (the rest, after an optional '=', with blanks and a CR at either
// end removed). Blank and comment-only lines are skipped.
//
// Bounds: a line longer than kMaxConfigLineLength characters is skipped, and
// reading stops after kMaxConfigLines lines; each case is reported as a
// problem. Nothing depends on the file's size otherwise.

#ifndef KORVANE_HEADLESS_CONFIG_FILE_H
#define KORVANE_HEADLESS_CONFIG_FILE_H

#include <istream>
#include <string>
#include <vector>

namespace headless {

constexpr size_t kMaxConfigLineLength = 4096;
constexpr size_t kMaxConfigLines = 100000;

struct ConfigLine {
    int number;        // line number in the file, from 1
    std::string key;
    std::string value;
};

// The file's lines in order. Problems (with line numbers) are appended to
// *problems when it is not null.
std::vector<ConfigLine> ReadConfigLines(std::istream &in, std::vector<std::string> *problems);

// Reads at most one line (up to '\n', which is dropped) into *line, keeping
// at most maxLength characters and skipping the rest of a longer line.
// Returns false at the end of the stream (nothing read); *tooLong tells
// whether characters were skipped.
bool ReadBoundedLine(std::istream &in, size_t maxLength, std::string *line, bool *tooLong);

// A finite number that is the whole text (blanks around it allowed).
bool ParseNumber(const std::string &text, double *value);
// Up to maxCount finite numbers separated by blanks; false if any word is
// not a finite number or there are more than maxCount.
bool ParseNumbers(const std::string &text, size_t maxCount, std::vector<double> *values);

// Case-insensitive equality of ASCII text.
bool SameText(const std::string &a, const char *b);

} // namespace headless

#endif // KORVANE_HEADLESS_CONFIG_FILE_H
