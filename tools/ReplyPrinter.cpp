#include "tools/ReplyPrinter.h"

void printReply(std::FILE *out, const JsonDocument &reply) {
    std::fprintf(out, "%s\n", reply.dump(2).c_str());
}
