#include "browser/EngineSettings.h"

#include <QByteArray>
#include <QtGlobal>

#include <malloc.h>

namespace {

constexpr const char *kClientChromiumFlags = "--renderer-process-limit=1";
constexpr const char *kArenaVariable = "MALLOC_ARENA_MAX";
constexpr int kMallocArenas = 2;

void setUnlessSet(const char *name, const char *value) {
    if (!qEnvironmentVariableIsSet(name))
        qputenv(name, value);
}

} // namespace

void configureBrowserEngine() {
    QByteArray flags = kClientChromiumFlags;
    const QByteArray members = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!members.trimmed().isEmpty())
        flags += ' ' + members;
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    setUnlessSet("QT_QUICK_BACKEND", "software");
    setUnlessSet("QT_XCB_GL_INTEGRATION", "none");
    // Fewer malloc arenas: the engine's many threads otherwise each keep memory of their own. The
    // engine's processes read the variable; this one, already running, is told directly.
    if (!qEnvironmentVariableIsSet(kArenaVariable)) {
        qputenv(kArenaVariable, QByteArray::number(kMallocArenas));
        mallopt(M_ARENA_MAX, kMallocArenas);
    }
}
