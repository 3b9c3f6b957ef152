#include "bench/BenchPages.h"

#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QWebEngineView>

void waitForLoad(QWebEngineView *view, const QString &fileName) {
    QEventLoop loop;
    QObject::connect(view, &QWebEngineView::loadFinished, &loop, [&](bool) {
        if (view->url().fileName() == fileName)
            loop.quit();
    });
    loop.exec();
}

void copyFolder(const QString &from, const QString &to) {
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + '/' + QDir(from).relativeFilePath(file);
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(file, target);
    }
}
