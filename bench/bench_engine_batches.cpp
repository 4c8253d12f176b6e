// The embedded engine's cost for large batches: one batch of many statements and one
// statement with a long IN list. Both must grow with the work (Google Benchmark fits the
// complexity: expect O(N)).

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
    ->RangeMultiplier(4)
    ->Range(2500, 160000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

void BM_LongInList(benchmark::State& state) {
    auto s = database();
    QStringList items;
    for (int i = 0; i < state.range(0); ++i)
        items << QString::number(1000000 + i);
    const QString batch =
        QStringLiteral("SELECT COUNT(*) FROM T WHERE Id IN (") + items.join(u',') + u')';
    for (auto _ : state)
        runAll(*s, batch);
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(int64_t(state.iterations()) * batch.size());
}
BENCHMARK(BM_LongInList)
    ->RangeMultiplier(4)
    ->Range(25000, 1600000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace

BENCHMARK_MAIN();
