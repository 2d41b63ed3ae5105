// Host functions that serve and collect a vessel's scenario lines.

#include "OrbiterAPI.h"
#include "headless/scenario.h"

bool oapiReadScenario_nextline(FILEHANDLE scn, char *&line)
{
    if (!scn)
        return false;
    return static_cast<headless::ScenarioBlockReader *>(scn)->next(line);
}

void oapiWriteScenario_string(FILEHANDLE scn, char *item, char *string)
{
    if (scn)
        static_cast<headless::ScenarioWriter *>(scn)->item(item, string);
}
