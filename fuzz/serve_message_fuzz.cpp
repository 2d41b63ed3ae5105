// A page's messages: any bytes at all. Each is either refused with a reason
// a close frame can carry, or taken with every field inside its range.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <variant>

#include "apps/serve/key_codes.h"
#include "apps/serve/page_input.h"

namespace {

// The building's panels and a 3D view of 960 x 540 pixels.
const serve::ClickableAreas kPanels{{300, 303}, 960, 540};

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

bool InUnit(double x) { return std::isfinite(x) && x >= 0.0 && x <= 1.0; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string_view text(reinterpret_cast<const char *>(data), size);
    serve::PageInput input;
    serve::RefusedInput refused;
    if (!serve::ParsePageInput(text, kPanels, &input, &refused)) {
        Check(!refused.reason.empty() && refused.reason.size() <= serve::kMaxCloseReasonBytes);
        for (char c : refused.reason)
            Check(static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F);
        return 0;
    }
    Check(size <= serve::kMaxMessageBytes);
    if (auto *click = std::get_if<serve::ClickMessage>(&input))
        Check(kPanels.contains(click->area) && InUnit(click->u) && InUnit(click->v));
    if (auto *key = std::get_if<serve::KeyMessage>(&input))
        Check(key->keyCode != 0 && key->keyCode < 256 && serve::KeyCodeOf(key->code) == key->keyCode);
    if (auto *typed = std::get_if<serve::TextMessage>(&input)) {
        Check(typed->text.size() <= serve::kMaxTextBytes);
        for (char c : typed->text)
            Check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
    }
    if (auto *view = std::get_if<serve::ViewClickMessage>(&input))
        Check(view->x >= 0 && view->x < kPanels.viewWidth && view->y >= 0 && view->y < kPanels.viewHeight);
    if (auto *warp = std::get_if<serve::WarpMessage>(&input))
        Check(std::isfinite(warp->warp) && warp->warp >= serve::kMinWarp && warp->warp <= serve::kMaxWarp);
    return 0;
}
