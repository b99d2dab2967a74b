#pragma once
// The life-table messages reach the user one by one, each in a modal box with an OK button.
#include "lifetables/core/LTMessageSink.h"

lifetables::LTMessageSink ltMessageSink();
