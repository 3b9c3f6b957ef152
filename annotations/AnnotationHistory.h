#pragma once
#include "service/JsonDocument.h"

#include <vector>

// The undo and redo history of one book's annotation document, from the state at borrowing on. Each
// recorded change keeps the document as it was before; undo and redo swap whole documents, so any kind
// of change (an entry added or deleted, a note's text or colour) goes back the same way.
class AnnotationHistory {
public:
    // Starts over at `document`, the state at borrowing: nothing to undo or redo.
    void start(const JsonDocument &document);
    // After a change by the member: when `document` differs from the last state recorded, that state
    // can be undone and nothing can be redone any more. Returns whether it differed.
    bool record(const JsonDocument &document);
    // Puts the state before the last change into `document`; false, with nothing changed, when the
    // document is at its state at borrowing.
    bool undo(JsonDocument &document);
    // Puts back the change last undone; false when there is none.
    bool redo(JsonDocument &document);
    bool canUndo() const { return !undone.empty(); }
    bool canRedo() const { return !redone.empty(); }

private:
    JsonDocument current; // the state last recorded
    std::vector<JsonDocument> undone, redone;
};
