// The embedded engine's cost for large batches: one batch of many statements and one
// statement with a long IN list, read from a JSON array and (with one item the array cannot
// carry) written out. All must grow with the work (Google Benchmark fits the complexity:
// expect O(N)). Peak memory of one size: run it alone under /usr/bin/time -v, e.g.
// --benchmark_filter='BM_LongInList/400000'.

#include "data/backend/Backend.h"
#include "data/embedded/EmbeddedBackend.h"

#include <benchmark/benchmark.h>
#include <QStringList>

namespace {

std::unique_ptr<md::data::Session> database() {
    auto s = md::embedded::openMemorySession(QStringLiteral("BENCH"));
    (void)s->execute(QStringLiteral("CREATE TABLE T (Id int NOT NULL PRIMARY KEY)"), {});
    (void)s->execute(QStringLiteral("INSERT INTO T (Id) VALUES (1)"), {});
    return s;
}

// Runs a batch and reads every result to its end.
void runAll(md::data::Session& s, const QString& batch) {
    auto rs = s.execute(batch, {});
    std::vector<QVariant> row;
    do {
        while (rs->fetch(row)) {
        }
    } while (rs->nextResult());
}

void BM_ManySelectsInOneBatch(benchmark::State& state) {
    auto s = database();
    QStringList statements;
    for (int i = 0; i < state.range(0); ++i)
        statements << QStringLiteral("SELECT Id + %1 FROM T").arg(i);
    const QString batch = statements.join(u'\n');
    for (auto _ : state)
        runAll(*s, batch);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ManySelectsInOneBatch)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(40000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// SELECT COUNT(*) ... IN (N integers), the last item `last` when given.
void longInList(benchmark::State& state, const QString& last) {
    auto s = database();
    QStringList items;
    for (int i = 0; i < state.range(0); ++i)
        items << QString::number(1000000 + i);
    if (!last.isEmpty())
        items.back() = last;
    const QString batch =
        QStringLiteral("SELECT COUNT(*) FROM T WHERE Id IN (") + items.join(u',') + u')';
    for (auto _ : state)
        runAll(*s, batch);
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0));
    state.SetBytesProcessed(int64_t(state.iterations()) * batch.size());
}

void BM_LongInList(benchmark::State& state) {
    longInList(state, QString());
}
BENCHMARK(BM_LongInList)
    ->Arg(25000)
    ->Arg(100000)
    ->Arg(400000)
    ->Arg(1600000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// A float written with an exponent is not carried by the array: the list is written out.
void BM_LongInListWrittenOut(benchmark::State& state) {
    longInList(state, QStringLiteral("1e9"));
}
BENCHMARK(BM_LongInListWrittenOut)
    ->Arg(25000)
    ->Arg(100000)
    ->Arg(400000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace

BENCHMARK_MAIN();
