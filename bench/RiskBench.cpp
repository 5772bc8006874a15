// Time and memory of the diagram build for synthetic objects of growing size, on an embedded database on disk.
// Prints one line per size, "scenarios=N seconds=S peak_mb=M" (S: median over several runs of the whole build of
// all kinds, reading included; M: peak resident memory during those runs), then "naive_ratio=R": the build with
// every statement issued one by one against the batched build, at 1000 scenarios.

#include "BenchData.h"
#include "core/Database.h"
#include "core/Formats.h"
#include "core/ProgramFolder.h"
#include "core/Shared.h"
#include "risk/Build.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

using namespace zarnel;
using bench::AddObject;
using bench::PeakMegabytes;
using bench::ResetPeakMemory;

namespace {

const std::array<bool, 4> AllGrids{true, true, true, true};

double BuildSeconds(qint16 id, ReadMode mode)
{
    QElapsedTimer timer;
    timer.start();
    Connection c;
    const BuildResult r = BuildAll(c, id, AllGrids, 250, mode);
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (!r.ok) {
        std::fprintf(stderr, "build failed: %s\n", qPrintable(r.error.text));
        std::exit(1);
    }
    return seconds;
}

double Median(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// The statement-by-statement build, timed once (it is slow), checked against the batched one.
double NaiveSeconds(qint16 id)
{
    Connection c;
    const BuildResult a = BuildAll(c, id, AllGrids, 250, ReadMode::Batched);
    QElapsedTimer timer;
    timer.start();
    const BuildResult b = BuildAll(c, id, AllGrids, 250, ReadMode::StatementByStatement);
    const double seconds = timer.nsecsElapsed() / 1e9;
    for (int k = 0; k < KindCount; ++k) {
        const KindResult &x = a.kinds[k], &y = b.kinds[k];
        if (!(x.dist == y.dist && x.table == y.table && x.stepPlan == y.stepPlan && x.polygonPlan == y.polygonPlan &&
              x.collectiveText == y.collectiveText && x.individualText == y.individualText))
            std::fprintf(stderr, "warning: the two readings differ for kind %d\n", k);
    }
    return seconds;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    SetRussianLocale();
    // On disk, beside the build directory's usual temporary files, not in memory.
    QTemporaryDir home(QStringLiteral("/tmp/zarnel-bench-XXXXXX"));
    SetProgramFolder(home.path());
    ConnectionString = DefaultConnectionString();

    const int sizes[] = {10, 100, 1000, 5000};
    double batchedAt1000 = 0;
    qint16 id = 0;
    for (int n : sizes) {
        AddObject(++id, n);
        BuildSeconds(id, ReadMode::Batched); // warm the database file into the cache
        ResetPeakMemory();
        QVector<double> runs;
        const int count = n >= 5000 ? 5 : 7;
        for (int i = 0; i < count; ++i)
            runs << BuildSeconds(id, ReadMode::Batched);
        const double seconds = Median(runs);
        std::printf("scenarios=%d seconds=%.4f peak_mb=%.1f\n", n, seconds, PeakMegabytes());
        std::fflush(stdout);
        if (n == 1000)
            batchedAt1000 = seconds;
    }

    // The statement-by-statement build takes minutes; "--no-naive" leaves it out while profiling.
    if (app.arguments().contains(QStringLiteral("--no-naive")))
        return 0;
    const qint16 at1000 = 3;
    const double naive = NaiveSeconds(at1000);
    std::printf("naive_ratio=%.1f\n", naive / batchedAt1000);
    return 0;
}
