// Load and save speed of the binary tree document, next to a plain memcpy of
// the same byte count so the figures read as a ratio on any machine: a
// document of 100,000 small value nodes, and one of 64 MB in 131,072 small
// binary nodes.

#include "skin/base/uBinaryTreeDoc.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <span>
#include <vector>

namespace {

constexpr int kSmallNodeGroups = 1000;
constexpr int kSmallNodesPerGroup = 99;
// 64 MB in 131,072 binary nodes of 512 bytes, in 2,048 directories of 64:
// the shape of a large image list, whose cost lies in its many nodes.
constexpr int kLargeGroups = 2048;
constexpr int kLargeNodesPerGroup = 64;
constexpr qsizetype kLargeNodeBytes = 512;

// 100,000 nodes: 1,000 directories of 99 small value nodes, shaped like stored parameters.
const TBTDOC20& SmallNodeDocument() {
  static const std::unique_ptr<TBTDOC20> doc = [] {
    auto d = std::make_unique<TBTDOC20>();
    for (int g = 0; g < kSmallNodeGroups; ++g) {
      TBTNode20* group = d->TopNode()->AddChildNode_Class(QStringLiteral("Param%1").arg(g), QStringLiteral("参数"),
                                                          QStringLiteral("TDrawRectParam"));
      for (int i = 0; i < kSmallNodesPerGroup; ++i) {
        switch (i % 3) {
          case 0: group->AddChildNode_Int32(QStringLiteral("Left"), {}, i); break;
          case 1: group->AddChildNode_Bool32(QStringLiteral("IsFill"), {}, true); break;
          default: group->AddChildNode_WideString(QStringLiteral("Name"), QStringLiteral("名称"), QStringLiteral("n")); break;
        }
      }
    }
    return d;
  }();
  return *doc;
}

constexpr std::int64_t kSmallNodeCount = 1 + kSmallNodeGroups * (1 + kSmallNodesPerGroup);

const TBTDOC20& LargeDocument() {
  static const std::unique_ptr<TBTDOC20> doc = [] {
    auto d = std::make_unique<TBTDOC20>();
    QByteArray picture(kLargeNodeBytes, Qt::Uninitialized);
    for (qsizetype i = 0; i < picture.size(); ++i) picture[i] = static_cast<char>(i * 31);
    for (int g = 0; g < kLargeGroups; ++g) {
      TBTNode20* group = d->TopNode()->AddChildNode_Class(QStringLiteral("Picture%1").arg(g), {},
                                                          QStringLiteral("TSkinPicture"));
      for (int i = 0; i < kLargeNodesPerGroup; ++i) group->AddChildNode_Binary(QStringLiteral("Data"), {}, picture);
    }
    return d;
  }();
  return *doc;
}

constexpr std::int64_t kLargeNodeCount = 1 + kLargeGroups * (1 + kLargeNodesPerGroup);

std::span<std::byte> Writable(std::vector<std::byte>& ABuffer) { return {ABuffer.data(), ABuffer.size()}; }

void SaveDocument(benchmark::State& AState, const TBTDOC20& ADoc, std::int64_t ANodes) {
  std::vector<std::byte> buffer(ADoc.DocBufSize());
  for (auto _ : AState) {
    benchmark::DoNotOptimize(ADoc.Save(Writable(buffer)));
    benchmark::ClobberMemory();
  }
  AState.SetBytesProcessed(AState.iterations() * static_cast<std::int64_t>(buffer.size()));
  AState.SetItemsProcessed(AState.iterations() * ANodes);
}

void LoadDocument(benchmark::State& AState, const TBTDOC20& ADoc, std::int64_t ANodes) {
  const QByteArray stored = ADoc.Save();
  TBTDOC20 target;
  for (auto _ : AState) {
    target.Load(stored);
    benchmark::DoNotOptimize(target.TopNode());
  }
  AState.SetBytesProcessed(AState.iterations() * stored.size());
  AState.SetItemsProcessed(AState.iterations() * ANodes);
}

void Memcpy(benchmark::State& AState, std::size_t ASize) {
  std::vector<std::byte> source(ASize, std::byte{1});
  std::vector<std::byte> dest(ASize);
  for (auto _ : AState) {
    std::memcpy(dest.data(), source.data(), ASize);
    benchmark::ClobberMemory();
  }
  AState.SetBytesProcessed(AState.iterations() * static_cast<std::int64_t>(ASize));
}

void BM_SmallNodes_Save(benchmark::State& AState) { SaveDocument(AState, SmallNodeDocument(), kSmallNodeCount); }
void BM_SmallNodes_Load(benchmark::State& AState) { LoadDocument(AState, SmallNodeDocument(), kSmallNodeCount); }
void BM_SmallNodes_Memcpy(benchmark::State& AState) { Memcpy(AState, SmallNodeDocument().DocBufSize()); }
void BM_Large64MB_Save(benchmark::State& AState) { SaveDocument(AState, LargeDocument(), kLargeNodeCount); }
void BM_Large64MB_Load(benchmark::State& AState) { LoadDocument(AState, LargeDocument(), kLargeNodeCount); }
void BM_Large64MB_Memcpy(benchmark::State& AState) { Memcpy(AState, LargeDocument().DocBufSize()); }

}  // namespace

BENCHMARK(BM_SmallNodes_Save)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SmallNodes_Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SmallNodes_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Large64MB_Save)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Large64MB_Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Large64MB_Memcpy)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
