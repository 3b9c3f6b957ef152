#pragma once
#include <QString>

// Name under which the receiver is published on each page's web channel.
inline constexpr const char *AppReceiverObjectName = "kelvaraApp";

// Script run at document creation in the main frame: the web channel client and the global `app`.
QString appScriptSource();
