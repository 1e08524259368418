// Costs of the object list next to a plain vector doing the same work, so the
// figures read as ratios on any machine: filling and freeing an owning list,
// and one change delivered to a number of registered links.

#include "skin/base/uBaseList.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

void BM_OwningListFillAndClear(benchmark::State& AState) {
  const auto n = static_cast<int>(AState.range(0));
  for (auto _ : AState) {
    TBaseList list(TObjectOwnership::ooOwned, true);
    for (int i = 0; i < n; ++i) list.AddOwned(std::make_unique<TObject>());
    list.Clear(true, true);
    benchmark::DoNotOptimize(list.Count());
  }
  AState.SetItemsProcessed(AState.iterations() * n);
}
BENCHMARK(BM_OwningListFillAndClear)->Arg(16)->Arg(1024)->Arg(16384);

void BM_VectorFillAndClear(benchmark::State& AState) {
  const auto n = static_cast<int>(AState.range(0));
  for (auto _ : AState) {
    std::vector<std::unique_ptr<TObject>> items;
    for (int i = 0; i < n; ++i) items.push_back(std::make_unique<TObject>());
    while (!items.empty()) items.pop_back();
    benchmark::DoNotOptimize(items.size());
  }
  AState.SetItemsProcessed(AState.iterations() * n);
}
BENCHMARK(BM_VectorFillAndClear)->Arg(16)->Arg(1024)->Arg(16384);

void BM_ChangeToLinks(benchmark::State& AState) {
  const auto linkCount = static_cast<int>(AState.range(0));
  TBaseList list(TObjectOwnership::ooReference, true);
  std::vector<std::unique_ptr<TSkinObjectChangeLink>> links;
  int calls = 0;
  for (int i = 0; i < linkCount; ++i) {
    links.push_back(std::make_unique<TSkinObjectChangeLink>());
    links.back()->SetOnChange([&calls](TObject*) { ++calls; });
    list.SkinObjectChangeManager()->RegisterChanges(links.back().get());
  }
  TObject item;
  list.Add(&item);
  for (auto _ : AState) list.SetItem(0, &item);
  benchmark::DoNotOptimize(calls);
  AState.SetItemsProcessed(AState.iterations() * linkCount);
}
BENCHMARK(BM_ChangeToLinks)->Arg(1)->Arg(8)->Arg(64);

// The same handlers called straight from a vector: the floor for one change.
void BM_HandlersFromVector(benchmark::State& AState) {
  const auto linkCount = static_cast<int>(AState.range(0));
  int calls = 0;
  std::vector<TNotifyEvent> handlers(static_cast<std::size_t>(linkCount), [&calls](TObject*) { ++calls; });
  TObject item;
  for (auto _ : AState) {
    for (auto it = handlers.rbegin(); it != handlers.rend(); ++it) (*it)(&item);
  }
  benchmark::DoNotOptimize(calls);
  AState.SetItemsProcessed(AState.iterations() * linkCount);
}
BENCHMARK(BM_HandlersFromVector)->Arg(1)->Arg(8)->Arg(64);

}  // namespace

BENCHMARK_MAIN();
