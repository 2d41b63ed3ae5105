#include "map/coast_number.h"

#include <cfloat>
#include <charconv>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <system_error>

namespace korvane {

namespace {

// A number up to this length (with its NUL) is copied before strtod sees it,
// so that strtod reads exactly the characters that "%lf" consumed. A longer
// one is converted in place: only "nan(...)" could make strtod read further
// than "%lf", and "nan" is always short.
constexpr size_t kStrtodCopyChars = 256;

// White space as isspace() has it in the "C" locale: space, \t \n \v \f \r.
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

const char *SkipSpace(const char *s)
{
    while (IsSpace(*s))
        ++s;
    return s;
}

// Whether s begins with word (given in lower case), in any case. Stops at the
// first difference, so it never reads past the end of s.
bool BeginsWithWord(const char *s, const char *word)
{
    for (; *word != '\0'; ++s, ++word)
        if (Lower(*s) != *word)
            return false;
    return true;
}

// The characters that one "%lf" conversion consumes, from the first one
// after its white space.
struct NumberText {
    const char *end = nullptr; // past the consumed characters
    bool readable = false;     // false: a matching failure, nothing is stored
    bool plainDecimal = false; // digits, an optional point, an optional complete exponent
};

// Follows the GNU C library's "%lf" scanner: it takes characters while they
// can still continue a number, one at a time without looking ahead, so
// "1e+" is consumed whole although only "1" is a number. "nan" and "inf"
// are matched in full or not at all ("infin" is a failure, not "inf"), and
// "nan" stops before a "(...)". "0x" without a hexadecimal digit after it
// is a failure.
NumberText ScanNumber(const char *s)
{
    NumberText text;
    const char *p = s;
    const bool hasSign = (*p == '+' || *p == '-');
    if (hasSign)
        ++p;

    if (Lower(*p) == 'n') {
        if (!BeginsWithWord(p, "nan"))
            return text;
        text.end = p + 3;
        text.readable = true;
        return text;
    }
    if (Lower(*p) == 'i') {
        if (!BeginsWithWord(p, "inf"))
            return text;
        p += 3;
        if (Lower(*p) == 'i') {
            if (!BeginsWithWord(p, "inity"))
                return text;
            p += 5;
        }
        text.end = p;
        text.readable = true;
        return text;
    }

    bool hex = false;
    bool gotDigit = false;
    bool gotPoint = false;
    bool gotExponent = false;
    char exponentMark = 'e';
    if (*p == '0') {
        ++p;
        if (Lower(*p) == 'x') {
            hex = true;
            exponentMark = 'p';
            ++p;
        } else {
            gotDigit = true;
        }
    }
    for (;; ++p) {
        const char c = *p;
        if (IsDigit(c)) {
            gotDigit = true;
        } else if (hex && !gotExponent && IsHexDigit(c)) {
            gotDigit = true;
        } else if (gotExponent && Lower(p[-1]) == exponentMark && (c == '+' || c == '-')) {
            // the exponent's sign
        } else if (gotDigit && !gotExponent && Lower(c) == exponentMark) {
            gotExponent = true;
            gotPoint = true;
        } else if (!gotPoint && c == '.') {
            gotPoint = true;
        } else {
            break;
        }
    }

    const ptrdiff_t consumed = p - s;
    const ptrdiff_t signChars = hasSign ? 1 : 0;
    if (consumed == signChars || (hex && consumed == signChars + 2))
        return text;
    text.end = p;
    text.readable = true;
    text.plainDecimal = !hex && gotDigit && !(gotExponent && !IsDigit(p[-1]));
    return text;
}

// strtod of exactly [begin, end); false if it converts nothing ("." or "-.").
bool ConvertWithStrtod(const char *begin, const char *end, double *value)
{
    const size_t length = static_cast<size_t>(end - begin);
    char copy[kStrtodCopyChars];
    const char *number = begin;
    if (length < sizeof(copy)) {
        std::memcpy(copy, begin, length);
        copy[length] = '\0';
        number = copy;
    }
    char *stop = nullptr;
    const double converted = std::strtod(number, &stop);
    if (stop == number)
        return false;
    *value = converted;
    return true;
}

// The value of a scanned number. A plain decimal goes through from_chars,
// which rounds as strtod does (both to the nearest double) but without the
// C library's locale; from_chars takes no '+', and leaves out-of-range
// values to strtod, which gives the infinities and denormals of "%lf".
bool ConvertNumber(const char *begin, const NumberText &text, double *value)
{
#if defined(__cpp_lib_to_chars)
    if (text.plainDecimal) {
        const char *first = (*begin == '+') ? begin + 1 : begin;
        double converted = 0.0;
        const std::from_chars_result result =
            std::from_chars(first, text.end, converted, std::chars_format::general);
        if (result.ec == std::errc() && result.ptr == text.end) {
            *value = converted;
            return true;
        }
    }
#endif
    return ConvertWithStrtod(begin, text.end, value);
}

// The form of every number of a sound coastline file, read in one pass:
// [sign] digits [. digits], at most 19 digits making an integer m of at most
// 2^53, at most 22 of them after the point, and no exponent. Then m and
// 10^fraction digits are exact doubles and one division rounds their
// quotient to the nearest double, as strtod does. Stores the value and moves
// *s past the number; false, with nothing changed, for any other form.
bool ReadSmallDecimal(const char **s, double *value)
{
#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD == 0
    constexpr ptrdiff_t kMaxDigits = 19; // below 10^19: no overflow of uint64
    constexpr uint64_t kExactMantissaLimit = uint64_t{1} << 53;
    constexpr ptrdiff_t kMaxFractionDigits = 22;
    static const double kPowersOfTen[kMaxFractionDigits + 1] = {
        1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const char *p = *s;
    const bool negative = (*p == '-');
    if (*p == '+' || *p == '-')
        ++p;
    uint64_t mantissa = 0;
    const char *integerStart = p;
    for (; IsDigit(*p); ++p)
        mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
    ptrdiff_t digits = p - integerStart;
    ptrdiff_t fractionDigits = 0;
    if (*p == '.') {
        const char *fractionStart = ++p;
        for (; IsDigit(*p); ++p)
            mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
        fractionDigits = p - fractionStart;
        digits += fractionDigits;
    }
    // What could continue the number ('.', an exponent, "0x") is left to
    // the full scanner.
    const char next = Lower(*p);
    if (digits == 0 || digits > kMaxDigits || mantissa > kExactMantissaLimit || fractionDigits > kMaxFractionDigits ||
        next == '.' || next == 'e' || next == 'x')
        return false;
    const double magnitude = static_cast<double>(mantissa) / kPowersOfTen[fractionDigits];
    *value = negative ? -magnitude : magnitude;
    *s = p;
    return true;
#else
    // Wider intermediate precision could round twice: leave it to the others.
    (void)s;
    (void)value;
    return false;
#endif
}

// One "%lf" conversion at *s (white space already skipped): stores the
// value and moves *s past what it consumed, or reports the failure that
// ends the line's reading.
bool ReadNumber(const char **s, double *value)
{
    if (ReadSmallDecimal(s, value))
        return true;
    const NumberText text = ScanNumber(*s);
    if (!text.readable || !ConvertNumber(*s, text, value))
        return false;
    *s = text.end;
    return true;
}

} // namespace

int32_t ReadCountLine(const char *line)
{
    constexpr int64_t kInt32Magnitude = int64_t{1} << 31; // |INT32_MIN|
    const char *s = SkipSpace(line);
    const bool negative = (*s == '-');
    if (*s == '+' || *s == '-')
        ++s;
    int64_t magnitude = 0;
    for (; IsDigit(*s); ++s)
        if (magnitude <= kInt32Magnitude) // beyond it the value is clamped anyway
            magnitude = magnitude * 10 + (*s - '0');
    if (negative)
        return magnitude >= kInt32Magnitude ? std::numeric_limits<int32_t>::min()
                                            : static_cast<int32_t>(-magnitude);
    return magnitude > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                          : static_cast<int32_t>(magnitude);
}

CoastPoint ReadPointLine(const char *line)
{
    CoastPoint point;
    const char *s = SkipSpace(line);
    if (!ReadNumber(&s, &point.longitudeDeg))
        return point;
    s = SkipSpace(s);
    ReadNumber(&s, &point.latitudeDeg);
    return point;
}

int32_t ToStoredUnits(double degrees, double unitsPerDegree)
{
    const double units = unitsPerDegree * degrees;
    if (units != units)
        return 0;
    if (units >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (units <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(units);
}

} // namespace korvane
