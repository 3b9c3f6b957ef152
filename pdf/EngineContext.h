#pragma once
// The MuPDF contexts behind the engine: one base context for the process, with the locks MuPDF needs
// to share its caches, and a clone of it for each thread that calls the engine.

struct fz_context;

void startEngineContext();
void stopEngineContext();
// The calling thread's context; throws std::runtime_error when the engine was not started.
fz_context *engineContext();
