// Packing and extracting LZH archives as whole processes, side by side with the independent tools:
// vordell-cli against jlha for packing, and against lhasa, 7-Zip and bsdtar for extracting. Each file
// of the data folder (LZH_BENCH_DATA, prepared by bench/lzh_bench.sh) is packed alone; the archives
// we write are the input of every reader. Counters: packed size and size relative to the original.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

QString cliPath()
{
    const QByteArray fromEnvironment = qgetenv("VORDELL_CLI");
    if (!fromEnvironment.isEmpty())
        return QString::fromLocal8Bit(fromEnvironment);
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../VORDELL/vordell-cli");
}

bool run(const QString& program, const QStringList& arguments, const QString& workingFolder = QString())
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    if (!workingFolder.isEmpty())
        process.setWorkingDirectory(workingFolder);
    process.start(program, arguments);
    return process.waitForFinished(600000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

struct Packer
{
    const char* name;
    // Arguments to pack `file` (a bare name in the working folder) into `archive`.
    QStringList (*arguments)(const QString& archive, const QString& file);
    QString program;
};

struct Reader
{
    const char* name;
    QStringList (*arguments)(const QString& archive, const QString& folder);
    QString program;
};

void packFile(benchmark::State& state, Packer packer, QString file)
{
    QTemporaryDir work;
    const QString archive = work.filePath(QStringLiteral("out.lzh"));
    const QFileInfo info(file);
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(archive);
        state.ResumeTiming();
        if (!run(packer.program, packer.arguments(archive, info.fileName()), info.absolutePath()))
            state.SkipWithError("packing failed");
    }
    const double packed = double(QFileInfo(archive).size());
    state.counters["packed_bytes"] = packed;
    state.counters["packed_ratio"] = packed / double(std::max<qint64>(1, info.size()));
    state.SetBytesProcessed(int64_t(state.iterations()) * info.size());
}

void extractArchive(benchmark::State& state, Reader reader, QString archive, qint64 originalSize)
{
    QTemporaryDir work;
    const QString folder = work.filePath(QStringLiteral("x"));
    for (auto _ : state) {
        state.PauseTiming();
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        state.ResumeTiming();
        if (!run(reader.program, reader.arguments(archive, folder), folder))
            state.SkipWithError("extracting failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * originalSize);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString data = QString::fromLocal8Bit(qgetenv("LZH_BENCH_DATA"));
    const QFileInfoList files = QDir(data).entryInfoList(QDir::Files, QDir::Name);
    if (data.isEmpty() || files.isEmpty()) {
        std::fprintf(stderr, "LZH_BENCH_DATA must name a folder of files to pack (see bench/lzh_bench.sh)\n");
        return 2;
    }
    const QString cli = cliPath();
    const QList<Packer> packers = {
        {"vordell", [](const QString& a, const QString& f) { return QStringList{"lzh", "pack", a, f}; }, cli},
        {"jlha", [](const QString& a, const QString& f) { return QStringList{"aq", a, f}; }, QStandardPaths::findExecutable("jlha")},
    };
    const QList<Reader> readers = {
        {"vordell", [](const QString& a, const QString& d) { return QStringList{"lzh", "extract", a, d}; }, cli},
        {"lhasa", [](const QString& a, const QString& d) { return QStringList{"xqw=" + d, a}; }, QStandardPaths::findExecutable("lhasa")},
        {"7zz", [](const QString& a, const QString& d) { return QStringList{"x", "-bd", "-y", "-o" + d, a}; }, QStandardPaths::findExecutable("7zz")},
        {"bsdtar", [](const QString& a, const QString& d) { return QStringList{"-xf", a, "-C", d}; }, QStandardPaths::findExecutable("bsdtar")},
    };

    QTemporaryDir archives;
    for (const QFileInfo& file : files) {
        const std::string name = file.fileName().toStdString();
        for (const Packer& packer : packers) {
            benchmark::RegisterBenchmark(("pack/" + name + "/" + packer.name).c_str(), packFile, packer, file.absoluteFilePath())
                ->UseRealTime()
                ->Unit(benchmark::kMillisecond);
        }
        const QString archive = archives.filePath(file.fileName() + QStringLiteral(".lzh"));
        if (!run(cli, {"lzh", "pack", archive, file.fileName()}, file.absolutePath())) {
            std::fprintf(stderr, "cannot pack %s with %s\n", name.c_str(), qPrintable(cli));
            return 1;
        }
        for (const Reader& reader : readers) {
            benchmark::RegisterBenchmark(("extract/" + name + "/" + reader.name).c_str(), extractArchive, reader, archive, file.size())
                ->UseRealTime()
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
