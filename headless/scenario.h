// Scenario files in the simulator's text format:
//
//   BEGIN_DESC ... END_DESC            (optional free text)
//   BEGIN_ENVIRONMENT
//     Date MJD <mjd>
//   END_ENVIRONMENT
//   BEGIN_FOCUS
//     Ship <name>
//   END_FOCUS
//   BEGIN_SHIPS
//   <name>:<class>
//     <vessel lines>
//   END
//   END_SHIPS
//
// The reader is tolerant: unknown sections and lines are kept or skipped, a
// ship header without a class gets none, and nothing depends on line length.

#ifndef KORVANE_HEADLESS_SCENARIO_H
#define KORVANE_HEADLESS_SCENARIO_H

#include <istream>
#include <string>
#include <vector>

namespace headless {

struct ScenarioShip {
    std::string name;
    std::string className;
    std::vector<std::string> lines; // the block's lines, trimmed, without END
};

struct ScenarioFile {
    std::vector<std::string> description;
    bool hasMjd = false;
    double mjd = 51544.5;
    std::vector<std::string> environment; // environment lines other than the date
    std::string focus;
    std::vector<ScenarioShip> ships;
};

// Reads a scenario. Returns false (with a reason in *error) only when the
// text holds no ship section at all; damaged lines are skipped.
bool ParseScenario(std::istream &in, ScenarioFile &out, std::string *error);

// Serves one vessel's block to a module, line by line, through the
// FILEHANDLE of oapiReadScenario_nextline.
class ScenarioBlockReader {
public:
    explicit ScenarioBlockReader(const std::vector<std::string> &lines) : lines_(lines) {}

    // Points line at a writable copy of the next line; false after the last.
    bool next(char *&line);

private:
    const std::vector<std::string> &lines_;
    size_t next_ = 0;
    std::vector<char> buffer_;
};

// Collects the lines of a vessel's block as they are written, through the
// FILEHANDLE of oapiWriteScenario_string and SaveDefaultState.
class ScenarioWriter {
public:
    void item(const char *key, const char *value);
    void line(const std::string &text);
    const std::string &text() const { return text_; }

private:
    std::string text_;
};

} // namespace headless

#endif // KORVANE_HEADLESS_SCENARIO_H
