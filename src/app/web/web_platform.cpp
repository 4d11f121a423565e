#include "app/web/web_platform.h"

#include "app/web/page.h"

namespace kolvane::web {

std::int32_t WebPlatform::timeSeconds() const {
    return kolvane_time_seconds();
}

void WebPlatform::messageBox(const char* text, const char* caption) {
    kolvane_alert(text, caption);
}

}  // namespace kolvane::web
