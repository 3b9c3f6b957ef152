#pragma once
#include <string>

// One path segment of an address: bytes other than letters, digits and "-._~" are percent-encoded,
// and a segment of only dots ("." or "..") is encoded whole so that it cannot climb a folder.
std::string encodePathSegment(const std::string &segment);
