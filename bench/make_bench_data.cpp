// Writes a program folder of generated registrations for the benchmarks run as whole processes.
//
//   build/bench/make_bench_data DIR [--registrations=N] [--at-limits|--small-rows]
#include "BenchData.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    int registrations = 1000;
    benchdata::Shape shape = benchdata::Shape::Full;
    QString home;
    for (const QString& arg : args) {
        if (arg.startsWith(QLatin1String("--registrations=")))
            registrations = arg.mid(16).toInt();
        else if (arg == QLatin1String("--at-limits"))
            shape = benchdata::Shape::AtLimits;
        else if (arg == QLatin1String("--small-rows"))
            shape = benchdata::Shape::SmallRows;
        else
            home = arg;
    }
    if (home.isEmpty()) {
        std::fprintf(stderr, "usage: make_bench_data DIR [--registrations=N] [--at-limits|--small-rows]\n");
        return 2;
    }
    return benchdata::makeProgramFolder(home, registrations, shape) ? 0 : 1;
}
