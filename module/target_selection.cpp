// The building's scenario lines, the target it follows, and the tracking
// network handed over by another module.

#include <cstdio>
#include <cstring>

#include "module/korvane.h"

namespace {

constexpr size_t kValueBufferBytes = 512; // scenario keys, values and displayed texts
constexpr size_t kLookupBufferBytes = 64; // vessel-name look-ups
constexpr int kNetworkHandOver = 1;       // generic message parameter of the network hand-over

char ToUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// True if the first n characters of line equal key, ignoring case.
bool StartsWithIgnoringCase(const char *line, const char *key, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        if (line[i] == '\0' || ToUpperAscii(line[i]) != ToUpperAscii(key[i]))
            return false;
    }
    return true;
}

// Looks a vessel up by name. A name that does not fit the 64-byte look-up
// buffer is not looked up at all: cut short, it could name another vessel.
OBJHANDLE LookUpVessel(const char *name)
{
    if (!name || std::strlen(name) >= kLookupBufferBytes)
        return nullptr;
    char lookup[kLookupBufferBytes];
    std::snprintf(lookup, sizeof(lookup), "%s", name);
    OBJHANDLE h = oapiGetVesselByName(lookup);
    return oapiIsVessel(h) ? h : nullptr;
}

// Stores a name; if memory runs out the name is left empty, since nothing
// may be thrown back into the host.
void StoreName(std::string &field, const char *name)
{
    try {
        field = name;
    } catch (...) {
        field.clear();
    }
}

// Copies the first blank-delimited word of text into out (zero-filled, at
// most outBytes - 1 characters).
void FirstWord(const char *text, char *out, size_t outBytes)
{
    std::memset(out, 0, outBytes);
    while (*text == ' ' || *text == '\t')
        ++text;
    size_t n = 0;
    while (text[n] != '\0' && text[n] != ' ' && text[n] != '\t' && text[n] != '\r' && text[n] != '\n' &&
           n + 1 < outBytes) {
        out[n] = text[n];
        ++n;
    }
}

} // namespace

void Korvane::clbkLoadStateEx(FILEHANDLE scn, void *status)
{
    static const char kTargetKey[] = "TARGET";
    const size_t keyLength = sizeof(kTargetKey) - 1;
    char *line = nullptr;
    while (oapiReadScenario_nextline(scn, line)) {
        if (StartsWithIgnoringCase(line, kTargetKey, keyLength)) {
            char name[kValueBufferBytes];
            FirstWord(line + keyLength, name, sizeof(name));
            OBJHANDLE h = LookUpVessel(name);
            if (h) {
                targetHandle = h;
                targetValid = true;
                StoreName(targetName, name);
            }
        } else {
            ParseScenarioLineEx(line, status);
        }
    }
}

void Korvane::clbkSaveState(FILEHANDLE scn)
{
    SaveDefaultState(scn);
    if (!targetValid)
        return;
    char key[kValueBufferBytes];
    char value[kValueBufferBytes];
    std::snprintf(key, sizeof(key), "%s", "TARGET");
    std::snprintf(value, sizeof(value), "%s", targetName.c_str());
    oapiWriteScenario_string(scn, key, value);
}

int Korvane::clbkConsumeBufferedKey(DWORD key, bool down, char *kstate)
{
    (void)key;
    (void)down;
    if (!kstate)
        return 0;
    bool ctrl = KEYDOWN(kstate, OAPI_KEY_LCONTROL) || KEYDOWN(kstate, OAPI_KEY_RCONTROL);
    bool alt = KEYDOWN(kstate, OAPI_KEY_LALT) || KEYDOWN(kstate, OAPI_KEY_RALT);
    bool shift = KEYDOWN(kstate, OAPI_KEY_LSHIFT) || KEYDOWN(kstate, OAPI_KEY_RSHIFT);
    if (KEYDOWN(kstate, OAPI_KEY_T) && ctrl && !alt && !shift) {
        char title[] = "Input Target Vessel";
        oapiOpenInputBox(title, onTargetInput, nullptr, 20, this);
        return 1;
    }
    if (KEYDOWN(kstate, OAPI_KEY_S) && !ctrl && !alt && !shift)
        return 1; // swallowed: the building has nothing to do with S
    return 0;
}

bool Korvane::onTargetInput(void *id, char *str, void *usrdata)
{
    (void)id;
    return static_cast<Korvane *>(usrdata)->setTargetByName(str);
}

bool Korvane::setTargetByName(const char *name)
{
    StoreName(targetName, name ? name : "");
    OBJHANDLE h = LookUpVessel(targetName.c_str());
    if (!h) {
        targetValid = false;
        return false;
    }
    targetHandle = h;
    targetValid = true;
    return true;
}

int Korvane::clbkGeneric(int msgid, int prm, void *context)
{
    (void)msgid;
    if (prm == kNetworkHandOver)
        network = context;
    return 0;
}
