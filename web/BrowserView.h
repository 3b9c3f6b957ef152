#pragma once
#include <string>

// What a page renderer needs of a browser view: show a file, reload it, or run script in it.
// The client passes its Chromium views; tests pass a recording fake.
class BrowserView {
public:
    virtual ~BrowserView() = default;
    virtual void navigate(const std::string &url) = 0;
    virtual void reload() = 0;
    virtual void runScript(const std::string &script) = 0;
};
