#pragma once
// The MuPDF contexts behind the engine: one base context for the process, with the locks MuPDF needs
// to share its caches, and a clone of it for each thread that calls the engine.

#include <cstddef>

struct fz_context;

void startEngineContext();
void stopEngineContext();
// The calling thread's context; throws std::runtime_error when the engine was not started.
fz_context *engineContext();
// Gives the calling thread a context of its own for the rest of its life, sharing no store and no lock
// with the other threads' contexts, its store bounded by `storeBytes`: for a thread that keeps its
// documents to itself, so that its work never waits for theirs (the engine's shared locks guard every
// allocation and every glyph) nor holds it up.
void useOwnEngineContext(std::size_t storeBytes);
