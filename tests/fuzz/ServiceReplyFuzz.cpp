#include "tests/fuzz/FuzzEntries.h"

#include "service/ReplyEnvelope.h"
#include "service/ServiceCall.h"

#include <string>

int fuzzServiceReply(const std::uint8_t *data, std::size_t size) {
    HttpResponse response;
    if (size >= 2) {
        response.status = 100 + ((data[0] << 8) | data[1]) % 500;
        response.body.assign(reinterpret_cast<const char *>(data) + 2, size - 2);
    }
    JsonDocument parsed;
    const std::string failure = replyFailure(std::move(response), parsed);
    const JsonPtr reply = failure.empty() ? std::make_shared<const JsonDocument>(std::move(parsed))
                                          : madeUpReply("Gagal memuat: ", failure);
    isSuccessReply(*reply);
    for (const char *key : {"code", "msg", "data", "id", "judul", "halaman_total", "token"}) {
        jsonText(*reply, key);
        jsonInt(*reply, key);
    }
    reply->dump();
    return 0;
}
