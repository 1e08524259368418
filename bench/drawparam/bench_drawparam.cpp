// What a paint asks of a rectangle parameter: the effect in force, the
// drawing rectangle, the alpha and the four resolved values. The path must
// not allocate, so this program counts every allocation it makes.

#include "bench/support/AllocationCounter.h"
#include "skin/base/uDrawRectParam.h"

#include <benchmark/benchmark.h>

namespace {

using DPS = TDPEffectState;
using ET = TDRPEffectType;

// A button background as the setup window configures one: a percent
// sub-rectangle, hover and pushed effects that change colours, width and offset.
void Configure(TDrawRectParam& AParam) {
  AParam.SetIsFill(true);
  AParam.FillDrawColor()->SetColor(0xFF0092CAu);
  AParam.BorderDrawColor()->SetColor(0xFF0090C9u);
  AParam.SetBorderWidth(1);
  AParam.DrawRectSetting()->SetMargins(5, 5, 5, 5);
  AParam.DrawRectSetting()->SetEnabled(true);
  auto& effects = *AParam.DrawEffectSetting();
  effects.MouseOverEffect()->SetEffectTypes({ET::drpetFillColorChange, ET::drpetBorderColorChange});
  effects.MouseOverEffect()->FillDrawColor()->SetColor(0xFF0089BFu);
  effects.PushedEffect()->SetEffectTypes({ET::drpetFillColorChange, ET::drpetBorderWidthChange});
  effects.PushedEffect()->SetCommonEffectTypes({TDPCommonEffectType::dpcetOffsetChange});
  effects.PushedEffect()->SetBorderWidth(2);
  effects.MouseDownEffect()->SetCommonEffectTypes(
      {TDPCommonEffectType::dpcetOffsetChange, TDPCommonEffectType::dpcetAlphaChange});
  effects.MouseDownEffect()->SetEffectTypes({ET::drpetIsFillChange});
}

void Resolve(benchmark::State& AState, TDPEffectStates AStates, bool AMixed) {
  TDrawRectParam param(QStringLiteral("BackColor"), QString());
  Configure(param);
  param.DrawEffectSetting()->SetIsMixedMouseDownAndPushedEffect(AMixed);
  param.SetStaticEffectStates(AStates);
  const TRectF control(0, 0, 200, 48);

  const std::size_t before = bench_support::AllocationCount();
  for (auto _ : AState) {
    benchmark::DoNotOptimize(param.CurrentEffect());
    benchmark::DoNotOptimize(param.CalcDrawRect(control));
    benchmark::DoNotOptimize(param.CurrentEffectAlpha());
    benchmark::DoNotOptimize(param.CurrentEffectIsFill());
    benchmark::DoNotOptimize(param.CurrentEffectFillDrawColor()->Color());
    benchmark::DoNotOptimize(param.CurrentEffectBorderWidth());
    benchmark::DoNotOptimize(param.CurrentEffectBorderColor()->Color());
  }
  const std::size_t allocations = bench_support::AllocationCount() - before;
  AState.counters["allocs_per_iter"] =
      benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
  if (allocations != 0) AState.SkipWithError("the resolved-value path allocated");
}

void BM_ResolveNoState(benchmark::State& AState) { Resolve(AState, {}, false); }
void BM_ResolveHoverAndPushed(benchmark::State& AState) {
  Resolve(AState, {DPS::dpstMouseOver, DPS::dpstPushed}, false);
}
void BM_ResolveMixedPushedAndDown(benchmark::State& AState) {
  Resolve(AState, {DPS::dpstMouseDown, DPS::dpstPushed}, true);
}

BENCHMARK(BM_ResolveNoState);
BENCHMARK(BM_ResolveHoverAndPushed);
BENCHMARK(BM_ResolveMixedPushedAndDown);

}  // namespace

BENCHMARK_MAIN();
