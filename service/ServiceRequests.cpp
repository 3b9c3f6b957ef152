// The request methods of the service client: one per call of the library service.
#include "service/RuvasaLib.h"

#include "KelvaraConfig.h"
#include "service/ReplyEnvelope.h"
#include "service/ServiceCall.h"
#include "service/StylesheetBranding.h"

#include <map>

namespace {

using HeaderList = std::vector<std::pair<std::string, std::string>>;

// For the calls made outside a session.
HeaderList deviceHeaders(const std::string &uuid) {
    return {{"CLIENTID", KelvaraConfig::ClientId}, {"OS", KelvaraConfig::OsName}, {"UUID", uuid}};
}

HeaderList loginHeaders(const std::string &uuid) {
    return {{"OS", KelvaraConfig::OsName}, {"CLIENTID", KelvaraConfig::ClientId}, {"UUID", uuid}};
}

// The six session headers in their order; the last three are empty before a login.
void addSessionHeaders(HttpRequest &request, const std::string &uuid, const SessionValues &session) {
    request.headers.insert(request.headers.end(), {
                                                      {"CLIENTID", KelvaraConfig::ClientId},
                                                      {"OS", KelvaraConfig::OsName},
                                                      {"UUID", uuid},
                                                      {"KEY", session.token},
                                                      {"USERID", session.userId},
                                                      {"USERLEVEL", session.userLevel},
                                                  });
}

std::string chartPath(const std::string &chartType) {
    static const std::map<std::string, std::string> paths = {
        {"topRead", "/api/wl/listTopRead"},
        {"lastRead", "/api/wl/listLastRead"},
        {"lastView", "/api/wl/listLastView"},
    };
    const auto found = paths.find(chartType);
    return found == paths.end() ? std::string() : found->second;
}

} // namespace

TRuvasaLib::TRuvasaLib(ServiceEndpoint endpoint) : TRuvasaLib() {
    this->endpoint = std::move(endpoint);
}

void TRuvasaLib::setSession(const SessionValues &values) {
    std::lock_guard lock(SessionString::mutex());
    FName.setUnlocked(values.name);
    FUsername.setUnlocked(values.username);
    FUserLevel.setUnlocked(values.userLevel);
    FLastDate.setUnlocked(values.lastDate);
    FToken.setUnlocked(values.token);
    FProfilePict.setUnlocked(values.profilePict);
    FUserId.setUnlocked(values.userId);
}

SessionValues TRuvasaLib::session() const {
    std::lock_guard lock(SessionString::mutex());
    return {FName.unlockedValue(),     FUsername.unlockedValue(), FUserLevel.unlockedValue(),
            FLastDate.unlockedValue(), FToken.unlockedValue(),    FProfilePict.unlockedValue(),
            FUserId.unlockedValue()};
}

void TRuvasaLib::setCustomParams(HttpRequest &request) const {
    addSessionHeaders(request, DevUUID, session());
}

JsonPtr TRuvasaLib::checkAppVersionRequest() {
    HttpRequest request = serviceFormPost(endpoint, "/api/wl/checkAppVersion",
                                          {{"kode", KelvaraConfig::AppCode},
                                           {"os", KelvaraConfig::OsName},
                                           {"versi", std::to_string(KelvaraConfig::ClientVersion)}});
    request.totalTimeoutMs = 30000;
    return serviceReply(request, "#301 ");
}

JsonPtr TRuvasaLib::LoginRequest(const std::string &Username, const std::string &Password) {
    HttpRequest request = serviceFormPost(endpoint, "/api/wl/executeLogin",
                                          {{"user", Username}, {"pass", Password}, {"uuid", DevUUID}});
    request.headers = loginHeaders(DevUUID);
    return serviceReply(request, " #387 ");
}

JsonPtr TRuvasaLib::BannerRequest() {
    HttpRequest request = serviceGet(endpoint, "/api/wl/listBanner");
    setCustomParams(request);
    return serviceReply(request, "#410 ");
}

JsonPtr TRuvasaLib::CategoryRequest() {
    HttpRequest request = serviceGet(endpoint, "/api/wl/menu");
    setCustomParams(request);
    return serviceReply(request, "#431 ");
}

JsonPtr TRuvasaLib::HomeRequest(int Page) {
    HttpRequest request =
        serviceFormPost(endpoint, "/api/wl/listHomepage", {{"page", std::to_string(Page)}, {"limit", "10"}});
    setCustomParams(request);
    return serviceReply(request, "#457 ");
}

JsonPtr TRuvasaLib::HomeDetailRequest(const std::string &id_homepage) {
    HttpRequest request = serviceFormPost(endpoint, "/api/wl/listHomepageDetail",
                                          {{"id_homepage", id_homepage}, {"page", "1"}});
    setCustomParams(request);
    return serviceReply(request, "#484 ");
}

