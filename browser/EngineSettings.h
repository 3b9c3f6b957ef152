#pragma once

// Sets up the browser engine and the drawing of its views; called before the application object
// exists, as the engine reads these when it starts.
//
// The catalogue keeps seven views alive. They share one renderer process, and Qt Quick draws them in
// software without a GL context (the same pixels): per view, that leaves out a process and the GL
// buffers of every view ever shown, which took most of the client's memory; and malloc keeps two
// arenas rather than one per thread. A member's own
// QTWEBENGINE_CHROMIUM_FLAGS come after the client's, so they add to them (and win over them), and a
// drawing setting the member made in the environment is kept.
void configureBrowserEngine();
