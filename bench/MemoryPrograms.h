#pragma once
// The two programs the memory benchmark runs in child processes, and how they report to it: one line
// per figure ("figure NAME VALUE", in MiB) and per page ("page RELATIVE-PATH") on standard output.
#include "service/ServiceEndpoint.h"

#include <QString>
#include <QStringList>

namespace memory {

inline constexpr const char *ClientMode = "--client";
inline constexpr const char *BareMode = "--bare";
inline constexpr const char *FigureTag = "figure";
inline constexpr const char *PageTag = "page";

// Lets the process tree settle (events processed for a while), then reports its PSS as `name`_MiB and
// that of this process alone (without its helper processes) as `name`_own_MiB.
void reportSettledTree(const char *name);
void reportPage(const QString &relativePath);
// Reports `value` as the figure `name` (a figure in other units than MiB says so in its name).
void reportFigure(const char *name, double value);

// The real client against `endpoint`: reports "login", "home", "views" and "books", what the views'
// memory costs in use ("switch_ms", "scroll_fps"),
// and names the seven pages of the catalogue views, copied below `pagesCopy`. 0 when every step went.
int runClient(const ServiceEndpoint &endpoint, const QString &pagesCopy);
// Seven bare views showing `pages` (relative to `folder`), one each; reports "bare".
int runBare(const QString &folder, const QStringList &pages);

} // namespace memory
