// Data-layer benchmarks: the cost of the data API over the raw engine, and the time to the first
// rows of a large result. Ratios against the raw sqlite3 C API on the same file keep the figure
// meaningful on a noisy machine.

#include "data/Connection.h"
#include "data/Query.h"
#include "data/embedded/EngineConventions.h"
#include "data/embedded/tsql/DmlTranslator.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace {

using md::data::Connection;
using md::data::Query;

QString s(const char* t) {
    return QString::fromUtf8(t);
}

const QString kSearch =
    s("SELECT Id, Code, Name FROM Product WHERE Name LIKE :Pattern ORDER BY Code");
const QString kPattern = s("%7%");

struct Fixture {
    QTemporaryDir dir;
    std::unique_ptr<Connection> db;

    QString server() const { return s("sqlite:") + dir.path(); }

    std::unique_ptr<Connection> connect(const QString& database) const {
        auto c = std::make_unique<Connection>(s("BENCH"));
        c->params() = {s("DATABASE NAME=") + database, s("SERVER NAME=") + server()};
        return c;
    }

    void create(const QString& database, const QString& table, int rows) {
        auto master = connect(s("master"));
        Query(master.get(), {s("CREATE DATABASE ") + database}).execSql();
        db = connect(database);
        Query(db.get(), {s("CREATE TABLE ") + table +
                         s(" (Id int NOT NULL PRIMARY KEY, Code varchar(20) NOT NULL, "
                           "Name varchar(60) NULL)")})
            .execSql();
        Query(db.get(), {s("CREATE INDEX IX_") + table + s("_Code ON ") + table + s(" (Code)")})
            .execSql();
        Query ins(db.get(),
                  {s("INSERT INTO ") + table + s(" (Id, Code, Name) VALUES (:Id, :Code, :Name)")});
        md::data::TransactionGuard tx(*db);
        for (int i = 1; i <= rows; ++i) {
            ins.paramByName(s("Id")).setAsInteger(i);
            ins.paramByName(s("Code")).setAsString(
                QStringLiteral("P%1").arg((qint64(i) * 7919) % rows, 8, 10, QLatin1Char('0')));
            ins.paramByName(s("Name")).setAsString(QStringLiteral("สินค้าทดสอบ %1").arg(i));
            ins.execSql();
        }
        tx.commit();
    }

    QString file(const QString& database) const {
        const QStringList files = QDir(dir.path()).entryList(QDir::Files);
        for (const QString& f : files) {
            if (f.startsWith(database, Qt::CaseInsensitive) && !f.endsWith(s("-wal")) &&
                !f.endsWith(s("-shm"))) {
                return dir.filePath(f);
            }
        }
        return {};
    }
};

Fixture& searchFixture() {
    static Fixture f = [] {
        Fixture x;
        x.create(s("SEARCH"), s("Product"), 200000);
        return x;
    }();
    return f;
}

qint64 searchThroughDataLayer(Connection& db) {
    Query q(&db, {kSearch});
    q.paramByName(s("Pattern")).setAsString(kPattern);
    q.setUniDirectional(true);
    q.open();
    qint64 n = 0;
    while (!q.eof()) {
        benchmark::DoNotOptimize(q.field(1).value());
        ++n;
        q.next();
    }
    return n;
}

qint64 searchThroughSqlite(sqlite3* db) {
    sqlite3_stmt* st = nullptr;
    const QByteArray sql = QString(kSearch).replace(s(":Pattern"), s("?")).toUtf8();
    sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr);
    const QByteArray pattern = kPattern.toUtf8();
    sqlite3_bind_text(st, 1, pattern.constData(), -1, SQLITE_TRANSIENT);
    qint64 n = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        benchmark::DoNotOptimize(sqlite3_column_int64(st, 0));
        benchmark::DoNotOptimize(sqlite3_column_text(st, 1));
        benchmark::DoNotOptimize(sqlite3_column_text(st, 2));
        ++n;
    }
    sqlite3_finalize(st);
    return n;
}

// The raw side reads the file as the engine's handles do (page cache, no memory map), so that
// the ratio is the data layer's own cost; `tuned` false leaves SQLite's defaults.
sqlite3* openRaw(const QString& file, bool tuned = true, int flags = SQLITE_OPEN_READONLY) {
    sqlite3* raw = nullptr;
    sqlite3_open_v2(file.toUtf8().constData(), &raw, flags, nullptr);
    md::tsql::registerFunctions(raw);
    if (tuned)
        sqlite3_exec(raw, md::embedded::kReadTuning, nullptr, nullptr, nullptr);
    return raw;
}

