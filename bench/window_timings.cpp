// The main window's timings on a program folder, offscreen: from the start of the process until
// the window is visible; opening a registration from the list (the double click, to the first
// entry page filled); saving it after one change (the post and the write of the changed tables),
// beside copying the changed table files with cp, with cp and sync, and with the least an atomic and
// durable replace of them costs in-process. Prints "name value" lines for bench/run-all.
//
//   QT_QPA_PLATFORM=offscreen build/bench/window_timings HOME [REG_ROW]
#include "WindowBench.h"
#include "YesInteraction.h"
#include "app/MainWindow.h"
#include "store/Table.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QWindow>

#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace {

QHash<QString, QDateTime> stamps(const QString& folder)
{
    QHash<QString, QDateTime> result;
    for (const QFileInfo& info : QDir(folder).entryInfoList({QStringLiteral("*.cds")}, QDir::Files))
        result.insert(info.absoluteFilePath(), info.lastModified());
    return result;
}

// The least that replacing the same files both atomically and durably costs within a process, with
// their bytes already in memory: each is written beside a copy of itself, flushed to the disk and
// renamed over the copy. A save cannot be faster than this without giving up one of the two.
double durableReplaceMs(const QStringList& files)
{
    QTemporaryDir folder;
    QList<QPair<QByteArray, QByteArray>> replacements; // target path, bytes
    for (const QString& file : files) {
        const QString copy = folder.filePath(QFileInfo(file).fileName());
        QFile::copy(file, copy);
        QFile in(file);
        in.open(QIODevice::ReadOnly);
        replacements.append({QFile::encodeName(copy), in.readAll()});
    }
    ::sync(); // the copies' own writing is not part of the replace
    QElapsedTimer timer;
    timer.start();
    for (const auto& [target, bytes] : std::as_const(replacements)) {
        const QByteArray part = target + ".part";
        const int fd = ::open(part.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0 || ::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size() || ::fsync(fd) != 0
            || ::close(fd) != 0 || ::rename(part.constData(), target.constData()) != 0)
            return -1;
    }
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    benchdata::prepareOffscreenWindow();
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: window_timings HOME [ROW]\n");
        return 2;
    }
    const QString home = QString::fromLocal8Bit(argv[1]);
    const int row = argc > 2 ? std::atoi(argv[2]) : 0;
    benchdata::YesInteraction interaction;
    UserInteraction::setCurrent(&interaction);

    app::MainWindow window(home);
    if (!window.start())
        return 1;
    window.show();
    while (!window.windowHandle() || !window.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::printf("visible_ms %lld\n", sinceStart.elapsed());
    if (window.dm().table(QStringLiteral("NT_TBL_MAIN"))->recordCount() <= row)
        return 0;

    QElapsedTimer open;
    open.start();
    benchdata::openFromList(window, row);
    std::printf("open_ms %.1f\n", open.nsecsElapsed() / 1e6);

    // A registration as the program keeps it: saved once by the program (the generated data leaves
    // computed fields and description grids in a form the window writes differently).
    window.cycle().save();
    QCoreApplication::processEvents();

    const QString data = QDir(home).filePath(QStringLiteral("FLATT_FILES"));
    const QHash<QString, QDateTime> before = stamps(data);
    auto* section = window.control<QLineEdit>(QStringLiteral("SALES_SECTION")); // the sales contact's section
    section->setText(section->text() + QStringLiteral("課"));
    QElapsedTimer save;
    save.start();
    window.cycle().save();
    QCoreApplication::processEvents();
    std::printf("save_ms %.1f\n", save.nsecsElapsed() / 1e6);

    QStringList changed;
    const QHash<QString, QDateTime> after = stamps(data);
    for (auto it = after.begin(); it != after.end(); ++it) {
        if (before.value(it.key()) != it.value())
            changed.append(it.key());
    }
    if (changed.isEmpty()) {
        std::printf("save_refused 1\n"); // a check of the save refused the registration: nothing to compare
        return 0;
    }
    QTemporaryDir copy;
    QElapsedTimer cp;
    cp.start();
    QProcess::execute(QStringLiteral("cp"), changed + QStringList{copy.path()});
    std::printf("cp_ms %.1f\n", cp.nsecsElapsed() / 1e6);
    // The same copy made to last: a save writes its files through to the disk before it puts them
    // in place, which cp never does.
    QTemporaryDir durable;
    QElapsedTimer cpSync;
    cpSync.start();
    QProcess::execute(QStringLiteral("sh"), QStringList{QStringLiteral("-c"), QStringLiteral("cp \"$@\" \"$0\" && sync -d \"$0\"/*"), durable.path()} + changed);
    std::printf("cp_sync_ms %.1f\n", cpSync.nsecsElapsed() / 1e6);
    std::printf("durable_replace_ms %.1f\n", durableReplaceMs(changed));
    std::printf("changed_tables %lld\n", qint64(changed.size()));
    UserInteraction::setCurrent(nullptr);
    return 0;
}
