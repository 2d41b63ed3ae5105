#include "apps/serve/page_input.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <initializer_list>

#include <nlohmann/json.hpp>

#include "apps/serve/key_codes.h"

namespace serve {

namespace {

using nlohmann::json;

// A name from the page, fit for a close reason: printable ASCII only, cut
// short, so the reason stays within what a close frame carries.
std::string Quoted(std::string_view name)
{
    constexpr std::size_t kMaxQuoted = 24;
    std::string out = "\"";
    for (std::size_t i = 0; i < name.size() && i < kMaxQuoted; ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        out += (c >= 0x20 && c < 0x7F && c != '"') ? static_cast<char>(c) : '?';
    }
    if (name.size() > kMaxQuoted)
        out += "...";
    return out + "\"";
}

// The fields of one message: every member must be one the type allows.
bool OnlyFields(const json &j, const char *type, std::initializer_list<const char *> allowed, std::string *reason)
{
    for (auto it = j.begin(); it != j.end(); ++it) {
        const std::string &key = it.key();
        bool known = key == "type" ||
                     std::any_of(allowed.begin(), allowed.end(), [&key](const char *a) { return key == a; });
        if (!known) {
            *reason = std::string("unexpected field ") + Quoted(key) + " in " + type;
            return false;
        }
    }
    return true;
}

const json *Field(const json &j, const char *name)
{
    auto it = j.find(name);
    return it == j.end() ? nullptr : &*it;
}

bool RequiredNumber(const json &j, const char *type, const char *name, double lo, double hi, double *out,
                    std::string *reason)
{
    const json *f = Field(j, name);
    if (!f || !f->is_number()) {
        *reason = std::string(type) + " needs a number " + name;
        return false;
    }
    double value = f->get<double>();
    if (!std::isfinite(value) || value < lo || value > hi) {
        char text[96];
        std::snprintf(text, sizeof(text), "%s %s must be within %g..%g", type, name, lo, hi);
        *reason = text;
        return false;
    }
    *out = value;
    return true;
}

// An integer field within lo..hi, read in 64 bits so that no larger number
// converts with undefined behaviour.
bool RequiredInteger(const json &j, const char *type, const char *name, std::int64_t lo, std::int64_t hi, int *out,
                     std::string *reason)
{
    const json *f = Field(j, name);
    if (!f || !f->is_number_integer()) {
        *reason = std::string(type) + " needs an integer " + name;
        return false;
    }
    bool fits = f->is_number_unsigned() ? f->get<std::uint64_t>() <= static_cast<std::uint64_t>(hi)
                                        : f->get<std::int64_t>() >= lo && f->get<std::int64_t>() <= hi;
    if (!fits) {
        char text[96];
        std::snprintf(text, sizeof(text), "%s %s must be within %lld..%lld", type, name, static_cast<long long>(lo),
                      static_cast<long long>(hi));
        *reason = text;
        return false;
    }
    *out = static_cast<int>(f->get<std::int64_t>());
    return true;
}

bool Flag(const json &j, const char *type, const char *name, bool required, bool *out, std::string *reason)
{
    const json *f = Field(j, name);
    if (!f) {
        if (required)
            *reason = std::string(type) + " needs a true or false " + name;
        return !required;
    }
    if (!f->is_boolean()) {
        *reason = std::string(type) + " " + name + " must be true or false";
        return false;
    }
    *out = f->get<bool>();
    return true;
}

void SetRefusal(RefusedInput *refused, Refusal kind, std::string reason)
{
    if (!refused)
        return;
    refused->kind = kind;
    if (reason.size() > kMaxCloseReasonBytes)
        reason.resize(kMaxCloseReasonBytes); // ASCII throughout: any cut is a whole character
    refused->reason = std::move(reason);
}

template <typename Message, typename... Extra>
bool ParseAs(const json &j, PageInput *out, std::string *reason, const Extra &...extra)
{
    Message m;
    if (!Message::Parse(j, extra..., &m, reason))
        return false;
    *out = std::move(m);
    return true;
}

} // namespace

bool ClickableAreas::contains(int id) const { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

bool ClickMessage::Parse(const json &j, const ClickableAreas &areas, ClickMessage *out, std::string *reason)
{
    if (!OnlyFields(j, "click", {"area", "u", "v"}, reason))
        return false;
    const json *area = Field(j, "area");
    if (!area || !area->is_number_integer()) {
        *reason = "click needs an integer area";
        return false;
    }
    // Read in 64 bits: a larger number is no area either, and no conversion
    // of it is undefined.
    bool fits = area->is_number_unsigned() ? area->get<std::uint64_t>() <= INT32_MAX
                                           : area->get<std::int64_t>() >= INT32_MIN && area->get<std::int64_t>() <= INT32_MAX;
    int id = fits ? static_cast<int>(area->get<std::int64_t>()) : 0;
    if (!fits || !areas.contains(id)) {
        *reason = "click on area " + (fits ? std::to_string(id) : std::string("beyond 32 bits")) +
                  ", which takes no clicks";
        return false;
    }
    ClickMessage m;
    m.area = id;
    if (!RequiredNumber(j, "click", "u", 0.0, 1.0, &m.u, reason) ||
        !RequiredNumber(j, "click", "v", 0.0, 1.0, &m.v, reason))
        return false;
    *out = m;
    return true;
}

bool KeyMessage::Parse(const json &j, KeyMessage *out, std::string *reason)
{
    if (!OnlyFields(j, "key", {"code", "ctrl", "alt", "shift"}, reason))
        return false;
    const json *code = Field(j, "code");
    if (!code || !code->is_string()) {
        *reason = "key needs a string code";
        return false;
    }
    KeyMessage m;
    m.code = code->get<std::string>();
    m.keyCode = KeyCodeOf(m.code);
    if (m.keyCode == 0) {
        *reason = "key " + Quoted(m.code) + " is not a key the simulator knows";
        return false;
    }
    if (!Flag(j, "key", "ctrl", false, &m.ctrl, reason) || !Flag(j, "key", "alt", false, &m.alt, reason) ||
        !Flag(j, "key", "shift", false, &m.shift, reason))
        return false;
    *out = std::move(m);
    return true;
}

bool TextMessage::Parse(const json &j, TextMessage *out, std::string *reason)
{
    if (!OnlyFields(j, "text", {"text"}, reason))
        return false;
    const json *text = Field(j, "text");
    if (!text || !text->is_string()) {
        *reason = "text needs a string text";
        return false;
    }
    const std::string &s = text->get_ref<const std::string &>();
    if (s.size() > kMaxTextBytes) {
        *reason = "text longer than " + std::to_string(kMaxTextBytes) + " bytes";
        return false;
    }
    for (char c : s) {
        unsigned char b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) {
            *reason = "text holds a control character";
            return false;
        }
    }
    out->text = s;
    return true;
}

bool CancelMessage::Parse(const json &j, CancelMessage *out, std::string *reason)
{
    (void)out;
    return OnlyFields(j, "cancel", {}, reason);
}

bool PauseMessage::Parse(const json &j, PauseMessage *out, std::string *reason)
{
    if (!OnlyFields(j, "pause", {"paused"}, reason))
        return false;
    return Flag(j, "pause", "paused", true, &out->paused, reason);
}

bool WarpMessage::Parse(const json &j, WarpMessage *out, std::string *reason)
{
    if (!OnlyFields(j, "warp", {"warp"}, reason))
        return false;
    return RequiredNumber(j, "warp", "warp", kMinWarp, kMaxWarp, &out->warp, reason);
}

bool ViewClickMessage::Parse(const json &j, const ClickableAreas &areas, ViewClickMessage *out, std::string *reason)
{
    if (!OnlyFields(j, "viewclick", {"x", "y"}, reason))
        return false;
    if (areas.viewWidth < 1 || areas.viewHeight < 1) {
        *reason = "viewclick, but the server shows no 3D view";
        return false;
    }
    ViewClickMessage m;
    if (!RequiredInteger(j, "viewclick", "x", 0, areas.viewWidth - 1, &m.x, reason) ||
        !RequiredInteger(j, "viewclick", "y", 0, areas.viewHeight - 1, &m.y, reason))
        return false;
    *out = m;
    return true;
}

const char *RefusalName(Refusal r)
{
    switch (r) {
    case Refusal::Oversized:
        return "oversized";
    case Refusal::Binary:
        return "binary";
    case Refusal::Malformed:
        return "malformed";
    case Refusal::Unknown:
        return "unknown";
    case Refusal::Invalid:
        return "invalid";
    }
    return "invalid";
}

int RefusalCloseCode(Refusal r)
{
    switch (r) {
    case Refusal::Oversized:
        return 1009;
    case Refusal::Binary:
        return 1003;
    default:
        return 1008;
    }
}

bool ParsePageInput(std::string_view text, const ClickableAreas &areas, PageInput *out, RefusedInput *refused)
{
    if (text.size() > kMaxMessageBytes) {
        SetRefusal(refused, Refusal::Oversized,
                   "message larger than " + std::to_string(kMaxMessageBytes) + " bytes");
        return false;
    }
    try {
        json j = json::parse(text.begin(), text.end(), nullptr, false);
        if (j.is_discarded() || !j.is_object()) {
            SetRefusal(refused, Refusal::Malformed, "malformed message: not a JSON object");
            return false;
        }
        const json *type = Field(j, "type");
        if (!type || !type->is_string()) {
            SetRefusal(refused, Refusal::Malformed, "malformed message: no string \"type\"");
            return false;
        }
        const std::string &name = type->get_ref<const std::string &>();
        std::string reason;
        bool ok;
        if (name == "click")
            ok = ParseAs<ClickMessage>(j, out, &reason, areas);
        else if (name == "key")
            ok = ParseAs<KeyMessage>(j, out, &reason);
        else if (name == "text")
            ok = ParseAs<TextMessage>(j, out, &reason);
        else if (name == "cancel")
            ok = ParseAs<CancelMessage>(j, out, &reason);
        else if (name == "pause")
            ok = ParseAs<PauseMessage>(j, out, &reason);
        else if (name == "warp")
            ok = ParseAs<WarpMessage>(j, out, &reason);
        else if (name == "viewclick")
            ok = ParseAs<ViewClickMessage>(j, out, &reason, areas);
        else {
            SetRefusal(refused, Refusal::Unknown, "unknown message type " + Quoted(name));
            return false;
        }
        if (!ok)
            SetRefusal(refused, Refusal::Invalid, reason);
        return ok;
    } catch (const std::exception &) {
        SetRefusal(refused, Refusal::Malformed, "malformed message");
        return false;
    }
}

} // namespace serve