// Milliseconds a commit of one inserted row takes on a raw handle with `synchronous`.
double rawCommitMs(const QString& file, const char* synchronous, int commits) {
    sqlite3* raw = openRaw(file, true, SQLITE_OPEN_READWRITE);
    sqlite3_exec(raw, synchronous, nullptr, nullptr, nullptr);
    // The engine's checks in the table's triggers call its functions; here every check passes.
    for (const char* function : {"md_raise", "md_dbname", "md_keytext", "md_error"}) {
        sqlite3_create_function(
            raw, function, -1, SQLITE_UTF8, nullptr,
            [](sqlite3_context* ctx, int, sqlite3_value**) { sqlite3_result_null(ctx); }, nullptr,
            nullptr);
    }
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(raw, "INSERT INTO Commits (Id) VALUES (?)", -1, &st, nullptr);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < commits; ++i) {
        sqlite3_bind_int(st, 1, i);
        if (sqlite3_step(st) != SQLITE_DONE) {
            std::printf("raw commit failed: %s\n", sqlite3_errmsg(raw));
            break;
        }
        sqlite3_reset(st);
    }
    const double ms = double(timer.nsecsElapsed()) / 1e6 / commits;
    sqlite3_finalize(st);
    sqlite3_close(raw);
    return ms;
}

void BM_LikeSearch_DataLayer(benchmark::State& state) {
    Fixture& f = searchFixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(searchThroughDataLayer(*f.db));
}
BENCHMARK(BM_LikeSearch_DataLayer)->Unit(benchmark::kMillisecond);

void BM_LikeSearch_RawSqlite(benchmark::State& state) {
    Fixture& f = searchFixture();
    sqlite3* raw = openRaw(f.file(s("SEARCH")));
    for (auto _ : state)
        benchmark::DoNotOptimize(searchThroughSqlite(raw));
    sqlite3_close(raw);
}
BENCHMARK(BM_LikeSearch_RawSqlite)->Unit(benchmark::kMillisecond);

// CPU time of the process so far (user and system), in milliseconds.
double cpuMs() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

