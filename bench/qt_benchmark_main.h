// The main of a benchmark of the window: Qt's application object (offscreen unless told
// otherwise) must exist before any widget, and the benchmarks run inside it.
#pragma once

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>

#define VARDELLE_QT_BENCHMARK_MAIN()                                   \
  int main(int argc, char** argv) {                                    \
    setenv("QT_QPA_PLATFORM", "offscreen", 0);                         \
    QApplication application(argc, argv);                              \
    benchmark::Initialize(&argc, argv);                                \
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;  \
    benchmark::RunSpecifiedBenchmarks();                               \
    benchmark::Shutdown();                                             \
    return 0;                                                          \
  }
