#pragma once
#include "service/JsonDocument.h"
#include "service/SessionString.h"

#include <QString>

#include <string>

// Reading a reply the way the completions do: a missing key, a null or a missing document reads
// as empty text or 0; numbers read as their text and numeric text as its number. A number becomes
// an int by dropping its fraction and holding it within int's range.
std::string replyText(const JsonPtr &reply, const char *key);
std::string replyText(const JsonDocument *object, const char *key);
int replyInt(const JsonPtr &reply, const char *key);
int replyInt(const JsonDocument *object, const char *key);
// The reply's "data" object (or whatever value it holds), or null when it has none.
const JsonDocument *replyData(const JsonPtr &reply);
// The reply's "msg", as a message box shows it; for a refusal whose "msg" is missing, null or blank, a
// text that says so and gives the reply's "code".
QString replyMessage(const JsonPtr &reply);
// True when the reply has a "code" that is not null.
bool replyHasCode(const JsonPtr &reply);
// The session-ended answer: "code" "500" with "msg" exactly "Auth Failed".
bool isAuthFailed(const JsonPtr &reply);
// The session a login reply names in its "data", read as replyText reads (empty for what it lacks).
SessionValues loginSession(const JsonPtr &loginReply);