double median(std::vector<double> t) {
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

// Wall and CPU time of one search, each the median of several runs.
struct Timing {
    double wall = 0;
    double cpu = 0;
};

// Runs the two searches in turn, `runs` times each, so that a change in the machine's load
// falls on both alike.
std::pair<Timing, Timing> alternately(int runs, const std::function<void()>& a,
                                      const std::function<void()>& b) {
    std::vector<double> wall[2];
    std::vector<double> cpu[2];
    for (int i = 0; i < runs; ++i) {
        int side = 0;
        for (const auto* fn : {&a, &b}) {
            const double cpuStart = cpuMs();
            QElapsedTimer timer;
            timer.start();
            (*fn)();
            wall[side].push_back(double(timer.nsecsElapsed()) / 1e6);
            cpu[side].push_back(cpuMs() - cpuStart);
            ++side;
        }
    }
    return {{median(wall[0]), median(cpu[0])}, {median(wall[1]), median(cpu[1])}};
}

// The median of several runs of `fn`, in milliseconds.
template <typename Fn>
double medianMs(int runs, Fn fn) {
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        fn();
        t.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return median(std::move(t));
}

long peakRssKb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

// The search through the data layer and through the raw API: their times and the ratio.
void printSearch(int runs, double& layer, double& direct) {
    Fixture& f = searchFixture();
    sqlite3* raw = openRaw(f.file(s("SEARCH")));
    const auto [layerTime, rawTime] = alternately(
        runs, [&] { searchThroughDataLayer(*f.db); }, [&] { searchThroughSqlite(raw); });
    sqlite3_close(raw);
    layer = layerTime.wall;
    direct = rawTime.wall;
    std::printf(
        "search of 200000 rows, CPU time (user and system): data layer %.1f ms, raw %.1f "
        "ms, ratio %.3f\n",
        layerTime.cpu, rawTime.cpu, layerTime.cpu / rawTime.cpu);
}

void printSummary() {
    Fixture& f = searchFixture();
    double layer = 0;
    double direct = 0;
    printSearch(15, layer, direct);
    sqlite3* plain = openRaw(f.file(s("SEARCH")), false);
    const double untuned = medianMs(7, [&] { searchThroughSqlite(plain); });
    sqlite3_close(plain);
    // What reading through a memory map would save (the engine no longer maps its files).
    sqlite3* mapped = openRaw(f.file(s("SEARCH")));
    sqlite3_exec(mapped, "PRAGMA mmap_size=268435456", nullptr, nullptr, nullptr);
    const double withMap = medianMs(7, [&] { searchThroughSqlite(mapped); });
    sqlite3_close(mapped);

    // A durable commit: one inserted row a commit through the data layer (the engine's
    // setting), and on raw handles with synchronous FULL and NORMAL.
    constexpr int kCommits = 200;
    Query(f.db.get(), {s("CREATE TABLE Commits (Id int NOT NULL)")}).execSql();
    Query commit(f.db.get(), {s("INSERT INTO Commits (Id) VALUES (:Id)")});
    QElapsedTimer commitTimer;
    commitTimer.start();
    for (int i = 0; i < kCommits; ++i) {
        commit.paramByName(s("Id")).setAsInteger(i);
        commit.execSql();
    }
    const double layerCommit = double(commitTimer.nsecsElapsed()) / 1e6 / kCommits;
    const double fullCommit = rawCommitMs(f.file(s("SEARCH")), "PRAGMA synchronous=FULL", kCommits);
    const double normalCommit =
        rawCommitMs(f.file(s("SEARCH")), "PRAGMA synchronous=NORMAL", kCommits);

    Fixture big;
    big.create(s("BIG"), s("Big"), 1000000);
    const long rssBefore = peakRssKb();
    const double first = medianMs(5, [&] {
        Query q(big.db.get(), {s("SELECT Id, Code, Name FROM Big ORDER BY Code")});
        q.open();
        for (int i = 0; i < 50 && !q.eof(); ++i)
            q.next();
    });
    const long rssAfter = peakRssKb();

    // An exact SUM over 1,000,000 decimal(18,4) values against SQLite's own sum of the same
    // column, read through the raw C API.
    Query(big.db.get(),
          {s("CREATE TABLE Ledger (Id int NOT NULL PRIMARY KEY, Amount decimal(18,4) NOT NULL)")})
        .execSql();
    Query(big.db.get(), {s("INSERT INTO Ledger (Id, Amount) SELECT Id, Id * 0.0137 FROM Big")})
        .execSql();
    QString exactSum;
    const double layerSum = medianMs(5, [&] {
        Query q(big.db.get(), {s("SELECT Sum(Amount) AS Total FROM Ledger")});
        q.open();
        exactSum = q.field(0).asString();
    });
    sqlite3* rawBig = openRaw(big.file(s("BIG")));
    double rawTotal = 0;
    const double rawSum = medianMs(5, [&] {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(rawBig, "SELECT sum(Amount) FROM Ledger", -1, &st, nullptr);
        if (sqlite3_step(st) == SQLITE_ROW)
            rawTotal = sqlite3_column_double(st, 0);
        sqlite3_finalize(st);
    });
    sqlite3_close(rawBig);

    std::printf(
        "search of 200000 rows: data layer %.1f ms, raw %.1f ms, raw with SQLite's "
        "default page cache and no memory map %.1f ms\n",
        layer, direct, untuned);
    std::printf("overhead ratio %.3f\n", layer / direct);
    std::printf("raw search through a 256 MiB memory map %.1f ms (no map: %.1f ms)\n", withMap,
                direct);
    std::printf(
        "commit of one row: data layer %.3f ms (synchronous FULL), raw FULL %.3f ms, raw "
        "NORMAL %.3f ms: durability costs %.3f ms a commit\n",
        layerCommit, fullCommit, normalCommit, fullCommit - normalCommit);
    std::printf("first rows of 1000000 in %.2f ms\n", first);
    std::printf("peak memory %ld KiB (grew by %ld KiB while reading the first rows)\n", rssAfter,
                rssAfter - rssBefore);
    std::printf(
        "decimal SUM of 1000000 rows: data layer %.1f ms (%s), raw sqlite3 sum %.1f ms "
        "(%.4f as a double), ratio %.3f\n",
        layerSum, exactSum.toUtf8().constData(), rawSum, rawTotal, layerSum / rawSum);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // --search-only: the search's times and ratio alone, measured more often.
    if (QCoreApplication::arguments().contains(s("--search-only"))) {
        double layer = 0;
        double direct = 0;
        printSearch(31, layer, direct);
        std::printf("search of 200000 rows: data layer %.1f ms, raw %.1f ms\n", layer, direct);
        std::printf("overhead ratio %.3f\n", layer / direct);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    return 0;
}