JsonPtr TRuvasaLib::CategoryContentRequest(const std::string &id_dept, const std::string &id_kategori) {
    HttpRequest request = serviceFormPost(endpoint, "/api/wl/listContentCategory",
                                          {{"id_dept", id_dept}, {"id_kategori", id_kategori}});
    setCustomParams(request);
    return serviceReply(request, "#512 ");
}

JsonPtr TRuvasaLib::SubCategoryContentRequest(const std::string &id_dept,
                                              const std::string &id_sub_kategori) {
    HttpRequest request = serviceFormPost(endpoint, "/api/wl/listContentSubCategory",
                                          {{"id_dept", id_dept}, {"id_sub_kategori", id_sub_kategori}});
    setCustomParams(request);
    return serviceReply(request, "#540 ");
}

JsonPtr TRuvasaLib::ChartContentRequest(const std::string &chartType, int page) {
    const std::string path = chartPath(chartType);
    if (path.empty())
        return madeUpReply("#527 ", "Unknown chart type: " + chartType);
    HttpRequest request = serviceFormPost(endpoint, path, {{"page", std::to_string(page)}});
    setCustomParams(request);
    return serviceReply(request, "#527 ");
}

JsonPtr TRuvasaLib::DetailContentRequest(const std::string &id_konten) {
    HttpRequest request = serviceFormPost(endpoint, "/api/wl/detailKonten", {{"id_konten", id_konten}});
    setCustomParams(request);
    return serviceReply(request, "");
}

JsonPtr TRuvasaLib::SearchContentRequest(const std::string &field, const std::string &keyword, int page) {
    HttpRequest request =
        serviceFormPost(endpoint, "/api/wl/searching",
                        {{"page", std::to_string(page)}, {"keyword", keyword}, {"field", field}});
    setCustomParams(request);
    return serviceReply(request, "");
}

JsonPtr TRuvasaLib::SearchKalimatRequest(const std::string &keyword, int page) {
    HttpRequest request = serviceFormPost(endpoint, "/api/wl/searchingKalimat",
                                          {{"page", std::to_string(page)}, {"keyword", keyword}});
    setCustomParams(request);
    return serviceReply(request, "");
}

JsonPtr TRuvasaLib::ReadPermissionRequest(const std::string &id_konten) {
    HttpRequest request = serviceFormPost(endpoint, "/api/wl/requestBaca", {{"id_konten", id_konten}});
    setCustomParams(request);
    return serviceReply(request, "");
}

JsonPtr TRuvasaLib::BookReturnRequest(const std::string &id_baca, const std::string &id_konten,
                                      int page_index) {
    HttpRequest request = serviceFormPost(
        endpoint, "/api/wl/bookReturn",
        {{"id_konten", id_konten}, {"id_baca", id_baca}, {"page_index", std::to_string(page_index)}});
    setCustomParams(request);
    return serviceReply(request, "");
}

JsonPtr TRuvasaLib::SaveAnnotationRequest(const std::string &JSONString) {
    HttpRequest request = serviceJsonPost(endpoint, "/api/wl/saveAnotasi", JSONString);
    setCustomParams(request);
    return serviceReply(request, "");
}

JsonPtr TRuvasaLib::SaveCopyText(const std::string &JSonString) {
    HttpRequest request = serviceJsonPost(endpoint, "/api/wl/copyText", JSonString);
    setCustomParams(request);
    return serviceReply(request, "");
}

JsonPtr TRuvasaLib::ForgotPasswordRequest(const std::string &Username) {
    HttpRequest request = serviceFormPost(endpoint, "/api/wl/forgotPassword", {{"username", Username}});
    request.headers = deviceHeaders(DevUUID);
    return serviceReply(request, "");
}

JsonPtr TRuvasaLib::UpdateReadStatusRequest(const std::string &id_baca, int status) {
    HttpRequest request = serviceFormPost(endpoint, "/api/wl/updateReadStatus",
                                          {{"id_baca", id_baca}, {"status", std::to_string(status)}});
    setCustomParams(request);
    return serviceReply(request, "");
}

JsonPtr TRuvasaLib::Logoutrequest() {
    // The body and the headers name the same member, even while a login replaces the session.
    const SessionValues current = session();
    HttpRequest request = serviceFormPost(endpoint, "/api/wl/executeLogout", {{"id_user", current.userId}});
    addSessionHeaders(request, DevUUID, current);
    return serviceReply(request, "");
}

JsonPtr TRuvasaLib::getClientJson() {
    HttpRequest request = serviceGet(endpoint, "/api/wl/mitra");
    request.headers = deviceHeaders(DevUUID);
    JsonPtr profile = serviceReply(request, "#355 ");
    if (jsonText(*profile, "code") != "500") {
        try {
            applyBranding(FPath + "/css/style.css", *profile);
        } catch (const std::exception &error) {
            profile = madeUpReply("#355 ", error.what());
        }
    }
    FClientJson.store(profile);
    return profile;
}
