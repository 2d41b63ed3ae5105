#include "headless/scenario.h"

#include <cstdlib>
#include <sstream>
#include <strings.h>

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
    enum class Section { None, Desc, Environment, Focus, Ships, Ship, Other };
    Section section = Section::None;
    bool sawShips = false;
    std::string raw;
    while (std::getline(in, raw)) {
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
            } else if (StartsWith(line, "BEGIN_"))
                section = Section::Other;
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
            } else if (!line.empty()) {
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
            if (Is(line, "END"))
                section = Section::Ships;
            else if (Is(line, "END_SHIPS"))
                section = Section::None; // a block left open by a damaged file
            else if (!line.empty())
                out.ships.back().lines.push_back(line);
            break;
        case Section::Other:
            if (StartsWith(line, "END"))
                section = Section::None;
            break;
        }
    }
    if (!sawShips) {
        if (error)
            *error = "no BEGIN_SHIPS section";
        return false;
    }
    return true;
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
