#include "app/template/template_front_end.h"

namespace kolvane {

TemplateFrontEnd::TemplateFrontEnd(const TemplateLaunch& launch)
    : settings_(launch.settings, launch.settings),
      modes_(launch.watch, store_,
             KeptGamesSetup{launch.settings.record, "template", launch.wallClock, 1},
             launch.settings.showScores),
      core_(window_, modes_.mode(), FrontEndSetup{settings_, store_, launch.wallClock}) {}

}  // namespace kolvane
