#pragma once
#include "service/JsonDocument.h"

#include <cstdint>
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
    std::string FUserId;
    std::string FUsername;
    std::string FToken;
    std::string FName;
    std::string FLastDate;
    std::string FProfilePict;
    std::string FUserLevel;

    // ---- Local workspace and device identity ----
    // The user's data folder with a trailing "/", or "" when the system cannot say.
    static std::string getAppPath();
    // The device identifier: the root file system's id as eight upper-case hex digits.
    static std::string GetHardDiskSerial();
    // Rebuilds FPath from the embedded asset archive; failures are shown, start-up goes on.
    void checkDataFolder();
    // Extracts every entry of the zip FileName below BaseDir; the zip is deleted afterwards in
    // every case. Throws std::runtime_error on failure, also for an entry that would leave BaseDir.
    static void unzipViewerFile(const std::string &BaseDir, const std::string &FileName);
    // Deletes a folder tree silently; the outcome is not reported.
    static void DeleteDirectory(const std::string &DirName);

    // ---- Request side (service/) ----

    // ---- Page rendering (pages/) ----
    void renderLoginHtmlFile(BrowserView &view);
    void renderHomeHtmlFile(BrowserView &view, int page);
    void renderHomeDetailHtmlFile(BrowserView &view, const std::string &sectionTitle);
    void renderCategoryHtmlFile(BrowserView &view);
    void renderDept(BrowserView &view, const std::string &idDept);
    void renderCategoryContent(BrowserView &view, const std::string &categoryName);
    void renderSubCategoryContent(BrowserView &view, const std::string &categoryName);
    void renderTopChart(BrowserView &view, int page);
    void renderLastRead(BrowserView &view, int page);
    void renderLastView(BrowserView &view, int page);
    void renderDetailContent(BrowserView &view, const std::string &origin);
    void renderSearchResult(BrowserView &view, int page, const std::string &keyword, const std::string &field);
    void renderSearchKalimatResult(BrowserView &view, int page, const std::string &keyword);
};

// Replaces `path` by a fresh copy of the embedded asset archive (private to the user).
// Throws std::runtime_error on failure; a folder that cannot be removed is left as it is.
void layOutWorkspace(const std::string &path);

// Formats a 32-bit volume id the way the service knows devices: "%08X".
std::string formatDeviceSerial(std::uint32_t serial);
