#include "headless/scenario.h"

#include <cstdlib>
#include <strings.h>

#include "headless/config_file.h"
#include "headless/messages.h"

namespace headless {

namespace {

std::string Trim(const std::string &s)
{
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return std::string();
    size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

bool Is(const std::string &line, const char *word) { return strcasecmp(line.c_str(), word) == 0; }

bool StartsWith(const std::string &line, const char *word)
{
    return strncasecmp(line.c_str(), word, std::char_traits<char>::length(word)) == 0;
}

} // namespace

bool ParseScenario(std::istream &in, ScenarioFile &out, std::string *error)
{
    enum class Section { None, Desc, Environment, Focus, Ships, Ship, SkippedShip, Other };
    Section section = Section::None;
    bool sawShips = false, afterShips = false;
    bool vesselCapReported = false;
    std::string raw;
    bool tooLong = false;
    size_t number = 0;
    while (ReadBoundedLine(in, kMaxScenarioLineLength, &raw, &tooLong)) {
        ++number;
        if (tooLong) {
            Report("scenario line " + std::to_string(number) + " is longer than " +
                   std::to_string(kMaxScenarioLineLength) + " characters: skipped");
            // A ship header that cannot be read takes its block with it.
            if (section == Section::Ships)
                section = Section::SkippedShip;
            continue;
        }
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        std::string line = Trim(raw);
        switch (section) {
        case Section::None:
            if (Is(line, "BEGIN_DESC"))
                section = Section::Desc;
            else if (Is(line, "BEGIN_ENVIRONMENT"))
                section = Section::Environment;
            else if (Is(line, "BEGIN_FOCUS"))
                section = Section::Focus;
            else if (Is(line, "BEGIN_SHIPS")) {
                section = Section::Ships;
                sawShips = true;
            } else if (StartsWith(line, "BEGIN_") && line.size() > 6) {
                ScenarioSection other;
                size_t nameEnd = line.find_first_of(" \t", 6);
                other.name = line.substr(6, nameEnd == std::string::npos ? std::string::npos : nameEnd - 6);
                other.header = line;
                other.afterShips = afterShips;
                out.sections.push_back(std::move(other));
                section = Section::Other;
            }
            break;
        case Section::Desc:
            if (Is(line, "END_DESC"))
                section = Section::None;
            else
                out.description.push_back(raw);
            break;
        case Section::Environment:
            if (Is(line, "END_ENVIRONMENT")) {
                section = Section::None;
            } else if (StartsWith(line, "Date MJD")) {
                char *end = nullptr;
                std::string num = Trim(line.substr(8));
                double mjd = std::strtod(num.c_str(), &end);
                if (end != num.c_str() && mjd == mjd && mjd > -1e7 && mjd < 1e7) {
                    out.mjd = mjd;
                    out.hasMjd = true;
                }
            } else if (!line.empty()) {
                out.environment.push_back(line);
            }
            break;
        case Section::Focus:
            if (Is(line, "END_FOCUS"))
                section = Section::None;
            else if (StartsWith(line, "Ship ") || StartsWith(line, "Ship\t"))
                out.focus = Trim(line.substr(5));
            break;
        case Section::Ships:
            if (Is(line, "END_SHIPS")) {
                section = Section::None;
                afterShips = true;
            } else if (!line.empty()) {
                if (out.ships.size() >= kMaxScenarioVessels) {
                    if (!vesselCapReported)
                        Report("scenario holds more than " + std::to_string(kMaxScenarioVessels) +
                               " vessels: the vessel at line " + std::to_string(number) + " and those after it are skipped");
                    vesselCapReported = true;
                    section = Section::SkippedShip;
                    break;
                }
                ScenarioShip ship;
                size_t colon = line.find(':');
                ship.name = Trim(line.substr(0, colon));
                if (colon != std::string::npos)
                    ship.className = Trim(line.substr(colon + 1));
                if (ship.name.empty())
                    ship.name = "unnamed";
                out.ships.push_back(std::move(ship));
                section = Section::Ship;
            }
            break;
        case Section::Ship:
        case Section::SkippedShip:
            if (Is(line, "END"))
                section = Section::Ships;
            else if (Is(line, "END_SHIPS")) {
                section = Section::None; // a block left open by a damaged file
                afterShips = true;
            } else if (!line.empty() && section == Section::Ship)
                out.ships.back().lines.push_back(line);
            break;
        case Section::Other: {
            ScenarioSection &other = out.sections.back();
            if (Is(line, ("END_" + other.name).c_str()) || Is(line, "END"))
                section = Section::None;
            else if (!line.empty())
                other.lines.push_back(line);
            break;
        }
        }
    }
    if (!sawShips) {
        if (error)
            *error = "no BEGIN_SHIPS section";
        return false;
    }
    return true;
}

const ScenarioSection *FindSection(const std::vector<ScenarioSection> &sections, const char *name)
{
    for (const ScenarioSection &section : sections)
        if (Is(section.name, name))
            return &section;
    return nullptr;
}

std::string SectionText(const ScenarioSection &section)
{
    std::string text = section.header + "\n";
    for (const std::string &line : section.lines)
        text += "  " + line + "\n";
    return text + "END_" + section.name + "\n";
}

bool ScenarioBlockReader::next(char *&line)
{
    if (next_ >= lines_.size())
        return false;
    const std::string &text = lines_[next_++];
    buffer_.assign(text.begin(), text.end());
    buffer_.push_back('\0');
    line = buffer_.data();
    return true;
}

void ScenarioWriter::item(const char *key, const char *value)
{
    text_ += "  ";
    text_ += key ? key : "";
    text_ += ' ';
    text_ += value ? value : "";
    text_ += '\n';
}

void ScenarioWriter::line(const std::string &text)
{
    text_ += text;
    text_ += '\n';
}

} // namespace headless
