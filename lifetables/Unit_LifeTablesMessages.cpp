#include "lifetables/Unit_LifeTablesMessages.h"

#include "platform/Ansi.h"
#include "platform/Dialogs.h"

lifetables::LTMessageSink ltMessageSink() {
    return [](const std::string& message) { platform::showMessage(platform::fromAnsi(message)); };
}
