// The engine set up as the client sets it up, with what a member put in the environment kept.
#include "browser/EngineSettings.h"

#include <QByteArray>
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

namespace {

const char *const kVariables[] = {"QTWEBENGINE_CHROMIUM_FLAGS", "QT_QUICK_BACKEND", "QT_XCB_GL_INTEGRATION",
                                  "MALLOC_ARENA_MAX"};

// Sets the variables for one case and puts the program's own values back afterwards.
class Environment {
public:
    explicit Environment(const std::map<std::string, std::optional<QByteArray>> &values) {
        for (const char *name : kVariables) {
            saved[name] = qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
            const auto given = values.find(name);
            if (given != values.end() && given->second)
                qputenv(name, *given->second);
            else
                qunsetenv(name);
        }
    }
    ~Environment() {
        for (const auto &[name, value] : saved)
            value ? qputenv(name.c_str(), *value) : qunsetenv(name.c_str());
    }

private:
    std::map<std::string, std::optional<QByteArray>> saved;
};

TEST(EngineSettings, TheClientsSettingsComeFirstAndTheMembersAreKept) {
    const struct {
        const char *name;
        std::map<std::string, std::optional<QByteArray>> given;
        std::map<std::string, QByteArray> expected;
    } cases[] = {
        {"nothing set by the member",
         {},
         {{"QTWEBENGINE_CHROMIUM_FLAGS", "--renderer-process-limit=1"},
          {"QT_QUICK_BACKEND", "software"},
          {"QT_XCB_GL_INTEGRATION", "none"},
          {"MALLOC_ARENA_MAX", "2"}}},
        {"the member's flags and drawing settings",
         {{"QTWEBENGINE_CHROMIUM_FLAGS", "--lang=id --renderer-process-limit=3"},
          {"QT_QUICK_BACKEND", "rhi"},
          {"QT_XCB_GL_INTEGRATION", "xcb_egl"},
          {"MALLOC_ARENA_MAX", "8"}},
         {{"QTWEBENGINE_CHROMIUM_FLAGS", "--renderer-process-limit=1 --lang=id --renderer-process-limit=3"},
          {"QT_QUICK_BACKEND", "rhi"},
          {"QT_XCB_GL_INTEGRATION", "xcb_egl"},
          {"MALLOC_ARENA_MAX", "8"}}},
        {"blank flags add nothing",
         {{"QTWEBENGINE_CHROMIUM_FLAGS", "  "}},
         {{"QTWEBENGINE_CHROMIUM_FLAGS", "--renderer-process-limit=1"}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Environment environment(c.given);
        configureBrowserEngine();
        for (const auto &[name, value] : c.expected)
            EXPECT_EQ(qgetenv(name.c_str()), value) << name;
    }
}

} // namespace
