// Reading time: every five minutes each open book reports that it is being read; after 30 minutes
// without pointer movement over it, the next report says it is not, and the book goes back by itself.
#include "prompts/MessageBoxes.h"
#include "reader/ReaderController.h"
#include "reader/ReaderPanel.h"
#include "service/ReplyValues.h"
#include "service/RuvasaLib.h"

#include <QLabel>
#include <QTabWidget>

namespace {
constexpr int IdleLimit = 1800;   // seconds without movement
constexpr int ReportPeriod = 300; // seconds between reports
constexpr int NoticeAhead = 300;  // the notice comes this many seconds before the idle limit

// Whole minutes left, rounded up: 1800 seconds left are 30 minutes, 1 second is 1 minute.
int minutesLeft(int idleTime) {
    return (IdleLimit - idleTime + 59) / 60;
}
} // namespace

void TReaderController::readingTimeTick(QTimer *timer) {
    const QString name = timer->objectName();
    const QString key = name.section(QLatin1Char('_'), 0, 0);
    auto found = readerState.find(key);
    if (found == readerState.end())
        return;
    TReaderSettings &settings = *found->second;
    if (name.endsWith(QLatin1String("_TimerIdle"))) {
        if (settings.IdleTime < IdleLimit) {
            ++settings.IdleTime;
            if (settings.IdleTime == IdleLimit - NoticeAhead)
                showIdleNotice(key);
        } else {
            timer->stop();
            settings.ReadStatus = 0;
        }
        if (activeSheet() && key == activeSheet()->objectName())
            showIdleClock();
    } else if (settings.CheckingTime < ReportPeriod) {
        ++settings.CheckingTime;
    } else {
        settings.CheckingTime = 0;
        timer->stop();
        startReadStatusReport(key, settings);
    }
}

// The status is taken when the report starts, so the pool thread reads nothing the UI thread owns.
void TReaderController::startReadStatusReport(const QString &key, TReaderSettings &settings) {
    const std::string idBaca = settings.IdBaca;
    const int status = settings.ReadStatus;
    TRuvasaLib &client = lib;
    auto task = std::make_shared<const BackgroundTask *>(nullptr);
    auto reply = std::make_shared<JsonPtr>();
    settings.TimerTask = BackgroundTask::start(
        QStringLiteral("Update"), this,
        [&client, idBaca, status, reply](TaskContext &) {
            *reply = client.UpdateReadStatusRequest(idBaca, status);
        },
        [this, key, task, status, reply] { UpdateReadStatusTerminated(key, *task, status, *reply); });
    *task = settings.TimerTask.get();
}

// A report whose book has gone back in the meantime (its page may even hold another book now) finds no
// record waiting for it and changes nothing. The book goes back by itself only once the service has
// taken the status "0": until then the loan is open there, so its page stays, and the cycle tries again.
void TReaderController::UpdateReadStatusTerminated(const QString &key, const BackgroundTask *task,
                                                   int sentStatus, const JsonPtr &reply) {
    try {
        auto found = readerState.find(key);
        if (found == readerState.end() || found->second->TimerTask.get() != task)
            return;
        TReaderSettings &settings = *found->second;
        settings.TimerTask.reset();
        if (settings.Returning)
            return; // the member's return, on its way, decides what becomes of the page
        const bool loanEnded =
            sentStatus == 0 && (replyText(reply, "code") == "200" || loanNoLongerHeld(reply));
        if (settings.ReadStatus != 0 || !loanEnded) {
            if (settings.TimerChecking)
                settings.TimerChecking->start();
            if (sentStatus == 0 && !loanEnded)
                idleReturnFailed(settings, reply);
            return;
        }
        automaticReturn(key);
    } catch (const std::exception &error) {
        showError(QStringLiteral("Error Exception #1578 ") + QString::fromUtf8(error.what()));
    }
}

// The loan already ended with the status "0": no return report, and the documents are discarded.
void TReaderController::automaticReturn(const QString &key) {
    const int slot = slotNamed(key);
    if (slot < 0)
        return;
    stopTimers(*readerState.at(key));
    freeSlot(slot);
    showInformation(
        QStringLiteral("Buku otomatis kembali ke rak , karena telah mencapai waktu idle selama 30-menit"));
}

void TReaderController::idleReturnFailed(TReaderSettings &settings, const JsonPtr &reply) {
    if (settings.IdleReturnFailureShown)
        return;
    settings.IdleReturnFailureShown = true;
    showReturnFailure(reply);
}

void TReaderController::showIdleClock() {
    const TReaderSettings *settings = activeSettings();
    if (!settings)
        return;
    panel.lblIdleClock->setText(
        settings->ReadStatus == 0
            ? QStringLiteral("Waktu idle habis, buku segera kembali ke rak")
            : QStringLiteral("Kembali otomatis ke rak dalam %1 menit").arg(minutesLeft(settings->IdleTime)));
}

void TReaderController::showIdleNotice(const QString &key) {
    const int slot = slotNamed(key);
    const TDetailBook *book = bookOfTab(slot < 0 ? nullptr : panel.sheet(slot));
    if (!book)
        return;
    idleNoticeKey = key;
    panel.lblIdleNotice->setText(
        QStringLiteral("Buku \"%1\" akan otomatis kembali ke rak dalam %2 menit, gerakkan penunjuk di atas "
                       "halamannya agar tetap dipinjam")
            .arg(QString::fromStdString(book->judul))
            .arg(NoticeAhead / 60));
    panel.lblIdleNotice->show();
}

void TReaderController::hideIdleNotice(const QString &key) {
    if (key != idleNoticeKey)
        return;
    idleNoticeKey.clear();
    panel.lblIdleNotice->hide();
}

void TReaderController::stopTimers(TReaderSettings &settings) {
    if (settings.TimerChecking)
        settings.TimerChecking->stop();
    if (settings.TimerIdle)
        settings.TimerIdle->stop();
}
