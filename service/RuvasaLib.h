#pragma once
#include "service/HttpCall.h"
#include "service/JsonDocument.h"
#include "service/ServiceEndpoint.h"
#include "service/SessionString.h"

#include <cstdint>
#include <functional>
#include <string>

class BrowserView;

// The client's one gateway to the library service and the renderer of the catalogue pages.
// Request side in service/, render methods in pages/.
class TRuvasaLib {
public:
    TRuvasaLib();
    ~TRuvasaLib();
    TRuvasaLib(const TRuvasaLib &) = delete;
    TRuvasaLib &operator=(const TRuvasaLib &) = delete;

    // ---- Session state and the last reply of each kind, in declaration order ----
    std::string FPath;
    ReplyField FUserJson;
    ReplyField FClientJson;
    ReplyField FBannerJson;
    ReplyField FCategoryJson;
    ReplyField FCategoryContentJson;
    ReplyField FSubCategoryContentJson;
    ReplyField FChartContentJson;
    ReplyField FHomeContentJson;
    ReplyField FHomeDetailJson;
    ReplyField FDetailContentJson;
    ReplyField FSearchContentJson;
    ReplyField FReadPermissionJson;
    std::string DevUUID;
    SessionString FUserId;
    SessionString FUsername;
    SessionString FToken;
    SessionString FName;
    SessionString FLastDate;
    SessionString FProfilePict;
    SessionString FUserLevel;

    // ---- Local workspace and device identity ----
    // The user's data folder with a trailing "/", or "" when the system cannot say.
    static std::string getAppPath();
    // The device identifier: the root file system's id as eight upper-case hex digits.
    static std::string GetHardDiskSerial();
    // Rebuilds FPath from the embedded asset archive; a failure is kept in FWorkspaceError and start-up
    // goes on.
    void checkDataFolder();
    // The failure of the last rebuild ("Error Exception #2857: " + the error's message), empty when it
    // succeeded; the owner of the window shows it.
    std::string FWorkspaceError;
    // Where a render method's failure goes (its prefix + the error's message), possibly from a pool
    // thread; the owner of the windows shows it in an error box. Unset, it is written to standard error.
    std::function<void(const std::string &text)> OnRenderError;
    // Extracts every entry of the zip FileName below BaseDir; the zip is deleted afterwards in
    // every case. Throws std::runtime_error on failure, also for an entry that would leave BaseDir.
    static void unzipViewerFile(const std::string &BaseDir, const std::string &FileName);
    // Deletes a folder tree silently; the outcome is not reported.
    static void DeleteDirectory(const std::string &DirName);

    // ---- Request side (service/) ----
    // Every request method makes one call with a fresh HTTP client and returns the reply object;
    // a failed call returns {"code":"500","msg": the method's prefix + the failure text}. None throws.
    // Safe to call from any thread.

    // A client talking to another service than the built-in one (tests, the developer tool).
    explicit TRuvasaLib(ServiceEndpoint endpoint);
    const ServiceEndpoint &serviceEndpoint() const { return endpoint; }

    // Replaces the whole session under one lock, so no request sends part of one login with part
    // of another.
    void setSession(const SessionValues &values);
    // One consistent copy of the session.
    SessionValues session() const;
    // Adds the six session headers in their order; the last three are empty before a login.
    void setCustomParams(HttpRequest &request) const;

    JsonPtr checkAppVersionRequest();
    // Fetches the institution profile, applies its colours to css/style.css, stores it in FClientJson.
    JsonPtr getClientJson();
    JsonPtr LoginRequest(const std::string &Username, const std::string &Password);
    JsonPtr BannerRequest();
    JsonPtr CategoryRequest();
    JsonPtr HomeRequest(int Page);
    JsonPtr HomeDetailRequest(const std::string &id_homepage);
    JsonPtr CategoryContentRequest(const std::string &id_dept, const std::string &id_kategori);
    JsonPtr SubCategoryContentRequest(const std::string &id_dept, const std::string &id_sub_kategori);
    // chartType "topRead", "lastRead" or "lastView"; any other kind sends nothing and returns
    // {"code":"500","msg":"#527 Unknown chart type: " + chartType}.
    JsonPtr ChartContentRequest(const std::string &chartType, int page);
    JsonPtr DetailContentRequest(const std::string &id_konten);
    JsonPtr SearchContentRequest(const std::string &field, const std::string &keyword, int page);
    JsonPtr SearchKalimatRequest(const std::string &keyword, int page);
    JsonPtr ReadPermissionRequest(const std::string &id_konten);
    JsonPtr BookReturnRequest(const std::string &id_baca, const std::string &id_konten, int page_index);
    JsonPtr SaveAnnotationRequest(const std::string &JSONString);
    JsonPtr SaveCopyText(const std::string &JSonString);
    JsonPtr ForgotPasswordRequest(const std::string &Username);
    JsonPtr UpdateReadStatusRequest(const std::string &id_baca, int status);
    JsonPtr Logoutrequest();

    // Fetches the stored annotations at `fileAnotasi` (an http(s) address, or a path on the service)
    // into FPath + "/tempAnnot.json". Returns the failure text, empty on success; on failure no
    // tempAnnot.json is left behind. The session headers go only to the service itself.
    std::string fetchStoredAnnotations(const std::string &fileAnotasi);

    // ---- Page rendering (pages/) ----
    // A content page renders `reply`, the reply its completion received; without one, the last reply
    // of its kind.
    void renderLoginHtmlFile(BrowserView &view);
    void renderHomeHtmlFile(BrowserView &view, int page);
    void renderHomeDetailHtmlFile(BrowserView &view, const std::string &sectionTitle,
                                  const JsonPtr &reply = {});
    void renderCategoryHtmlFile(BrowserView &view);
    void renderDept(BrowserView &view, const std::string &idDept);
    void renderCategoryContent(BrowserView &view, const std::string &categoryName, const JsonPtr &reply = {});
    void renderSubCategoryContent(BrowserView &view, const std::string &categoryName,
                                  const JsonPtr &reply = {});
    void renderTopChart(BrowserView &view, int page, const JsonPtr &reply = {});
    void renderLastRead(BrowserView &view, int page, const JsonPtr &reply = {});
    void renderLastView(BrowserView &view, int page, const JsonPtr &reply = {});
    void renderDetailContent(BrowserView &view, const std::string &origin, const JsonPtr &reply = {});
    void renderSearchResult(BrowserView &view, int page, const std::string &keyword, const std::string &field,
                            const JsonPtr &reply = {});
    void renderSearchKalimatResult(BrowserView &view, int page, const std::string &keyword,
                                   const JsonPtr &reply = {});

private:
    ServiceEndpoint endpoint = ServiceEndpoint::builtIn(); // request side
};

// Replaces `path` by a fresh copy of the embedded asset archive (private to the user).
// Throws std::runtime_error on failure; a folder that cannot be removed is left as it is.
void layOutWorkspace(const std::string &path);

// Formats a 32-bit volume id the way the service knows devices: "%08X".
std::string formatDeviceSerial(std::uint32_t serial);
