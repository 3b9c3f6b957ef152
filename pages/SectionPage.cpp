// The section page: all books of one home section.
#include "pages/BookListPage.h"
#include "pages/JsonValues.h"
#include "pages/PageFile.h"
#include "pages/PageFiles.h"
#include "pages/RenderGuard.h"
#include "service/RuvasaLib.h"
#include "web/BrowserView.h"

void TRuvasaLib::renderHomeDetailHtmlFile(BrowserView &view, const std::string &sectionTitle,
                                          const JsonPtr &received) {
    renderGuarded(OnRenderError, "Error Exception #1006 ", [&] {
        const JsonPtr reply = replyDocument(received, FHomeDetailJson, "FHomeDetailJson");
        const std::string path = pagePath(FPath, PageFiles::Section);
        writeBookListPage(path, sectionTitle, arrayMember(*reply, "data"), serviceEndpoint().baseUrl,
                          {"", "detailFromSection", false});
        view.navigate(pageUrl(path));
    });
}
