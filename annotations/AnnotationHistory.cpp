#include "annotations/AnnotationHistory.h"

void AnnotationHistory::start(const JsonDocument &document) {
    current = document;
    undone.clear();
    redone.clear();
}

bool AnnotationHistory::record(const JsonDocument &document) {
    if (document == current)
        return false;
    undone.push_back(std::move(current));
    current = document;
    redone.clear();
    return true;
}

bool AnnotationHistory::undo(JsonDocument &document) {
    if (undone.empty())
        return false;
    redone.push_back(std::move(current));
    current = std::move(undone.back());
    undone.pop_back();
    document = current;
    return true;
}

bool AnnotationHistory::redo(JsonDocument &document) {
    if (redone.empty())
        return false;
    undone.push_back(std::move(current));
    current = std::move(redone.back());
    redone.pop_back();
    document = current;
    return true;
}
