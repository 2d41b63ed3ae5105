#include "headless/config_file.h"

#include <cmath>
#include <cstdlib>
#include <strings.h>

namespace headless {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string Trim(const std::string &s)
{
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

} // namespace

bool ReadBoundedLine(std::istream &in, size_t maxLength, std::string *line, bool *tooLong)
{
    line->clear();
    *tooLong = false;
    std::streambuf *buf = in.rdbuf();
    if (!buf || !in.good())
        return false;
    bool any = false;
    for (;;) {
        int c = buf->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            in.setstate(std::ios::eofbit);
            return any;
        }
        any = true;
        if (c == '\n')
            return true;
        if (line->size() < maxLength)
            line->push_back(static_cast<char>(c));
        else
            *tooLong = true;
    }
}

std::vector<ConfigLine> ReadConfigLines(std::istream &in, std::vector<std::string> *problems)
{
    std::vector<ConfigLine> lines;
    std::string raw;
    bool tooLong = false;
    int number = 0;
    while (ReadBoundedLine(in, kMaxConfigLineLength, &raw, &tooLong)) {
        ++number;
        if (static_cast<size_t>(number) > kMaxConfigLines) {
            if (problems)
                problems->push_back("more than " + std::to_string(kMaxConfigLines) +
                                    " lines: the rest of the file is not read");
            break;
        }
        if (tooLong) {
            if (problems)
                problems->push_back("line " + std::to_string(number) + " is longer than " +
                                    std::to_string(kMaxConfigLineLength) + " characters: skipped");
            continue;
        }
        size_t comment = raw.find(';');
        std::string text = Trim(comment == std::string::npos ? raw : raw.substr(0, comment));
        if (text.empty())
            continue;
        size_t keyEnd = 0;
        while (keyEnd < text.size() && !IsBlank(text[keyEnd]) && text[keyEnd] != '=')
            ++keyEnd;
        std::string rest = Trim(text.substr(keyEnd));
        if (!rest.empty() && rest[0] == '=')
            rest = Trim(rest.substr(1));
        lines.push_back(ConfigLine{number, text.substr(0, keyEnd), rest});
    }
    return lines;
}

bool ParseNumber(const std::string &text, double *value)
{
    std::string t = Trim(text);
    if (t.empty())
        return false;
    char *end = nullptr;
    double v = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size() || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

bool ParseNumbers(const std::string &text, size_t maxCount, std::vector<double> *values)
{
    values->clear();
    size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && IsBlank(text[pos]))
            ++pos;
        if (pos == text.size())
            break;
        size_t end = pos;
        while (end < text.size() && !IsBlank(text[end]))
            ++end;
        double v = 0.0;
        if (values->size() == maxCount || !ParseNumber(text.substr(pos, end - pos), &v))
            return false;
        values->push_back(v);
        pos = end;
    }
    return true;
}

bool SameText(const std::string &a, const char *b) { return strcasecmp(a.c_str(), b) == 0; }

} // namespace headless
