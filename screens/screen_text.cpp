#include "screens/screen_text.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace korvane {

void WriteText(oapi::Sketchpad &skp, int x, int y, const char *format, ...)
{
    char text[kScreenTextBytes];
    std::memset(text, 0, sizeof(text));
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    skp.Text(x, y, text, static_cast<int>(std::strlen(text)));
}

} // namespace korvane
