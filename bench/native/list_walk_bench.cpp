// A walk At(0) .. At(n - 1), the way start-up and the dialog read the lists:
// with the cursor one node behind, each step should cost the same for a
// thousand values as for a million.
//
// With 310-byte records a million nodes fill a third of a gigabyte, and any
// walk through them, even a bare chase along the next pointers, waits on
// memory at every node. So the per-step figure that is held to a limit is
// taken on int values, whose nodes stay close together; the records' walk is
// reported beside the bare chase over the same nodes, which shows what the
// memory alone costs.
#include "catalogue/program_entry.h"
#include "collections/indexed_list.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <map>
#include <memory>

namespace {

// Built once per type and size and kept: building a million records takes
// longer than walking them, and the benchmark calls its function many times.
template <typename T>
IndexedList<T>& ListOf(int32_t n) {
    static std::map<int32_t, std::unique_ptr<IndexedList<T>>> lists;
    std::unique_ptr<IndexedList<T>>& list = lists[n];
    if (!list) {
        list.reset(new IndexedList<T>);
        T value;
        std::memset(&value, 0, sizeof value);
        for (int32_t i = 0; i < n; ++i) {
            if (!list->Append(value)) break;
        }
    }
    return *list;
}

template <typename T>
void WalkByPosition(benchmark::State& state) {
    const int32_t n = static_cast<int32_t>(state.range(0));
    IndexedList<T>& list = ListOf<T>(n);
    if (list.Count() != n) {
        state.SkipWithError("out of memory building the list");
        return;
    }
    for (auto _ : state) {
        for (int32_t i = 0; i < n; ++i) {
            T& value = list.At(i);
            benchmark::DoNotOptimize(&value);
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * n);
}

// The floor under any walk of the same nodes: following next and nothing else.
template <typename T>
void ChaseNextPointers(benchmark::State& state) {
    const int32_t n = static_cast<int32_t>(state.range(0));
    IndexedList<T>& list = ListOf<T>(n);
    if (list.Count() != n) {
        state.SkipWithError("out of memory building the list");
        return;
    }
    for (auto _ : state) {
        for (typename IndexedList<T>::Node* node = list.first; node; node = node->next) {
            benchmark::DoNotOptimize(node);
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * n);
}

void Sizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->Arg(1000)->Arg(1000000)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
}

}  // namespace

BENCHMARK_TEMPLATE(WalkByPosition, int)->Apply(Sizes);
BENCHMARK_TEMPLATE(WalkByPosition, ProgramEntry)->Apply(Sizes);
BENCHMARK_TEMPLATE(ChaseNextPointers, ProgramEntry)->Apply(Sizes);
