// libFuzzer target for the import of a submission file, built by scripts/fuzz (clang, ASan, UBSan)
// against a copy of the program folder named by VORDELL_FUZZ_PROGRAM_DIR.
// The first input byte chooses what the rest is:
//   even: members of a submission file, each as [member byte][length: 2 bytes][bytes], packed into
//         an LZH archive by our writer, which reaches the import's handling of the tables;
//   odd:  the archive's own bytes.
// Each import must either refuse and leave the data folder, the photos and the tables exactly as
// they were, or add one complete registration (every row under a main row). A registration added
// is deleted again, so that the folder stays small.

#include "archive/LzhArchive.h"
#include "store/DataModule.h"
#include "support/OrphanRows.h"
#include "submission/SubmissionImport.h"
#include "util/UserInteraction.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

[[noreturn]] void failWith(const QString& what)
{
    std::fprintf(stderr, "import fuzz: %s\n", qPrintable(what));
    std::abort();
}

class QuietInteraction : public UserInteraction
{
public:
    Button message(Icon, const QString&, const QString&, Buttons) override { return No; }
    FileAnswer fileDialog(FileKind, const FileRequest&) override { return {}; }
    QString desktopFolder() override { return QDir::tempPath(); }
};

const char* const kMembers[] = {
    "NT_TBL_MAIN.Cds",         "NT_TBL_DETAIL.Cds",          "NT_TBL_DETAIL_FREE.Cds",     "NT_TBL_COMPANY.Cds",
    "NT_TBL_DESCRIPTION.Cds",  "NT_TBL_PICTURE.Cds",         "NT_TBL_CONST_CONDITION.Cds", "NT_TBL_COMPARE_MAIN.Cds",
    "NT_TBL_COMPARE_DETAIL.Cds", "NT_TBL_INFO_IMAGES.Cds",   "NT_TBL_EVALUATE_RESULT.Cds", "PL_TBL_PROJECT_MOC.Cds",
    "PL_TBL_PROJECT_PRIVATE.Cds", "XXK-000001A.jpg",         "XXK-000001B.gif",            "NewTech.htm",
};

struct Session
{
    QTemporaryDir dir;
    QString home;
    QuietInteraction ui;
    std::unique_ptr<store::DataModule> dm;
};

Session* session = nullptr;

bool copyTree(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + file.mid(from.size());
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (!QFile::copy(file, target))
            return false;
    }
    return true;
}

// What must not change when an import is refused: every file of the data folder and of the
// photo folder, and the rows of every registration table.
QMap<QString, QByteArray> snapshot()
{
    QMap<QString, QByteArray> state;
    for (const char* folder : {"FLATT_FILES", "Images"}) {
        const QString path = session->dm->folder().path(QLatin1String(folder));
        for (const QFileInfo& file : QDir(path).entryInfoList(QDir::Files | QDir::Hidden)) {
            QFile f(file.filePath());
            f.open(QIODevice::ReadOnly);
            state.insert(file.filePath(), QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1));
        }
    }
    for (store::Table* t : session->dm->registrationTables())
        state.insert(QStringLiteral("rows of ") + t->name(), QByteArray::number(t->allRows().size()));
    return state;
}

void checkEveryRowHasItsRegistration()
{
    if (const QStringList orphans = testsupport::rowsWithoutTheirRegistration(*session->dm); !orphans.isEmpty())
        failWith(orphans.first());
}

QByteArray archiveFromMembers(const QByteArray& bytes)
{
    QTemporaryDir members;
    QStringList files;
    qsizetype at = 0;
    while (at + 3 <= bytes.size()) {
        const int member = quint8(bytes.at(at)) % int(std::size(kMembers));
        const qsizetype length = std::min<qsizetype>((quint8(bytes.at(at + 1)) << 8) | quint8(bytes.at(at + 2)), bytes.size() - at - 3);
        const QString path = members.filePath(QLatin1String(kMembers[member]));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(bytes.constData() + at + 3, length);
        file.close();
        if (!files.contains(path))
            files.append(path);
        at += 3 + length;
    }
    const QString archive = members.filePath(QStringLiteral("submission.lzh"));
    if (files.isEmpty() || !lzh::packFiles(archive, files, nullptr))
        return {};
    QFile packed(archive);
    packed.open(QIODevice::ReadOnly);
    return packed.readAll();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    const QByteArray source = qgetenv("VORDELL_FUZZ_PROGRAM_DIR");
    if (source.isEmpty())
        failWith(QStringLiteral("VORDELL_FUZZ_PROGRAM_DIR names no program folder"));
    session = new Session;
    session->home = session->dir.path();
    if (!copyTree(QString::fromLocal8Bit(source), session->home))
        failWith(QStringLiteral("the program folder could not be copied"));
    QFile::remove(QDir(session->home).filePath(QStringLiteral("vordell.lock")));
    session->dm = std::make_unique<store::DataModule>(session->home, &session->ui);
    if (!session->dm->start())
        failWith(QStringLiteral("the program folder does not start: ") + session->dm->startError());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const QByteArray rest(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    const QByteArray archive = (data[0] & 1) ? rest : archiveFromMembers(rest);
    const QString path = QDir(session->dir.path()).filePath(QStringLiteral("input.lzh"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(archive) != archive.size())
            failWith(QStringLiteral("the input could not be written"));
    }
    const QMap<QString, QByteArray> before = snapshot();
    const int mainRows = int(session->dm->table(QStringLiteral("NT_TBL_MAIN"))->allRows().size());
    submission::SubmissionImport importer(*session->dm, session->ui);
    const auto outcome = importer.importSubmissionFile(path);
    if (outcome != submission::SubmissionImport::Outcome::Imported) {
        if (snapshot() != before)
            failWith(QStringLiteral("a refused import changed the folder or the tables"));
        return 0;
    }
    store::Table* main = session->dm->table(QStringLiteral("NT_TBL_MAIN"));
    if (int(main->allRows().size()) != mainRows + 1)
        failWith(QStringLiteral("an import did not add exactly one registration"));
    checkEveryRowHasItsRegistration();
    // Back to the folder as it was: the registration and its photos go again.
    const QString number = importer.importedNumber();
    if (!main->locate(QStringLiteral("REG_NO"), number))
        failWith(QStringLiteral("the imported registration cannot be found"));
    if (!session->dm->DeleteRegistration())
        failWith(QStringLiteral("the imported registration could not be deleted"));
    const QString images = session->dm->folder().path(QStringLiteral("Images"));
    for (const QString& photo : QDir(images).entryList({number + QStringLiteral("?.*")}, QDir::Files))
        QFile::remove(QDir(images).filePath(photo));
    checkEveryRowHasItsRegistration();
    return 0;
}
