// Scenario files in the simulator's text format:
//
//   BEGIN_DESC ... END_DESC            (optional free text)
//   BEGIN_ENVIRONMENT
//     Date MJD <mjd>
//   END_ENVIRONMENT
//   BEGIN_FOCUS
//     Ship <name>
//   END_FOCUS
//   BEGIN_CAMERA ... END_CAMERA        (and any other BEGIN_<X> [args] ...
//   BEGIN_MFD Left ... END_MFD          END_<X> section: kept as they are)
//   BEGIN_SHIPS
//   <name>:<class>
//     <vessel lines>
//   END
//   END_SHIPS
//
// The reader is tolerant: a ship header without a class gets none, a block
// left open ends at END_SHIPS, and sections other than those above are kept
// with their lines, in order, before or after the ships, to be written back.
// Bounds that no scenario of the simulator's users comes near, but that keep
// a hostile file from making the host hold what it likes: a line longer
// than kMaxScenarioLineLength characters is skipped, and ships after the
// first kMaxScenarioVessels are skipped; each case is reported (messages.h).

#ifndef KORVANE_HEADLESS_SCENARIO_H
#define KORVANE_HEADLESS_SCENARIO_H

#include <istream>
#include <string>
#include <vector>

namespace headless {

constexpr size_t kMaxScenarioLineLength = 4096;
constexpr size_t kMaxScenarioVessels = 10000;

struct ScenarioShip {
    std::string name;
    std::string className;
    std::vector<std::string> lines; // the block's lines, trimmed, without END
};

// A section the simulator's other parts read (camera, HUD, MFDs, panels, the
// virtual cockpit, other modules' sections).
struct ScenarioSection {
    std::string name;               // X of BEGIN_X
    std::string header;             // the BEGIN_X line as written, arguments included
    std::vector<std::string> lines; // trimmed, without the END_X line
    bool afterShips = false;        // the section came after END_SHIPS
};

struct ScenarioFile {
    std::vector<std::string> description;
    bool hasMjd = false;
    double mjd = 51544.5;
    std::vector<std::string> environment; // environment lines other than the date
    std::string focus;
    std::vector<ScenarioSection> sections;
    std::vector<ScenarioShip> ships;
};

// Reads a scenario. Returns false (with a reason in *error) only when the
// text holds no ship section at all; damaged lines are skipped.
bool ParseScenario(std::istream &in, ScenarioFile &out, std::string *error);

// The first section named name (ignoring case), or null.
const ScenarioSection *FindSection(const std::vector<ScenarioSection> &sections, const char *name);

// The text of sections as the simulator writes them.
std::string SectionText(const ScenarioSection &section);

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
