#pragma once
#include <QUrl>
#include <functional>

// Hands an address to something outside the client; the shipped client uses the system browser.
using ExternalOpener = std::function<void(const QUrl &)>;

ExternalOpener systemBrowserOpener();
