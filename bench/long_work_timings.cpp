// How long the work that holds the window takes on one registration, in the main window offscreen:
// the input check list, the export of the submission file (the whole command with its checks, and
// the writing alone) and the import of that file. The registration is opened from the list, given
// five photos as large as the photo rules allow and saved first. Prints "name value" lines
// (milliseconds, the median of ROUNDS runs).
//
//   QT_QPA_PLATFORM=offscreen build/bench/long_work_timings HOME [ROW] [ROUNDS]
//
// HOME is a program folder from make_bench_data (--at-limits for a registration at the row limits).
#include "WindowBench.h"
#include "YesInteraction.h"
#include "app/EntryParts.h"
#include "app/MainWindow.h"
#include "app/PhotoSlots.h"
#include "store/DataModule.h"
#include "store/Table.h"
#include "submission/SubmissionExport.h"
#include "submission/SubmissionImport.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// A photograph-like JPEG 600 pixels wide (the widest the rules take), as close below 185,000 bytes
// (the largest they take) as its quality allows.
QByteArray largestAllowedPhoto(int seed)
{
    QImage picture(600, 450, QImage::Format_RGB32);
    QRandomGenerator random{quint32(seed)};
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const int noise = int(random.bounded(60));
            picture.setPixel(x, y, qRgb((x / 3 + noise) % 256, (y / 2 + noise) % 256, (x + y + seed * 40) % 256));
        }
    QByteArray best;
    for (int quality = 95; quality >= 10 && best.isEmpty(); quality -= 5) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpg");
        writer.setQuality(quality);
        writer.write(picture);
        if (buffer.data().size() < 185000)
            best = buffer.data();
    }
    return best;
}

// Replaces the registration's photo rows with five photos of the largest allowed size.
void giveLargePhotos(app::MainWindow& window, const QString& regNo)
{
    store::Table* images = window.dm().table(QStringLiteral("NT_TBL_INFO_IMAGES"));
    while (!images->isEmpty()) {
        images->first();
        images->remove();
    }
    const QStringList letters = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("S"), QStringLiteral("T"), QStringLiteral("G")};
    for (int i = 0; i < letters.size(); ++i) {
        const QString& letter = letters.at(i);
        const QString stored = regNo + letter + QStringLiteral(".jpg");
        QFile file(window.dm().folder().path(QStringLiteral("Images\\") + stored));
        QDir().mkpath(QFileInfo(file.fileName()).path());
        if (!file.open(QIODevice::WriteOnly) || file.write(largestAllowedPhoto(i)) <= 0)
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        file.close();
        store::Table* view = window.dm().table(QStringLiteral("NT_TBL_INFO_IMAGES%1").arg(app::parts::photoSlotNumber(letter)));
        view->append();
        view->field(QStringLiteral("REG_NO")).setString(regNo);
        view->field(QStringLiteral("IMAGES_TYPE")).setString(letter);
        view->field(QStringLiteral("IMAGES_FILE")).setString(stored);
        view->field(QStringLiteral("IMAGES_ORIGINAL")).setString(letter + QStringLiteral(".jpg"));
        view->post();
        window.photoSlots().SetPhotoSlotControls(letter);
    }
}

double medianMs(int rounds, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int r = 0; r < rounds; ++r) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
        QCoreApplication::processEvents();
    }
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

} // namespace

int main(int argc, char** argv)
{
    benchdata::prepareOffscreenWindow();
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: long_work_timings HOME [ROW] [ROUNDS]\n");
        return 2;
    }
    const QString home = QString::fromLocal8Bit(argv[1]);
    const int row = argc > 2 ? std::atoi(argv[2]) : 0;
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    benchdata::YesInteraction interaction;
    UserInteraction::setCurrent(&interaction);

    app::MainWindow window(home);
    if (!window.start())
        return 1;
    window.show();
    QCoreApplication::processEvents();
    benchdata::openFromList(window, row);
    store::Table* main = window.dm().table(QStringLiteral("NT_TBL_MAIN"));
    const QString regNo = main->field(QStringLiteral("REG_NO")).asString().trimmed();
    giveLargePhotos(window, regNo);
    window.cycle().save();
    QCoreApplication::processEvents();

    std::printf("check_list_ms %.1f\n", medianMs(rounds, [&] { (void)window.inputProblems(); }));
    std::printf("check_list_problems %lld\n", qint64(window.inputProblems().size()));

    window.cycle().backToList();
    main->locate(QStringLiteral("REG_NO"), regNo);
    QTemporaryDir out;
    const QString file = out.filePath(QStringLiteral("submission.lzh"));
    submission::SubmissionExport exporter(window.dm(), interaction);
    bool written = true;
    std::printf("export_command_ms %.1f\n", medianMs(rounds, [&] {
                    written = exporter.exportSubmissionFile(file) == submission::SubmissionExport::Outcome::Written && written;
                }));
    std::printf("export_write_ms %.1f\n", medianMs(rounds, [&] {
                    QString error;
                    written = exporter.WriteSubmissionFile(regNo, file, &error) && written;
                }));
    std::printf("export_file_bytes %lld\n", qint64(QFileInfo(file).size()));
    if (!written) {
        std::fprintf(stderr, "the export failed\n");
        return 1;
    }

    submission::SubmissionImport importer(window.dm(), interaction);
    bool imported = true;
    std::printf("import_ms %.1f\n", medianMs(rounds, [&] {
                    imported = importer.importSubmissionFile(file) == submission::SubmissionImport::Outcome::Imported && imported;
                }));
    std::printf("registrations_after %d\n", main->recordCount());
    UserInteraction::setCurrent(nullptr);
    return imported ? 0 : 1;
}
